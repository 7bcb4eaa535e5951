#pragma once

#include <QList>
#include <QString>

// Characters as a user sees them: a letter with its combining accents, an
// emoji with its modifiers and joiners, each one however many UTF-16 units
// it takes. A text cut to a length is cut between them, never inside one.
namespace platform {

// Where each character of `text` ends, in order (the last is its length).
QList<qsizetype> characterEnds(const QString& text);
qsizetype characterCount(const QString& text);
// The nearest boundary between characters at or before `position`, and at or
// after it.
qsizetype characterStart(const QString& text, qsizetype position);
qsizetype characterEnd(const QString& text, qsizetype position);

// `text` as a message shows it: a word joiner (U+2060, which shows nothing)
// at every place where a line could break inside a Windows path
// ("C:\Quelvan\Dorvane\ContratosImp" breaks after "C:"), so that the path
// stays on one line.
QString withPathsUnbroken(const QString& text);

} // namespace platform
