#include "platform/Characters.h"

#include <QRegularExpression>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace platform {

QList<qsizetype> characterEnds(const QString& text)
{
    QList<qsizetype> ends;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    while (finder.toNextBoundary() != -1)
        ends << finder.position();
    return ends;
}

qsizetype characterCount(const QString& text)
{
    qsizetype count = 0;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    while (finder.toNextBoundary() != -1)
        ++count;
    return count;
}

namespace {

qsizetype boundary(const QString& text, qsizetype position, bool forward)
{
    if (position <= 0 || position >= text.size())
        return std::clamp<qsizetype>(position, 0, text.size());
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    finder.setPosition(position);
    if (finder.isAtBoundary())
        return position;
    return forward ? finder.toNextBoundary() : finder.toPreviousBoundary();
}

} // namespace

qsizetype characterStart(const QString& text, qsizetype position)
{
    return boundary(text, position, false);
}

qsizetype characterEnd(const QString& text, qsizetype position)
{
    return boundary(text, position, true);
}

QString withPathsUnbroken(const QString& text)
{
    static const QRegularExpression path(QStringLiteral("\\b[A-Za-z]:\\\\\\S*"));
    QString out;
    qsizetype done = 0;
    for (const QRegularExpressionMatch& match : path.globalMatch(text)) {
        const QString run = match.captured();
        out += QStringView(text).sliced(done, match.capturedStart() - done);
        QTextBoundaryFinder lines(QTextBoundaryFinder::Line, run);
        qsizetype from = 0;
        for (qsizetype at = lines.toNextBoundary(); at != -1 && at < run.size(); at = lines.toNextBoundary()) {
            out += QStringView(run).sliced(from, at - from);
            out += QChar(0x2060);
            from = at;
        }
        out += QStringView(run).sliced(from);
        done = match.capturedEnd();
    }
    out += QStringView(text).sliced(done);
    return out;
}

} // namespace platform
