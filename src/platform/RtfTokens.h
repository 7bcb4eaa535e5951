#pragma once

// The tokens of rich text and the control words the reader tells apart.
#include <QByteArray>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string_view>
#include <vector>

namespace platform::detail::rtf {

// A token takes 12 bytes: a file holds about one for every seven of its
// bytes, and its tokens are held beside it.
struct Token {
    enum Type : unsigned char { Open, Close, Word, Symbol, Hex, Text, Binary };
    // The longest stretch one token covers; longer runs of text or binary
    // data are split into several tokens.
    static constexpr int kMaxLength = (1 << 28) - 1;
    Token(Type type, int offset, int length)
        : offset(offset)
        , length(static_cast<unsigned>(length))
        , type(type)
        , hasParam(false)
        , param(0)
    {
    }
    int offset;
    unsigned length : 28;
    Type type : 3;
    bool hasParam : 1;
    union {
        int param;         // Word: its numeric parameter
        char symbol;       // Symbol: the character after the backslash
        unsigned char hex; // Hex: the byte
    };
};
static_assert(sizeof(Token) == 12);

inline bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

inline bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

inline int hexValue(char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Line breaks in the file mean nothing (writers break long lines wherever
// they like, names of bookmarks included) and are no tokens: they stay in
// the gaps between tokens. A run of text is split at each offset of
// `splits` (sorted) that falls in it. The tokens go into `tokens`, whose
// earlier content goes first, so that two lists are never held at once;
// false, and no tokens, when there would be more than `limit`.
bool tokenize(const QByteArray& data, const std::vector<int>& splits, std::vector<Token>& tokens,
              std::size_t limit = SIZE_MAX);

// Lists of control words, kept sorted for the look-up.
template <std::size_t N> bool among(std::string_view word, const std::string_view (&list)[N])
{
    return std::binary_search(list, list + N, word);
}

// Groups of the document's text that are not part of the paragraph they
// stand in: headers, footers, notes, shapes and their text.
inline constexpr std::string_view kStories[] = {
    "footer", "footerf", "footerl", "footerr", "footnote", "header", "headerf", "headerl",
    "headerr", "rtf",     "shp",     "shpgrp",  "shpinst",  "shptxt",
};
static_assert(std::is_sorted(std::begin(kStories), std::end(kStories)));

// Destinations whose content is not text of the document, besides every
// group marked with \*: tables, properties, pictures, field codes, the
// drawing written for old readers beside a shape, numbering text.
inline constexpr std::string_view kOtherDestinations[] = {
    "annotation", "atnauthor", "atnid",       "bkmkend",   "bkmkstart",  "colortbl", "datastore",
    "do",         "docvar",    "fldinst",     "fonttbl",   "generator",  "info",     "latentstyles",
    "listoverridetable",       "listtable",   "listtext",  "mmath",      "mmathPr",  "nonshppict",
    "object",     "pgdsctbl",  "pict",        "pntext",    "revtbl",     "rsidtbl",  "shprslt",
    "sn",         "sp",        "stylesheet",  "sv",        "tc",         "themedata", "upr",
    "userprops",  "xe",        "xmlnstbl",
};
static_assert(std::is_sorted(std::begin(kOtherDestinations), std::end(kOtherDestinations)));

inline constexpr std::string_view kParagraphMarks[] = {"cell", "nestcell", "nestrow", "par", "row", "sect"};
static_assert(std::is_sorted(std::begin(kParagraphMarks), std::end(kParagraphMarks)));

// Control words that stand for a character of the text.
inline constexpr std::string_view kCharacters[] = {
    "bullet", "chatn",  "chdate", "chftn",   "chpgn",     "chtime",  "emdash", "emspace",
    "endash", "enspace", "ldblquote", "line", "lquote",   "ltrmark", "qmspace", "rdblquote",
    "rquote", "rtlmark", "tab",    "u",       "zwbo",      "zwj",     "zwnbo",  "zwnj",
};
static_assert(std::is_sorted(std::begin(kCharacters), std::end(kCharacters)));

// Character formatting, which inserted text copies from the character
// before it (\plain, which resets it, aside).
bool isCharacterFormatting(std::string_view word);

} // namespace platform::detail::rtf
