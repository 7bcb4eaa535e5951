#pragma once

#include "platform/RtfTokens.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform::detail::rtf {

// A rich-text file kept as it was read, byte for byte, with its tokens and
// the groups they make: what text it holds and where each character of it
// lies, and the text taken out again.
class RtfText {
public:
    // Bytes of the file: where a character of the text lies (with the
    // fallback of a \u), or a stretch of text or a group to take out.
    struct Span {
        int from;
        int to;
    };

    // What taking one insertion out takes: the text at each place that holds
    // it, joining the paragraphs it spans, and groups whole.
    struct Removal {
        std::vector<Span> texts;
        std::vector<Span> groups;
    };

    // What a group holds, seen from the text around it: part of the same
    // paragraph (runs, fields and their results), text of its own (headers,
    // notes, shapes), or no text of the document.
    enum class Group { Inline, Story, Other };

protected:
    // Reads the tokens of data_ again, and the groups they make; runs of
    // text are split at the byte offsets `splits` (sorted). False, and no
    // tokens, when there would be more than `limit`.
    bool read(const std::vector<int>& splits = {}, std::size_t limit = SIZE_MAX);

    // The most tokens a file of `size` bytes may have for the program to
    // work on it within the memory it allows a document.
    static std::size_t tokenLimit(qsizetype size);

    // The name of the control word at `index`; empty for any other token.
    std::string_view word(std::size_t index) const
    {
        if (index >= tokens_.size() || tokens_[index].type != Token::Word)
            return {};
        const Token& t = tokens_[index];
        int end = t.offset + 1;
        while (end < t.offset + t.length && isLetter(data_.at(end)))
            ++end;
        return {data_.constData() + t.offset + 1, static_cast<std::size_t>(end - t.offset - 1)};
    }

    bool isSymbol(std::size_t index, char symbol) const
    {
        return index < tokens_.size() && tokens_[index].type == Token::Symbol && tokens_[index].symbol == symbol;
    }

    static bool isCharacterSymbol(char symbol)
    {
        return symbol == '\\' || symbol == '{' || symbol == '}' || symbol == '~' || symbol == '_' || symbol == '-';
    }

    Group group(int open) const;
    // Whether the token stands for a character of the text, or ends a
    // paragraph (or a cell, a row, a section).
    bool isCharacter(std::size_t index) const;
    bool isParagraphMark(std::size_t index) const;

    // The last character of the paragraph's text before token `from`, not
    // looking at `limit` or before it; a paragraph mark counts unless
    // `withinParagraph`. -1 when there is none. With `stop`, the last token
    // looked at: the one found, the one that ended the paragraph's text, or
    // `limit`.
    int characterBefore(int from, int limit, bool withinParagraph, int* stop = nullptr) const;

    // The first character of the paragraph's text from token `from` on, or
    // its paragraph mark. -1 when there is neither. With `stop`, the last
    // token looked at, or the number of tokens when the file ended first.
    int characterAfter(int from, int* stop = nullptr) const;

    // The first token of the story (the body, a header, a note) that holds
    // token `at`.
    int storyStart(int at) const;

    // Where to read the text of the story that holds token `end`, up to it,
    // to have at least its last `runs` runs of text: after a run of text
    // before them, from where textBetween() reads what it reads from the
    // story's start, or from the story's start (`story`). In a file whose
    // \u characters all have one byte of fallback, in Windows-1252, reading
    // after a run of text depends on nothing before it.
    int textBefore(int end, int runs, bool& story) const;

    // Where the text whose first character lies at byte `offset` starts in
    // the file: with the groups opened and the formatting set for it, after
    // what comes before it (a character, the end of a paragraph, a cell or a
    // row, a break, the end of a group, a group that is not part of the
    // paragraph), and not before byte `limit`.
    int textStart(int offset, int limit) const;

    // Whether the group opening at `open` is a bookmark's start or end.
    bool isBookmarkGroup(int open) const;

    // Whether text at token `at` already has the formatting of the character
    // at `model`: that one comes before it in the same group, with no
    // formatting set between them.
    bool formattedAlike(int model, int at) const;

