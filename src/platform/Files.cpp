#include "platform/Files.h"

#include "platform/Characters.h"
#include "platform/Checkpoint.h"
#include "platform/Paths.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>

namespace platform {

namespace {

// Code points of bytes 0x80-0x9F in Windows-1252; 0 where the byte is unused.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
};

// The byte of a character in Windows-1252; -1 when the code page has none.
int byteOf(char16_t c)
{
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] != 0 && kHighControls[i] == c)
            return static_cast<int>(0x80 + i);
    }
    // Bytes the code page leaves unused read back as themselves, so every byte
    // of a file survives a round trip.
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF) || (c < 0xA0 && kHighControls[c - 0x80] == 0))
        return c;
    return -1;
}

char encodeChar(char16_t c)
{
    const int byte = byteOf(c);
    return byte < 0 ? '?' : static_cast<char>(byte);
}

// Text in which every UTF-16 unit is a character of its own: no combining
// mark and no surrogate.
bool unitByUnit(const QString& text)
{
    return std::none_of(text.begin(), text.end(), [](QChar c) { return c.isMark() || c.isSurrogate(); });
}

// The bytes of each character of `text`, composed first.
QByteArrayList encodedCharacters(const QString& text)
{
    const QString composed = text.normalized(QString::NormalizationForm_C);
    QByteArrayList characters;
    qsizetype start = 0;
    for (const qsizetype end : characterEnds(composed)) {
        const QStringView character = QStringView(composed).mid(start, end - start);
        start = end;
        if (std::all_of(character.begin(), character.end(), [](QChar c) { return byteOf(c.unicode()) >= 0; })) {
            QByteArray bytes;
            for (const QChar c : character)
                bytes.append(encodeChar(c.unicode()));
            characters << bytes; // a line end is two bytes
        } else {
            characters << QByteArray(1, '?');
        }
    }
    return characters;
}

} // namespace

QByteArray toCp1252(const QString& text)
{
    if (!unitByUnit(text))
        return encodedCharacters(text).join();
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text)
        out.append(encodeChar(c.unicode()));
    return out;
}

QString fromCp1252(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if (u >= 0x80 && u < 0xA0 && kHighControls[u - 0x80] != 0)
            out.append(QChar(kHighControls[u - 0x80]));
        else
            out.append(QChar(u));
    }
    return out;
}

bool fitsCp1252(const QString& text)
{
    const QString composed = unitByUnit(text) ? text : text.normalized(QString::NormalizationForm_C);
    return std::all_of(composed.begin(), composed.end(), [](QChar c) { return byteOf(c.unicode()) >= 0; });
}

TextEncoding encodingOf(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return TextEncoding::Utf16;
    // Bytes of nothing but NULs are no text at all.
    std::array<qsizetype, 2> nuls{};
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes.at(i) == '\0')
            ++nuls[static_cast<std::size_t>(i % 2)];
    }
    const bool evenNuls = 2 * nuls[0] > (bytes.size() + 1) / 2;
    const bool oddNuls = 2 * nuls[1] > bytes.size() / 2;
    if (bytes.size() >= 2 && evenNuls != oddNuls)
        return TextEncoding::Utf16;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return TextEncoding::Utf8;
    const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char b) { return (b & 0x80) == 0; });
    if (!ascii && bytes.isValidUtf8() && fitsCp1252(QString::fromUtf8(bytes)))
        return TextEncoding::Utf8;
    return TextEncoding::Cp1252;
}

QString writtenIn(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8:
        return QStringLiteral("está escrito en UTF-8, no en Windows-1252");
    case TextEncoding::Utf16:
        return QStringLiteral("está escrito en UTF-16, no en Windows-1252");
    case TextEncoding::Cp1252:
        break;
    }
    return {};
}

QString unpadded(const QString& field)
{
    qsizetype end = field.size();
    while (end > 0 && field.at(end - 1) == QLatin1Char(' '))
        --end;
    return field.left(end);
}

QByteArray fixedField(const QString& text, int width)
{
    QByteArray bytes;
    for (const QByteArray& character : encodedCharacters(text)) {
        if (bytes.size() + character.size() > width)
            break;
        bytes += character;
    }
    if (bytes.size() < width)
        bytes.append(QByteArray(width - bytes.size(), ' '));
    return bytes;
}

QByteArray readWholeFile(const QString& hostPath)
{
    QFile file(hostPath);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("No se puede leer el fichero %1.").arg(windowsPath(hostPath)).toStdString());
    return file.readAll();
}

bool writeWholeFile(const QString& hostPath, const QByteArray& content, FileAccess access)
{
    return writeWholeFile(
        hostPath, [&content](QIODevice& file) { return file.write(content) == content.size(); }, access);
}

bool writeWholeFile(const QString& hostPath, const std::function<bool(QIODevice&)>& write, FileAccess access)
{
    // Unbuffered: a buffered write that fails only when the buffer is
    // flushed at commit would go unnoticed and the short file replace the
    // old one.
    QSaveFile file(hostPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    // The temporary file takes the permissions before it holds anything.
    if (access == FileAccess::OwnerOnly)
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!write(file)) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    return file.commit();
}

void replaceFile(const QString& hostPath, const QByteArray& content, FileAccess access)
{
    if (!writeWholeFile(hostPath, content, access))
        throw FileError(QStringLiteral("No se puede escribir el fichero %1.").arg(windowsPath(hostPath)).toStdString());
}

bool moveFile(const QString& from, const QString& to)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return false;
    checkpoint();
    return true;
}

void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

QByteArray readRecord(const QString& hostPath, int number, int length, bool createIfMissing)
{
    if (createIfMissing && !QFileInfo::exists(hostPath))
        replaceFile(hostPath, {});
    const QByteArray all = readWholeFile(hostPath);
    QByteArray record = all.mid(static_cast<qsizetype>(number - 1) * length, length);
    if (record.size() < length)
        record.append(QByteArray(length - record.size(), ' '));
    return record;
}

void writeRecord(const QString& hostPath, int number, int length, const QByteArray& record, FileAccess access)
{
    QByteArray all = readWholeFile(hostPath);
    const qsizetype start = static_cast<qsizetype>(number - 1) * length;
    if (all.size() < start)
        all.append(QByteArray(start - all.size(), ' '));
    QByteArray fitted = record.left(length);
    if (fitted.size() < length)
        fitted.append(QByteArray(length - fitted.size(), ' '));
    all.replace(start, qMin<qsizetype>(length, all.size() - start), fitted);
    replaceFile(hostPath, all, access);
}

} // namespace platform
