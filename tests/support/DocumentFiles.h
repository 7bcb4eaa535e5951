#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

// A small word-processing document described once and written either as
// rich text or as Office Open XML, to check both reader-writers alike.
struct Piece {
    enum Kind { Text, Bold, Start, End } kind;
    QString value; // the text, or the bookmark's name
};
inline Piece text(const QString& t) { return {Piece::Text, t}; }
inline Piece bold(const QString& t) { return {Piece::Bold, t}; }
inline Piece start(const QString& name) { return {Piece::Start, name}; }
inline Piece end(const QString& name) { return {Piece::End, name}; }

using Paragraph = std::vector<Piece>;

struct SampleDocument {
    std::vector<Paragraph> header;
    std::vector<Paragraph> body;
    std::vector<Paragraph> cells; // one table row after the body, a paragraph per cell
    std::vector<Paragraph> footer;
    bool pageBreaks = false; // a page break after every tenth body paragraph
};

QByteArray toRtf(const SampleDocument& document);
QByteArray toDocx(const SampleDocument& document);

// A long contract in rich text as WordPad writes it: its formatting set once
// at the start and changed where it changes (bold labels, italics), never
// reset with \plain. Of about `size` bytes, with the empty `bookmarks`
// spread evenly through it, each after a bold label ("B0115 M0115": two at
// one place, the first the copia básica's blank, as templates have them).
QByteArray richTextWithoutPlain(qint64 size, const QStringList& bookmarks);

// A contract as the generator leaves it: the worker's NIF (twice), birth
// date and country, and the company's name written at their marks, with the
// copia básica's bookmarks empty. The document is created at `hostPath`.
void contratoRelleno(const QString& hostPath, bool docx);

// The text of a rich-text file as a reader sees it, and whether each
// character is bold ("b"), italic ("i"), both or neither (""). Groups of
// tables, field codes and the like are not text, unless `everyGroup`: then
// every piece of text the file holds is.
struct RtfText {
    QString text;
    QStringList formats;
    // Of the first character of the first text `value`; "?" when none is.
    QString formatOf(const QString& value) const
    {
        const qsizetype at = text.indexOf(value);
        return at < 0 ? QStringLiteral("?") : formats.at(at);
    }
};
RtfText rtfText(const QByteArray& rtf, bool everyGroup = false);

// Every piece of text a file holds, whatever group (rich text) or part
// (Office Open XML) it stands in, and no blank.
QString everyText(const QByteArray& file);

// A part of a package as the program writes it back: comparable to a part
// it rewrote.
QByteArray rewrittenXml(const QByteArray& xml);

// A file's bytes by its host path; empty when it cannot be read.
QByteArray readAll(const QString& hostPath);

// An Office Open XML package with the given main document part.
QByteArray docxPackage(const QByteArray& documentXml);
// One entry of a package, and the package with that entry replaced.
QByteArray docxPart(const QByteArray& docx, const char* name = "word/document.xml");
QByteArray withDocxPart(const QByteArray& docx, const QByteArray& content, const char* name = "word/document.xml");
// A package of a main document part holding `blanks` blanks, and of
// `headers` headers that are copies of it (compressed once).
QByteArray docxOfBlanks(qsizetype blanks, int headers = 0);
// Each entry of a package: how it is stored, and its content inflated.
struct DocxEntry {
    std::string name;
    quint16 method; // ZIP_CM_STORE, ZIP_CM_DEFLATE
    quint32 crc;
    QByteArray content;
};
std::vector<DocxEntry> docxEntries(const QByteArray& docx);
// The package as a plain deflating writer writes it after changing `parts`:
// those read and compressed anew at zlib's default level, the others copied
// as they are.
QByteArray deflatedAgain(const QByteArray& docx, const std::set<std::string>& parts);
// The package with the size of an entry, as its directory gives it, changed.
QByteArray withDeclaredSize(QByteArray docx, const char* name, quint64 size);
// The package with one more entry, `as`, holding what the entry `name`
// holds, even where an entry is named so already, as no writer would do.
QByteArray withEntryAgain(const QByteArray& docx, const char* name, const char* as);

} // namespace testing_support
