#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

// The reader-writers behind platform::Document, one per format.
namespace platform::detail {

// Bookmark names compared without regard to case, as Word does, for hash
// maps. Names are nearly always plain ASCII, which is folded on the way.
struct BookmarkNameHash {
    std::size_t operator()(const QString& name) const
    {
        std::size_t hash = 14695981039346656037ULL;
        for (const QChar c : name) {
            if (c.unicode() >= 0x80)
                return fold(name.toCaseFolded());
            hash = (hash ^ (c.unicode() | 0x20u)) * 1099511628211ULL; // ASCII letters in either case alike
        }
        return hash;
    }

    static std::size_t fold(const QString& folded)
    {
        std::size_t hash = 14695981039346656037ULL;
        for (const QChar c : folded)
            hash = (hash ^ (c.unicode() | 0x20u)) * 1099511628211ULL;
        return hash;
    }
};

struct BookmarkNameEqual {
    bool operator()(const QString& a, const QString& b) const
    {
        if (a.size() != b.size())
            return false;
        for (qsizetype i = 0; i < a.size(); ++i) {
            const char16_t x = a.at(i).unicode();
            const char16_t y = b.at(i).unicode();
            if (x == y)
                continue;
            if (x >= 0x80 || y >= 0x80)
                return a.compare(b, Qt::CaseInsensitive) == 0;
            if ((x | 0x20) != (y | 0x20) || (x | 0x20) < 'a' || (x | 0x20) > 'z')
                return false;
        }
        return true;
    }
};

class DocumentBody {
public:
    virtual ~DocumentBody() = default;

    // Every bookmark name as written in the file, hidden ones included, and
    // the names of the insertions the file records apart from its bookmarks.
    virtual QStringList bookmarkNames() = 0;
    // Names are compared without regard to case.
    virtual bool hasBookmark(const QString& name) = 0;
    // Whether the bookmark is there with its end as well as its start: a
    // start without an end leaves nowhere to insert, the caller's error.
    virtual bool hasEnd(const QString& name) { return hasBookmark(name); }
    // Text between the bookmark's start and end, or the text of a recorded
    // insertion: paragraphs end in "\n", tabs are "\t". The bookmark exists.
    virtual QString bookmarkText(const QString& name) = 0;
    // Inserts `text` ("\n" paragraph, "\t" tab, no other control character)
    // at the end of `bookmark`, marked as the insertion `insertionName`.
    virtual void insert(const QString& bookmark, const QString& text, const QString& insertionName) = 0;
    // Removes an insertion with its text from the document and from every
    // copy of it the file keeps, joining the paragraphs it spans. False, and
    // nothing changed, when that text does not lie in paragraphs of one story
    // that can be joined, or a copy of it is not the same.
    virtual bool removeWithText(const QString& name) = 0;
    // Takes out the insertions `names` with their text, as removeWithText()
    // would one after another, each only while its text is the one it wrote
    // (its fingerprint): for each, the text taken out, or nothing when it
    // stays. Readers that can take them out in one go do so.
    virtual std::vector<std::optional<QString>> removeInsertions(const QStringList& names);
    // Whether `text` is still in the file out of the document's sight (a copy
    // of a story kept for the word processor's own use) though the document
    // itself does not show it.
    virtual bool keepsHiddenCopy(const QString& text) { return false; }
    // The whole file.
    virtual QByteArray serialize() = 0;
    // Writes the whole file to `out`; false when a write failed.
    virtual bool write(QIODevice& out)
    {
        const QByteArray content = serialize();
        return !content.isEmpty() && out.write(content) == content.size();
    }
};

// Thrown by a reader for a document that would take more memory to work on
// than the program allows one.
struct TooLarge {};

// Null when the bytes are not a document of that format.
std::unique_ptr<DocumentBody> readRtf(const QByteArray& bytes);
std::unique_ptr<DocumentBody> readDocx(const QByteArray& bytes);

} // namespace platform::detail
