#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

#include <functional>
#include <stdexcept>

namespace platform {

// A file that could not be read or written; the text is for the user.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Who may read and write a file the program writes: anyone the folder lets
// in, or its owner alone (passwords, personal data).
enum class FileAccess { Shared, OwnerOnly };

// Text of the data files is single-byte Windows-1252: one byte per character.
// A letter and its combining accents are composed first ("e" and a combining
// acute make "é"); a character that still has no byte of its own (an emoji,
// a letter with an accent the code page lacks) becomes one '?'.
QByteArray toCp1252(const QString& text);
QString fromCp1252(const QByteArray& bytes);
// Whether every character, once composed, has a byte of its own in
// Windows-1252.
bool fitsCp1252(const QString& text);

// What a file that should be Windows-1252 text is written in, told by the
// shape of its bytes. UTF-16: its byte-order mark, or a NUL in most bytes of
// one parity and not of the other, as every character below U+0100 has. UTF-8: its mark, or
// multi-byte sequences valid as a whole that read as characters Windows-1252
// has. Windows-1252 text takes neither shape: where its letters happen to make
// a valid sequence ("Ñ" or "Ç" before "ª" or "º"), it reads as a character the
// code page lacks.
enum class TextEncoding { Cp1252, Utf8, Utf16 };
TextEncoding encodingOf(const QByteArray& bytes);
// The words that tell the user a file is so written ("está escrito en UTF-8,
// no en Windows-1252"); empty for Windows-1252.
QString writtenIn(TextEncoding encoding);

// `text` left-aligned in exactly `width` bytes of Windows-1252, cut between
// characters or padded with blanks.
QByteArray fixedField(const QString& text, int width);
// The text of a fixed field without the blanks that pad it on the right.
QString unpadded(const QString& field);

// Whole content of a file; an empty array when it does not exist.
QByteArray readWholeFile(const QString& hostPath);

// Replaces a whole file through a temporary file and a rename, so a reader
// never sees half of it. An owner-only file is never readable by others, not
// even while it is being written.
void replaceFile(const QString& hostPath, const QByteArray& content, FileAccess access = FileAccess::Shared);
// The same, false when it failed; the old file is then whole.
bool writeWholeFile(const QString& hostPath, const QByteArray& content, FileAccess access = FileAccess::Shared);
// The same, the content written to the file by `write` (false when a write
// failed), so that a large content need not be held whole.
bool writeWholeFile(const QString& hostPath, const std::function<bool(QIODevice&)>& write,
                    FileAccess access = FileAccess::Shared);

// Moves a file to `to`, replacing a file of that name in one step: whoever
// looks finds the old file or the new one, never neither. False when it
// failed; nothing changed then.
bool moveFile(const QString& from, const QString& to);
// Makes the names of `folder` (files added, moved, removed) reach the disk,
// not just its files' contents.
void syncFolder(const QString& folder);

// Record `number` (from 1) of `length` bytes of a fixed-length record file.
// Bytes past the end of the file read as blanks. When `createIfMissing` is
// set a missing file is created empty, as opening it for records would.
QByteArray readRecord(const QString& hostPath, int number, int length, bool createIfMissing = true);

// Writes record `number` (from 1); `record` is padded with blanks or cut to
// `length`. Any gap before it is filled with blanks.
void writeRecord(const QString& hostPath, int number, int length, const QByteArray& record,
                 FileAccess access = FileAccess::Shared);

} // namespace platform
