#include "platform/Document.h"

#include "platform/DocumentBody.h"
#include "platform/DocumentInsertions.h"
#include "platform/Files.h"
#include "platform/Office.h"
#include "platform/Paths.h"

#include <QFile>
#include <QFileInfo>

#include <malloc.h>

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

namespace platform {

DocumentError::DocumentError(Kind kind, const QString& message)
    : std::runtime_error(message.toStdString()), kind_(kind)
{
}

namespace {

// Line breaks become "\n"; other control characters but the tab cannot be
// written in either format and are left out.
QString normalized(const QString& text)
{
    if (std::none_of(text.begin(), text.end(), [](QChar c) {
            return c.unicode() < 0x20 && c != QLatin1Char('\n') && c != QLatin1Char('\t');
        }))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r')) {
            out += QLatin1Char('\n');
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('\n') || c == QLatin1Char('\t') || c.unicode() >= 0x20) {
            out += c;
        }
    }
    return out;
}

// A document is worked on in blocks of megabytes (its bytes, its tokens,
// its parts), made anew and freed as it is filled and emptied. Such blocks
// go back to the system when freed: glibc would otherwise keep them for
// later, once it has freed one that large, and a large document would
// hold its memory twice over.
void returnLargeBlocks()
{
    static const bool set = mallopt(M_MMAP_THRESHOLD, 1 << 20) == 1;
    Q_UNUSED(set);
}

bool isOldWordFile(const QByteArray& head)
{
    return head.startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1"));
}

} // namespace

Document::Document(DocumentFormat format, QString path, std::unique_ptr<detail::DocumentBody> body)
    : format_(format), path_(std::move(path)), body_(std::move(body))
{
    for (const QString& name : body_->bookmarkNames()) {
        const auto insertion = detail::parseInsertionName(name);
        bool ok = false;
        const qint64 number = insertion ? insertion->number.toLongLong(&ok) : 0;
        if (ok)
            usedInsertions_.insert(number); // one too large to read is none we could make
    }
}

Document::Document(Document&&) noexcept = default;
Document& Document::operator=(Document&&) noexcept = default;
Document::~Document() = default;

