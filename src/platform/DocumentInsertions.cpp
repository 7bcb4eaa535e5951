#include "platform/DocumentInsertions.h"

#include <QCryptographicHash>
#include <QRegularExpression>

#include <algorithm>
#include <string>

namespace platform::detail {

namespace {

QString withoutBlanks(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (!c.isSpace())
            out += c;
    }
    return out;
}

// An insertion's fingerprint: FNV-1a of its text in UTF-8, blanks left
// out, as eight hex digits appended to `out`.
void appendFingerprint(const QString& text, QString& out)
{
    quint32 hash = 2166136261u;
    const auto add = [&hash](uchar byte) { hash = (hash ^ byte) * 16777619u; };
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; })) {
        for (const QChar c : text) {
            if (!c.isSpace())
                add(static_cast<uchar>(c.unicode()));
        }
    } else {
        for (const char c : withoutBlanks(text).toUtf8())
            add(static_cast<uchar>(c));
    }
    char hex[8];
    for (int i = 0; i < 8; ++i)
        hex[i] = "0123456789abcdef"[(hash >> (28 - 4 * i)) & 0xf];
    out.append(QLatin1String(hex, 8));
}

QString fingerprint(const QString& text)
{
    QString print;
    appendFingerprint(text, print);
    return print;
}

// What files written before carried: the first eight hex digits of its SHA-1.
QString oldFingerprint(const QString& text)
{
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex().left(8));
}

// LibreOffice writes each blank of a run as a six-per-em space and a plain
// one.
constexpr char16_t kSixPerEmSpace = 0x2006;

} // namespace

QString insertionName(qint64 number, const QString& text, const QString& bookmark)
{
    QString name;
    name.reserve(bookmark.size() + 24);
    name.append(QLatin1String("_Tv")).append(QLatin1String(std::to_string(number))).append(QLatin1Char('_'));
    appendFingerprint(text, name);
    name.append(QLatin1Char('_')).append(bookmark);
    return name;
}

std::optional<InsertionName> parseInsertionName(const QString& name)
{
    if (!name.startsWith(QLatin1String("_Tv")))
        return std::nullopt;
    static const QRegularExpression pattern(QStringLiteral("^_Tv(\\d+)_([0-9a-f]{8})_(.+)$"));
    const auto match = pattern.match(name);
    if (!match.hasMatch())
        return std::nullopt;
    return InsertionName{match.captured(1), match.captured(2), match.captured(3)};
}

bool sameInsertion(const QString& text, const QString& print)
{
    return fingerprint(text) == print || oldFingerprint(withoutBlanks(text)) == print || oldFingerprint(text) == print;
}

QByteArray insertionExtent(const QString& text)
{
    const auto words = std::count_if(text.begin(), text.end(), [](QChar c) { return !c.isSpace(); });
    const auto leading = std::find_if(text.begin(), text.end(), [](QChar c) { return !c.isSpace(); }) - text.begin();
    return QByteArray::number(words).append(' ').append(QByteArray::number(leading));
}

std::optional<qsizetype> insertionStart(QStringView before, const QString& extent)
{
    const QStringList numbers = extent.split(QLatin1Char(' '));
    bool ok = numbers.size() == 2;
    const qsizetype words = ok ? numbers.at(0).toLongLong(&ok) : 0;
    const qsizetype leading = ok ? numbers.at(1).toLongLong(&ok) : 0;
    if (!ok || words < 0 || leading < 0)
        return std::nullopt;
    qsizetype start = before.size();
    for (qsizetype left = words; left > 0; --start) {
        if (start == 0)
            return std::nullopt;
        if (!before.at(start - 1).isSpace())
            --left;
    }
    // Its leading blanks, as many plain ones as it had, each with the
    // six-per-em space LibreOffice may have put before it.
    for (qsizetype taken = 0; start > 0 && before.at(start - 1).isSpace(); --start) {
        if (before.at(start - 1) == QChar(kSixPerEmSpace)) {
            if (leading == 0)
                break;
        } else if (taken++ == leading) {
            break;
        }
    }
    return start;
}

} // namespace platform::detail
