#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <set>
#include <stdexcept>

namespace platform {

// A document that could not be opened, filled or saved. The text is for the
// user and names the file.
class DocumentError : public std::runtime_error {
public:
    enum class Kind {
        Missing,        // the file does not exist
        CannotOpen,     // it exists but is not a document the program can read
        NeedsConverter, // an old binary Word file and no LibreOffice to convert it
        NoBookmark,     // the bookmark asked for is not in the document
        CannotSave,     // the file could not be written; the old one is whole
        Unsure,         // earlier insertions cannot be told apart with certainty
    };
    DocumentError(Kind kind, const QString& message);
    Kind kind() const { return kind_; }
    QString message() const { return QString::fromUtf8(what()); }

private:
    Kind kind_;
};

enum class DocumentFormat { Rtf, Docx };

namespace detail {
class DocumentBody;
}

// A word-processing document: a contract template, its working copy, a
// stored contract. It is read whole from its file, filled at its bookmarks
// and written back in its own format.
//
// Rich text (RTF) and Office Open XML (.docx) are read and written here; the
// format is told by the content, never by the name, so files keep names such
// as "0012300045.doc". An old binary Word file is converted by LibreOffice
// when it is installed and is then kept as Office Open XML.
//
// Every text inserted is also marked as the program's: in Office Open XML
// wrapped in a hidden bookmark of its own (a name beginning with "_"), which
// word processors keep and do not list; in rich text, where LibreOffice reads
// bookmarks that hold or touch another back under each other's names,
// recorded in a document variable of that name, with where it ends (the end
// of its bookmark) and its length. That is how removeInsertions() finds what
// the program wrote, even after the file has been saved by another program.
class Document {
public:
    // Opens a file. A name that does not exist as written is looked up in its
    // folder without regard to case. Throws Missing, CannotOpen or
    // NeedsConverter.
    static Document open(const QString& hostPath);

    Document(Document&&) noexcept;
    Document& operator=(Document&&) noexcept;
    ~Document();

    DocumentFormat format() const { return format_; }
    // The file it was opened from or last saved as.
    QString path() const { return path_; }

    // Bookmark names are compared without regard to case, as Word does.
    bool hasBookmark(const QString& name) const;
    // The bookmark's text as a reader sees it: a paragraph break is "\n", a
    // tab "\t". Throws NoBookmark, also for a bookmark that starts and never
    // ends.
    QString bookmarkText(const QString& name) const;

    // Adds `text` at the end of the bookmark, inside it, removing nothing:
    // repeated inserts append (in rich text, just before an empty bookmark
    // that shares its place with others, which LibreOffice keeps no other
    // way). Blanks are kept; "\r\n" (or a lone "\r" or
    // "\n") starts a new paragraph, "\t" is a tab. The text takes the run
    // formatting of the character before the insertion point. Throws
    // NoBookmark, also for a bookmark that starts and never ends.
    void insertAfter(const QString& bookmark, const QString& text);

    // Removes what insertAfter() added at these bookmarks, leaving the rest
    // of their text, from the document and from every copy of it the file
    // keeps (LibreOffice writes headers and footers of rich text twice).
    // Returns the bookmarks for which that could not be done with certainty
    // (an insertion changed or moved by another program, one whose bookmark
    // is gone or whose name lost a character, named as it reads, or one whose
    // text the file still keeps out of sight); the document is then not to be
    // trusted for them.
    QStringList removeInsertions(const QStringList& bookmarks);

    // Writes the document in its format through a temporary file in the same
    // folder and a rename: a failed save (CannotSave) leaves the old file.
    // The file is readable by its owner only.
    void save();
    void saveAs(const QString& hostPath);

private:
    Document(DocumentFormat format, QString path, std::unique_ptr<detail::DocumentBody> body);
    // Throws NoBookmark unless the bookmark is there with its start and end.
    void checkBookmark(const QString& name) const;

    DocumentFormat format_;
    QString path_;
    std::unique_ptr<detail::DocumentBody> body_;
    // Insertions are numbered with the smallest numbers not in use, which
    // no number another file carries, however large, can make overflow.
    std::set<qint64> usedInsertions_;
    qint64 nextInsertion_ = 1;
};

} // namespace platform
