#pragma once

#include <QByteArray>
#include <QString>

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

// A contract as the generator leaves it: the worker's NIF (twice), birth
// date and country, and the company's name written at their marks, with the
// copia básica's bookmarks empty. The document is created at `hostPath`.
void contratoRelleno(const QString& hostPath, bool docx);

// An Office Open XML package with the given main document part.
QByteArray docxPackage(const QByteArray& documentXml);
// Every entry of a package, by name, inflated.
std::vector<std::pair<QByteArray, QByteArray>> docxEntries(const QByteArray& docx);
// One entry of a package, and the package with that entry replaced.
QByteArray docxPart(const QByteArray& docx, const char* name = "word/document.xml");
QByteArray withDocxPart(const QByteArray& docx, const QByteArray& content, const char* name = "word/document.xml");
// A package of a main document part holding `blanks` blanks, and of
// `headers` headers that are copies of it (compressed once).
QByteArray docxOfBlanks(qsizetype blanks, int headers = 0);
// The package with the size of an entry, as its directory gives it, changed.
QByteArray withDeclaredSize(QByteArray docx, const char* name, quint64 size);

} // namespace testing_support