Document Document::open(const QString& hostPath)
{
    returnLargeBlocks();
    const QString path = resolveCase(hostPath);
    if (!QFileInfo(path).isFile())
        throw DocumentError(DocumentError::Kind::Missing,
                            QStringLiteral("No se encuentra el documento %1.").arg(windowsPath(hostPath)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DocumentError(DocumentError::Kind::CannotOpen,
                            QStringLiteral("No se puede leer el documento %1.").arg(windowsPath(path)));
    const auto tooLarge = [&path] {
        return DocumentError(DocumentError::Kind::CannotOpen,
                             QStringLiteral("No se puede abrir el documento %1: es demasiado grande para ser un "
                                            "documento de contrato.")
                                 .arg(windowsPath(path)));
    };
    // A package is refused for its size as any file is.
    const auto readDocx = [&tooLarge](const QByteArray& bytes) {
        try {
            return detail::readDocx(bytes);
        } catch (const detail::TooLarge&) {
            throw tooLarge();
        }
    };
    // No contract comes near this; a larger file is not read into memory.
    constexpr qint64 kFileLimit = qint64(256) << 20;
    if (file.size() > kFileLimit)
        throw tooLarge();
    // Read into room of its size: reading to the end would take more.
    QByteArray content(file.size(), Qt::Uninitialized);
    if (file.read(content.data(), content.size()) != content.size())
        throw DocumentError(DocumentError::Kind::CannotOpen,
                            QStringLiteral("No se puede leer el documento %1.").arg(windowsPath(path)));
    file.close();

    if (content.left(64).trimmed().startsWith("{\\rtf")) {
        try {
            if (auto body = detail::readRtf(content))
                return Document(DocumentFormat::Rtf, path, std::move(body));
        } catch (const detail::TooLarge&) {
            throw tooLarge();
        }
    } else if (content.startsWith("PK")) {
        if (auto body = readDocx(content))
            return Document(DocumentFormat::Docx, path, std::move(body));
    } else if (isOldWordFile(content)) {
        try {
            content = office().convert(path, QStringLiteral("docx"));
        } catch (const OfficeError& e) {
            if (e.programMissing())
                throw DocumentError(DocumentError::Kind::NeedsConverter,
                                    QStringLiteral("El documento %1 está en el formato antiguo de Word; para leerlo "
                                                   "hace falta LibreOffice, que no está instalado.")
                                        .arg(windowsPath(path)));
            throw DocumentError(DocumentError::Kind::CannotOpen, QString::fromUtf8(e.what()));
        }
        if (auto body = readDocx(content))
            return Document(DocumentFormat::Docx, path, std::move(body));
    }
    throw DocumentError(DocumentError::Kind::CannotOpen,
                        QStringLiteral("No se puede abrir el documento %1: está dañado o no es un documento de "
                                       "texto que el programa sepa leer.")
                            .arg(windowsPath(path)));
}

bool Document::hasBookmark(const QString& name) const
{
    return body_->hasBookmark(name);
}

void Document::checkBookmark(const QString& name) const
{
    if (body_->hasEnd(name))
        return;
    if (!body_->hasBookmark(name))
        throw DocumentError(DocumentError::Kind::NoBookmark,
                            QStringLiteral("El documento %1 no tiene la marca %2.").arg(windowsPath(path_), name));
    throw DocumentError(DocumentError::Kind::NoBookmark,
                        QStringLiteral("En el documento %1 la marca %2 empieza pero no termina: hay que corregir "
                                       "el documento.")
                            .arg(windowsPath(path_), name));
}

QString Document::bookmarkText(const QString& name) const
{
    checkBookmark(name);
    return body_->bookmarkText(name);
}

void Document::insertAfter(const QString& bookmark, const QString& text)
{
    checkBookmark(bookmark);
    const QString clean = normalized(text);
    if (clean.isEmpty())
        return;
    while (usedInsertions_.count(nextInsertion_))
        ++nextInsertion_;
    body_->insert(bookmark, clean, detail::insertionName(nextInsertion_++, clean, bookmark));
}

QStringList Document::removeInsertions(const QStringList& bookmarks)
{
    std::map<QString, QString> wanted; // lower case -> as asked
    for (const QString& b : bookmarks)
        wanted.emplace(b.toLower(), b);

    const QStringList names = body_->bookmarkNames();
    QStringList ours; // the insertions at those bookmarks, taken out in one go
    for (const QString& name : names) {
        const auto insertion = detail::parseInsertionName(name);
        if (insertion && wanted.count(insertion->bookmark.toLower()))
            ours << name;
    }
    const std::vector<std::optional<QString>> taken = body_->removeInsertions(ours);

    QStringList unsure;
    auto doubt = [&unsure](const QString& bookmark) {
        if (!unsure.contains(bookmark))
            unsure << bookmark;
    };
    std::vector<std::pair<QString, QString>> removed; // bookmark as asked, text taken out
    auto next = taken.begin();
    for (const QString& name : names) {
        const auto insertion = detail::parseInsertionName(name);
        if (!insertion)
            continue;
        const QString target = insertion->bookmark.toLower();
        if (wanted.count(target)) {
            if (const std::optional<QString>& text = *next++)
                removed.emplace_back(wanted.at(target), *text);
            else
                doubt(wanted.at(target));
            continue;
        }
        // Another word processor may have renamed a bookmark after one of
        // ours ("_Tv3_..._M0115 Copy 1"), or ours itself: unless the name it
        // copies is still there, the insertion is not where it was.
        const qsizetype blank = target.indexOf(QLatin1Char(' '));
        const QString bookmark = blank > 0 ? target.left(blank) : target;
        if (wanted.count(bookmark)) {
            const QString original = name.left(name.size() - (target.size() - blank));
            if (!names.contains(original))
                doubt(wanted.at(bookmark));
        } else if (bookmark.contains(QLatin1Char('?')) || bookmark.contains(QChar::ReplacementCharacter)) {
            // A character of the name that another program could not write
            // (no word processor takes "?" in a name): it may have been one of
            // those asked for.
            doubt(insertion->bookmark);
        }
    }
    // A copy of what was taken out that the file still keeps out of sight
    // (a word processor's own copy of a header that lost its bookmarks).
    for (const auto& [bookmark, text] : removed) {
        if (body_->keepsHiddenCopy(text))
            doubt(bookmark);
    }
    return unsure;
}

namespace detail {

std::vector<std::optional<QString>> DocumentBody::removeInsertions(const QStringList& names)
{
    std::vector<std::optional<QString>> taken;
    taken.reserve(static_cast<std::size_t>(names.size()));
    for (const QString& name : names) {
        const auto insertion = parseInsertionName(name);
        const QString text = bookmarkText(name);
        if (insertion && sameInsertion(text, insertion->fingerprint) && removeWithText(name))
            taken.emplace_back(text);
        else
            taken.emplace_back();
    }
    return taken;
}

} // namespace detail

void Document::save()
{
    saveAs(path_);
}

void Document::saveAs(const QString& hostPath)
{
    // Contracts carry personal data: for their owner's eyes only.
    if (!writeWholeFile(hostPath, [this](QIODevice& file) { return body_->write(file); }, FileAccess::OwnerOnly))
        throw DocumentError(DocumentError::Kind::CannotSave,
                            QStringLiteral("No se puede guardar el documento %1.").arg(windowsPath(hostPath)));
    path_ = hostPath;
}

} // namespace platform
