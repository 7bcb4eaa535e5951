#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <vector>

namespace platform::detail::rtf {

// What is to be written into a rich-text file kept as it was read: values
// and records of insertions put in at byte offsets, and line breaks left out,
// applied when the file is written or read again, so that a value costs no
// new copy of the file.
class RtfEdits {
public:
    enum class Kind {
        Value, // text at a bookmark
        Record, // the document variable that records an insertion
        Gap, // line breaks left out
    };
    struct Edit {
        int offset; // where it goes, before the token there
        qsizetype from; // its bytes in bytes()
        qsizetype size;
        int skip; // bytes of the file it leaves out from `offset`
        Kind kind;
        // Whether it was there when the file was last taken as read again
        // with everything written (see seeAll()).
        bool seen;
        QString bookmark; // of a record: the bookmark it fills
    };

    bool empty() const { return edits_.empty(); }
    const std::vector<Edit>& edits() const { return edits_; }

    // Where the bytes of an edit are written before it is added.
    QByteArray& bytes() { return bytes_; }
    // Adds what was written to bytes() from `from` on, to go in at `offset`.
    void add(int offset, qsizetype from, Kind kind, const QString& bookmark = {});
    // Leaves out `size` bytes of line breaks at `offset`.
    void leaveOut(int offset, int size);

    // Every edit made so far taken as in the file (see Edit::seen).
    void seeAll();

    // The file with every edit in place.
    QByteArray applied(const QByteArray& data);
    // Writes the file with every edit in place, in pieces, so that a large
    // file is not held twice; false when a write failed.
    bool write(const QByteArray& data, QIODevice& out);

    // Takes out the values and records not seen yet, to go into the file
    // made with the others: their offsets are those they have there.
    RtfEdits takeUnseen();

    void clear();

private:
    // In the order they stand in the file; those at one place in the order
    // they were made.
    void sort();

    std::vector<Edit> edits_;
    QByteArray bytes_;
};

} // namespace platform::detail::rtf
