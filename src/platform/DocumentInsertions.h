#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

// How the program's own insertions are named and found again in a file,
// whatever its format.
namespace platform::detail {

// An insertion's name: "_Tv" + running number + "_" + fingerprint of its
// text + "_" + the bookmark it was inserted at. Office Open XML wraps the
// text in a hidden bookmark of that name; rich text records it apart (see
// insertionExtent()).
QString insertionName(qint64 number, const QString& text, const QString& bookmark);

struct InsertionName {
    QString number; // digits, maybe more than a number holds
    QString fingerprint;
    QString bookmark;
};
std::optional<InsertionName> parseInsertionName(const QString& name);

// Whether `text` is what an insertion of that fingerprint wrote, blanks
// aside: another word processor may rewrite them (LibreOffice reads a run of
// blanks in rich text as six-per-em spaces between plain ones). Files written
// by earlier versions carry older fingerprints, also recognised.
bool sameInsertion(const QString& text, const QString& fingerprint);

// Rich text keeps no bookmark that shares a place with another through
// LibreOffice's saves, so an insertion there is known by where it ends (the
// end of its bookmark) and by its extent, recorded with its name: how many
// characters it has that are not blanks, and how many blanks it starts with
// (those it ends with run to the end of the bookmark).
QByteArray insertionExtent(const QString& text);
// Where, in `before` (the text up to where the insertion ends), the
// insertion of that extent starts; nullopt when `before` cannot hold it.
std::optional<qsizetype> insertionStart(QStringView before, const QString& extent);

} // namespace platform::detail
