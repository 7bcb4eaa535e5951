#include "platform/Characters.h"

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

} // namespace platform