    // The character formatting in force at token `at`, from the last \plain
    // in force on, as control words that set it again: "\plain", the last
    // word of each name (or, after a word that gives others another kind of
    // text to format, every one in its order), a blank.
    void appendFormatting(QByteArray& out, int at) const;
    // The formatting in force at each of `places`, found in one reading of
    // the file and kept for appendFormatting() until the next read().
    void findFormatting(std::vector<int> places) const;
    bool knowsFormatting(int at) const;

    // Whether a control word with no delimiting blank ends just before
    // token `at`.
    bool endsInBareWord(int at) const;

    // The text between two tokens. After a \u its readers' fallback is
    // skipped, counted in bytes and symbols as \uc says. With `spans`, where
    // each character lies.
    QString textBetween(int from, int to, std::vector<Span>* spans = nullptr) const;

    // Whether the text of the story opening at `open`, its blanks taken as
    // one, holds `wanted`. It is read a stretch at a time, each ending where
    // a group ends, so that the body of a large file is never held whole as
    // text.
    bool storyHolds(int open, const QString& wanted) const;

    // Text as rich text in the file's code page; "\n" ends a paragraph.
    void appendEncoded(QByteArray& out, const QString& text) const;

    // The name written in a bookmark group: its text, without surrounding
    // blanks.
    QString groupText(int open, int close) const { return textBetween(open + 3, close).trimmed(); }

    // Marks the text of tokens [from, to) to be dropped; a group opened
    // there goes too when nothing but formatting is left in it. False when
    // it holds what cannot be joined (cells, rows, sections, pages) or part
    // of a note, a shape or a destination.
    bool dropText(int from, int to, std::vector<bool>& drop) const;

    // Takes the removals out of the file at once, each as it would be taken
    // out alone after those before it: when one could then come out
    // otherwise (its text touches another's, see apart()), nothing is done
    // and nullopt returned. Else, for each, whether it was taken out: not
    // when its text holds what cannot be joined (dropText()), which leaves it
    // whole. The tokens are given up or split: read() again.
    std::optional<std::vector<bool>> drop(const std::vector<Removal>& removals);

    // The file made anew without the tokens marked, and without the line
    // breaks between two of them (but where another removal's tokens start,
    // at `breaks`, as they are when taken out after). A control word left
    // before text that would run into it gets its delimiting blank. The
    // tokens are given up: read() again.
    void dropTokens(const std::vector<bool>& drop, const std::vector<int>& breaks = {});

    // Puts the groups that stand one after another (opening at `groups`) in
    // the `order` given, in the file and its tokens as they are, without
    // reading it again. Returns the bytes after them that stood between
    // them (line breaks), which are to be left out of the file.
    Span reorderGroups(const std::vector<int>& groups, const std::vector<int>& order);

    // The file made anew with bytes [from, to) replaced; the tokens are
    // given up: read() again.
    void replaceBytes(int from, int to, const QByteArray& bytes);

    // Gives up the tokens before the file is made anew, so that a file, its
    // new copy and the tokens are never held at once.
    void releaseTokens();

    QByteArray data_;
    std::vector<Token> tokens_;
    std::vector<int> match_; // of each brace, the index of the other one
    int codePage_ = 1252;    // \ansicpg
    // Whether every \uc says 1, the count of a \u's fallback where none
    // says otherwise: unknown until asked, after each read().
    mutable std::optional<bool> ucOfOne_;
    // Of the places findFormatting() was asked for, the formatting words in
    // force there, or none when their order counts.
    mutable std::unordered_map<int, std::optional<std::vector<int>>> formatting_;

private:
    // Tokens [from, to) that one removal takes out: its text's, or a group's.
    struct Range {
        int from;
        int to;
        std::size_t removal;
        bool text;
    };

    // Whether removals taking out the `ranges` (in the order they stand)
    // give the same file taken out at once as one after another. Their text
    // is then found, and taken out, as it would be after the others: the
    // ranges of two removals do not overlap, and between a text's and
    // another's stands a token kept that is no formatting and opens no group
    // of the paragraph, where the text's own start or the blank after a
    // control word left before it are decided. Groups whole may touch: where
    // one follows another's, at `breaks`, dropTokens() keeps the line break
    // between them, as taking them out one at a time does.
    bool apart(const std::vector<Range>& ranges, std::vector<int>& breaks) const;
};

} // namespace platform::detail::rtf
