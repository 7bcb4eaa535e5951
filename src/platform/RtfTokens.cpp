#include "platform/RtfTokens.h"

#include <climits>
#include <unordered_set>

namespace platform::detail::rtf {

namespace {

// A control word's parameter; 0 when it does not fit an int.
int parameter(const char* from, const char* to)
{
    const bool negative = *from == '-';
    long long value = 0;
    for (const char* c = negative ? from + 1 : from; c < to; ++c) {
        value = value * 10 + (*c - '0');
        if (value > 2147483648LL)
            return 0;
    }
    value = negative ? -value : value;
    return value < INT_MIN || value > INT_MAX ? 0 : static_cast<int>(value);
}

// Gives each token of the data to `take`, in order.
template <typename Take> void scan(const QByteArray& data, const std::vector<int>& splits, Take&& take)
{
    const char* d = data.constData();
    const int n = static_cast<int>(data.size());
    auto split = splits.begin();
    int i = 0;
    while (i < n) {
        const char c = d[i];
        if (c == '{' || c == '}') {
            take(Token(c == '{' ? Token::Open : Token::Close, i, 1));
            ++i;
        } else if (c == '\\' && i + 1 < n && isLetter(d[i + 1])) {
            Token t{Token::Word, i, 0};
            int j = i + 1;
            while (j < n && isLetter(d[j]))
                ++j;
            if (j < n && (isDigit(d[j]) || (d[j] == '-' && j + 1 < n && isDigit(d[j + 1])))) {
                const int start = j;
                if (d[j] == '-')
                    ++j;
                while (j < n && isDigit(d[j]))
                    ++j;
                t.param = parameter(d + start, d + j);
                t.hasParam = true;
            }
            if (j < n && d[j] == ' ')
                ++j;
            t.length = static_cast<unsigned>(std::min(j - i, Token::kMaxLength));
            take(t);
            i = j;
            if (std::string_view(d + t.offset + 1, 3) == "bin" && t.hasParam && t.param > 0
                && !isLetter(d[t.offset + 4])) {
                for (int skip = std::min(t.param, n - i); skip > 0;) {
                    const int part = std::min(skip, Token::kMaxLength);
                    take(Token(Token::Binary, i, part));
                    i += part;
                    skip -= part;
                }
            }
        } else if (c == '\\' && i + 3 < n && d[i + 1] == '\'' && hexValue(d[i + 2]) >= 0 && hexValue(d[i + 3]) >= 0) {
            Token t{Token::Hex, i, 4};
            t.hex = static_cast<unsigned char>(hexValue(d[i + 2]) * 16 + hexValue(d[i + 3]));
            take(t);
            i += 4;
        } else if (c == '\\' && i + 1 < n) {
            Token t{Token::Symbol, i, 2};
            t.symbol = (d[i + 1] == '\r' || d[i + 1] == '\n') ? '\n' : d[i + 1];
            take(t);
            i += 2;
        } else if (c == '\r' || c == '\n') {
            ++i;
        } else {
            while (split != splits.end() && *split <= i)
                ++split;
            const int end = std::min({split == splits.end() ? n : *split, n, i + Token::kMaxLength});
            int j = i + 1;
            while (j < end && d[j] != '{' && d[j] != '}' && d[j] != '\\' && d[j] != '\r' && d[j] != '\n')
                ++j;
            take(Token(Token::Text, i, j - i));
            i = j;
        }
    }
}

} // namespace

bool tokenize(const QByteArray& data, const std::vector<int>& splits, std::vector<Token>& tokens, std::size_t limit)
{
    std::vector<Token>().swap(tokens);
    // Room for what files hold (a token for every five to seven bytes): the
    // list seldom grows, and what it leaves unused is never touched.
    tokens.reserve(std::min(limit, static_cast<std::size_t>(data.size() / 4) + 16));
    bool within = true;
    scan(data, splits, [&](const Token& t) {
        if (tokens.size() < limit)
            tokens.push_back(t);
        else
            within = false;
    });
    if (!within)
        std::vector<Token>().swap(tokens);
    return within;
}

namespace {

const std::string_view kCharacterFormatting[] = {
    "ab",     "acaps",    "af",     "afs",      "ai",        "alang",   "animtext", "b",       "caps",
    "cb",     "cchs",     "cf",     "cgrid",    "charscalex", "chcbpat", "chcfpat",  "chshdng", "cs",
    "dbch",   "dn",       "embo",   "expnd",    "expndtw",   "f",       "fcs",      "fs",      "hich",
    "highlight", "i",     "impr",   "kerning",  "loch",      "ltrch",   "noproof",  "nosupersub", "outl",
    "rtlch",  "scaps",    "shad",   "strike",   "striked",   "sub",     "super",    "up",      "v",
    "webhidden",
};

} // namespace

bool isCharacterFormatting(std::string_view word)
{
    static const std::unordered_set<std::string_view> words(
        std::begin(kCharacterFormatting), std::end(kCharacterFormatting));
    return words.count(word) || word.starts_with("ul") || word.starts_with("lang") || word.starts_with("acc");
}

} // namespace platform::detail::rtf
