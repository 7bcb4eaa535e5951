#include "platform/RtfTokens.h"

#include <unordered_set>

namespace platform::detail::rtf {

std::vector<Token> tokenize(const QByteArray& data, const std::vector<int>& splits)
{
    std::vector<Token> tokens;
    tokens.reserve(static_cast<std::size_t>(data.size() / 8));
    const char* d = data.constData();
    const int n = static_cast<int>(data.size());
    auto split = splits.begin();
    int i = 0;
    while (i < n) {
        const char c = d[i];
        if (c == '{' || c == '}') {
            tokens.emplace_back(c == '{' ? Token::Open : Token::Close, i, 1);
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
                t.param = QByteArray(d + start, j - start).toInt();
                t.hasParam = true;
            }
            if (j < n && d[j] == ' ')
                ++j;
            t.length = j - i;
            tokens.push_back(t);
            i = j;
            if (std::string_view(d + t.offset + 1, 3) == "bin" && t.hasParam && t.param > 0
                && !isLetter(d[t.offset + 4])) {
                const int skip = std::min(t.param, n - i);
                tokens.emplace_back(Token::Binary, i, skip);
                i += skip;
            }
        } else if (c == '\\' && i + 3 < n && d[i + 1] == '\'' && hexValue(d[i + 2]) >= 0 && hexValue(d[i + 3]) >= 0) {
            Token t{Token::Hex, i, 4};
            t.hex = static_cast<unsigned char>(hexValue(d[i + 2]) * 16 + hexValue(d[i + 3]));
            tokens.push_back(t);
            i += 4;
        } else if (c == '\\' && i + 1 < n) {
            Token t{Token::Symbol, i, 2};
            t.symbol = (d[i + 1] == '\r' || d[i + 1] == '\n') ? '\n' : d[i + 1];
            tokens.push_back(t);
            i += 2;
        } else if (c == '\r' || c == '\n') {
            ++i;
        } else {
            while (split != splits.end() && *split <= i)
                ++split;
            const int end = split == splits.end() ? n : std::min(n, *split);
            int j = i + 1;
            while (j < end && d[j] != '{' && d[j] != '}' && d[j] != '\\' && d[j] != '\r' && d[j] != '\n')
                ++j;
            tokens.emplace_back(Token::Text, i, j - i);
            i = j;
        }
    }
    return tokens;
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
