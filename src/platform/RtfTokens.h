#pragma once

// The tokens of rich text and the control words the reader tells apart.
#include <QByteArray>

#include <algorithm>
#include <iterator>
#include <string_view>
#include <vector>

namespace platform::detail::rtf {

struct Token {
    enum Type : unsigned char { Open, Close, Word, Symbol, Hex, Text, Binary };
    Token(Type type, int offset, int length)
        : offset(offset)
        , length(length)
        , type(type)
    {
    }
    int offset;
    int length;
    int param = 0;
    Type type;
    bool hasParam = false;
    char symbol = 0; // Symbol: the character after the backslash
    unsigned char hex = 0; // Hex: the byte
};

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
// `splits` (sorted) that falls in it.
std::vector<Token> tokenize(const QByteArray& data, const std::vector<int>& splits = {});

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
