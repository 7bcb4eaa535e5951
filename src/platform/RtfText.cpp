#include "platform/RtfText.h"

#include "platform/Files.h"

#include <QStringDecoder>

#include <algorithm>
#include <map>
#include <optional>

namespace platform::detail::rtf {

namespace {

// Bytes of the document's code page as text; a stateful decoder, for
// characters of two bytes written as two "\'hh".
class CodePage {
public:
    explicit CodePage(int number)
    {
        if (number != 1252) {
            QStringDecoder decoder(QByteArray("windows-" + QByteArray::number(number)).constData());
            if (decoder.isValid())
                decoder_.emplace(std::move(decoder));
        }
    }
    QString operator()(const QByteArray& bytes) { return decoder_ ? (*decoder_)(bytes) : fromCp1252(bytes); }

private:
    std::optional<QStringDecoder> decoder_; // none for Windows-1252, and for one not known
};

} // namespace

bool RtfText::read(const std::vector<int>& splits, std::size_t limit)
{
    std::vector<int>().swap(match_);
    const bool within = tokenize(data_, splits, tokens_, limit);
    match_.assign(tokens_.size(), -1);
    std::vector<int> open;
    for (std::size_t t = 0; t < tokens_.size(); ++t) {
        if (tokens_[t].type == Token::Open) {
            open.push_back(static_cast<int>(t));
        } else if (tokens_[t].type == Token::Close && !open.empty()) {
            match_[t] = open.back();
            match_[static_cast<std::size_t>(open.back())] = static_cast<int>(t);
            open.pop_back();
        }
    }
    codePage_ = 1252;
    ucOfOne_.reset();
    formatting_.clear();
    for (std::size_t t = 0; t < std::min<std::size_t>(tokens_.size(), 64); ++t) {
        if (word(t) == "ansicpg")
            codePage_ = tokens_[t].param;
    }
    return within;
}

std::size_t RtfText::tokenLimit(qsizetype size)
{
    // What a file may take in memory while it is worked on: four times its
    // size, and never less than this.
    constexpr qint64 kFloor = qint64(64) << 20;
    constexpr qint64 kPerToken = sizeof(Token) + sizeof(int);
    const qint64 allowed = std::max<qint64>(4 * qint64(size), kFloor);
    // The file itself is held beside its tokens (a new copy of it only once
    // they are given up).
    return static_cast<std::size_t>(std::max<qint64>(0, allowed - qint64(size)) / kPerToken);
}

int RtfText::storyStart(int at) const
{
    for (int t = at - 1; t >= 0; --t) {
        const auto i = static_cast<std::size_t>(t);
        if (tokens_[i].type == Token::Close && match_[i] >= 0)
            t = match_[i];
        else if (tokens_[i].type == Token::Open && group(t) == Group::Story)
            return t + 1;
    }
    return 0;
}

int RtfText::textBefore(int end, int runs, bool& story) const
{
    if (!ucOfOne_) {
        ucOfOne_ = std::none_of(tokens_.begin(), tokens_.end(), [this](const Token& k) {
            return k.type == Token::Word && k.param != 1 && word(static_cast<std::size_t>(&k - tokens_.data())) == "uc";
        });
    }
    story = true;
    if (codePage_ != 1252 || !*ucOfOne_)
        return storyStart(end);
    // Back as storyStart() goes, over the groups that end before `end`: a
    // group that starts after the place read from ends there or holds `end`.
    for (int t = end - 1; t >= 0; --t) {
        const auto i = static_cast<std::size_t>(t);
        if (tokens_[i].type == Token::Close && match_[i] >= 0) {
            t = match_[i];
        } else if (tokens_[i].type == Token::Open && group(t) == Group::Story) {
            return t + 1;
        } else if (tokens_[i].type == Token::Text && --runs < 0) {
            story = false;
            return t + 1; // a \u's fallback ends with a run of text
        }
    }
    return 0;
}

int RtfText::textStart(int offset, int limit) const
{
    auto t = std::lower_bound(tokens_.begin(), tokens_.end(), offset,
                              [](const Token& k, int o) { return k.offset < o; })
             - tokens_.begin();
    if (t == static_cast<qsizetype>(tokens_.size()) || tokens_[static_cast<std::size_t>(t)].offset != offset)
        return offset; // a character within a run of text
    int start = offset;
    while (--t >= 0 && tokens_[static_cast<std::size_t>(t)].offset >= limit) {
        const auto i = static_cast<std::size_t>(t);
        const bool opens = tokens_[i].type == Token::Open && group(static_cast<int>(t)) == Group::Inline;
        const bool formats = tokens_[i].type == Token::Word && !isCharacter(i) && !isParagraphMark(i)
                             && word(i) != "page" && word(i) != "column";
        if (!opens && !formats)
            break;
        start = tokens_[i].offset;
    }
    return start;
}

bool RtfText::isBookmarkGroup(int open) const
{
    const std::string_view kind = isSymbol(static_cast<std::size_t>(open) + 1, '*')
                                      ? word(static_cast<std::size_t>(open) + 2)
                                      : std::string_view();
    return kind == "bkmkstart" || kind == "bkmkend";
}

bool RtfText::endsInBareWord(int at) const
{
    if (at == 0)
        return false;
    const Token& before = tokens_[static_cast<std::size_t>(at - 1)];
    return before.type == Token::Word && before.offset + before.length == tokens_[static_cast<std::size_t>(at)].offset
           && data_.at(before.offset + before.length - 1) != ' ';
}

bool RtfText::dropText(int from, int to, std::vector<bool>& drop) const
{
    struct Opened {
        int token;
        bool keeps = false;
    };
    std::vector<Opened> opened;
    for (int t = from; t < to; ++t) {
        const auto i = static_cast<std::size_t>(t);
        const Token& k = tokens_[i];
        bool keeps = true; // something the group it stands in keeps
        switch (k.type) {
        case Token::Open:
            if (group(t) == Group::Inline) {
                opened.push_back({t});
                continue;
            }
            // Notes, shapes, destinations are kept whole.
            if (match_[i] < 0 || match_[i] >= to)
                return false;
            t = match_[i];
            break;
        case Token::Close:
            if (opened.empty())
                continue; // the end of a group opened before the text
            if (!opened.back().keeps) {
                std::fill(drop.begin() + opened.back().token, drop.begin() + t + 1, true);
                keeps = false;
            }
            opened.pop_back();
            break;
        case Token::Text:
        case Token::Hex:
            drop[i] = true;
            keeps = false;
            break;
        case Token::Symbol:
            drop[i] = isCharacterSymbol(k.symbol) || k.symbol == '\n';
            keeps = !drop[i];
            break;
        case Token::Word: {
            const std::string_view w = word(i);
            if ((among(w, kParagraphMarks) && w != "par") || w == "page" || w == "column")
                return false; // cells, rows, sections and pages cannot be joined
            drop[i] = w == "par" || among(w, kCharacters);
            keeps = !(drop[i] || w == "plain" || w == "uc" || isCharacterFormatting(w));
            break;
        }
        case Token::Binary:
            break;
        }
        if (keeps && !opened.empty())
            opened.back().keeps = true;
    }
    return true;
}

RtfText::Group RtfText::group(int open) const
{
    const auto next = static_cast<std::size_t>(open) + 1;
    if (isSymbol(next, '*')) {
        const std::string_view w = word(next + 1);
        return w == "footnote" || w == "shpinst" ? Group::Story : Group::Other;
    }
    const std::string_view w = word(next);
    if (among(w, kStories))
        return Group::Story;
    if (among(w, kOtherDestinations))
        return Group::Other;
    return Group::Inline;
}

bool RtfText::isCharacter(std::size_t index) const
{
    const Token& k = tokens_[index];
    return k.type == Token::Text || k.type == Token::Hex
           || (k.type == Token::Symbol && isCharacterSymbol(k.symbol))
           || (k.type == Token::Word && among(word(index), kCharacters));
}

bool RtfText::isParagraphMark(std::size_t index) const
{
    return isSymbol(index, '\n') || among(word(index), kParagraphMarks);
}

int RtfText::characterBefore(int from, int limit, bool withinParagraph, int* stop) const
{
    const auto found = [stop](int at, int result) {
        if (stop)
            *stop = at;
        return result;
    };
    for (int t = from - 1; t > limit; --t) {
        const auto i = static_cast<std::size_t>(t);
        const Token& k = tokens_[i];
        if (k.type == Token::Close) {
            const int open = match_[i];
            if (open >= 0 && group(open) != Group::Inline)
                t = open; // a note, a shape, a bookmark: not this text
        } else if (k.type == Token::Open) {
            if (group(t) != Group::Inline)
                return found(t, -1); // the start of a header, a note, the document
        } else if (isParagraphMark(i)) {
            return found(t, withinParagraph ? -1 : t);
        } else if (isCharacter(i)) {
            return found(t, t);
        }
    }
    return found(limit, -1);
}

int RtfText::characterAfter(int from, int* stop) const
{
    const auto found = [stop](int at, int result) {
        if (stop)
            *stop = at;
        return result;
    };
    for (int t = from; t < static_cast<int>(tokens_.size()); ++t) {
        const auto i = static_cast<std::size_t>(t);
        const Token& k = tokens_[i];
        if (k.type == Token::Open) {
            if (group(t) != Group::Inline) {
                if (match_[i] < 0)
                    return found(static_cast<int>(tokens_.size()), -1);
                t = match_[i];
            }
        } else if (k.type == Token::Close) {
            if (match_[i] < 0 || group(match_[i]) != Group::Inline)
                return found(t, -1); // the end of a header, a note, the document
        } else if (isParagraphMark(i) || isCharacter(i)) {
            return found(t, t);
        }
    }
    return found(static_cast<int>(tokens_.size()), -1);
}

QString RtfText::textBetween(int from, int to, std::vector<Span>* spans) const
{
    std::vector<int> ucs;
    int uc = 1;
    int fallback = 0; // bytes still to skip after a \u
    CodePage decode(codePage_);
    QString out;
    const auto put = [&](QChar c, const Token& k) {
        out += c;
        if (spans)
            spans->push_back({k.offset, k.offset + k.length});
    };
    const auto skipped = [&](int end) { // the fallback belongs to its \u
        if (spans && !spans->empty())
            spans->back().to = end;
    };
    const auto add = [&](QChar c, const Token& k) {
        if (fallback > 0) {
            --fallback;
            skipped(k.offset + k.length);
        } else {
            put(c, k);
        }
    };
    // Bytes of the code page one at a time, for where each character
    // (of one byte or two) lies.
    int pending = -1; // where the bytes not yet a character start
    const auto bytes = [&](const QByteArray& data, int offset, int end) {
        if (!spans) {
            out += decode(data);
            return;
        }
        for (qsizetype b = 0; b < data.size(); ++b) {
            const QString got = decode(data.mid(b, 1));
            if (got.isEmpty()) {
                if (pending < 0)
                    pending = offset + static_cast<int>(b);
                continue;
            }
            const int start = pending < 0 ? offset + static_cast<int>(b) : pending;
            pending = -1;
            for (const QChar c : got) {
                out += c;
                spans->push_back({start, end < 0 ? offset + static_cast<int>(b) + 1 : end});
            }
        }
    };
    for (int t = from; t < to; ++t) {
        const auto i = static_cast<std::size_t>(t);
        const Token& k = tokens_[i];
        switch (k.type) {
        case Token::Open:
            if (group(t) != Group::Inline) {
                t = match_[i] < 0 ? to : match_[i];
            } else {
                ucs.push_back(uc);
            }
            break;
        case Token::Close:
            if (!ucs.empty()) {
                uc = ucs.back();
                ucs.pop_back();
            }
            break;
        case Token::Text: {
            const int skip = std::min(fallback, static_cast<int>(k.length));
            fallback -= skip;
            if (skip > 0)
                skipped(k.offset + skip);
            bytes(data_.mid(k.offset + skip, k.length - skip), k.offset + skip, -1);
            break;
        }
        case Token::Hex:
            if (fallback > 0) {
                --fallback;
                skipped(k.offset + k.length);
            } else {
                bytes(QByteArray(1, static_cast<char>(k.hex)), k.offset, k.offset + k.length);
            }
            break;
        case Token::Symbol:
            if (k.symbol == '\\' || k.symbol == '{' || k.symbol == '}')
                add(QLatin1Char(k.symbol), k);
            else if (k.symbol == '~')
                add(QChar(0x00A0), k);
            else if (k.symbol == '_')
                add(QChar(0x2011), k);
            else if (k.symbol == '\n')
                put(QLatin1Char('\n'), k);
            break;
        case Token::Word: {
            const std::string_view w = word(i);
            if (w == "par" || w == "line") {
                put(QLatin1Char('\n'), k);
            } else if (w == "tab" || w == "cell") {
                put(QLatin1Char('\t'), k);
            } else if (w == "uc") {
                uc = k.param;
            } else if (w == "u") {
                put(QChar(static_cast<char16_t>(k.param < 0 ? k.param + 65536 : k.param)), k);
                fallback = std::max(uc, 0);
            } else {
                static const std::map<std::string_view, char16_t> symbols = {
                    {"emdash", 0x2014}, {"endash", 0x2013}, {"bullet", 0x2022},   {"lquote", 0x2018},
                    {"rquote", 0x2019}, {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"emspace", 0x2003},
                    {"enspace", 0x2002},
                };
                const auto s = symbols.find(w);
                if (s != symbols.end())
                    add(QChar(s->second), k);
            }
            break;
        }
        case Token::Binary:
            break;
        }
    }
    return out;
}

void RtfText::appendEncoded(QByteArray& out, const QString& text) const
{
    // Mostly plain ASCII, copied at once.
    char plain[64];
    qsizetype n = 0;
    for (; n < text.size() && n < qsizetype(sizeof plain); ++n) {
        const char16_t u = text.at(n).unicode();
        if (u < 0x20 || u >= 0x7F || u == '\\' || u == '{' || u == '}')
            break;
        plain[n] = static_cast<char>(u);
    }
    if (n == text.size()) {
        out.append(plain, n);
        return;
    }
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\n') {
            out += "\\par ";
        } else if (u == '\t') {
            out += "\\tab ";
        } else if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += static_cast<char>(u);
        } else if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (codePage_ == 1252 && fitsCp1252(QString(c))) {
            out += "\\'" + toCp1252(QString(c)).toHex();
        } else {
            const int value = u > 32767 ? u - 65536 : u;
            out += "{\\uc1\\u" + QByteArray::number(value) + "?}";
        }
    }
}

bool RtfText::storyHolds(int open, const QString& wanted) const
{
    const auto collapsed = [](const QString& text) {
        QString out;
        out.reserve(text.size());
        for (const QChar c : text) {
            if (!c.isSpace())
                out += c;
            else if (!out.endsWith(u' '))
                out += u' ';
        }
        return out;
    };
    constexpr int kStretch = 1 << 16; // tokens
    const int close = match_[static_cast<std::size_t>(open)];
    QString carried; // the end of the stretches read, which a match may start in
    for (int from = open + 1; from < close;) {
        int to = from;
        for (int n = 0; to < close && n < kStretch; ++n) {
            const int other = match_[static_cast<std::size_t>(to)];
            to = tokens_[static_cast<std::size_t>(to)].type == Token::Open && other > to && other < close
                     ? other + 1
                     : to + 1;
        }
        const QString seen = collapsed(carried + textBetween(from, to));
        if (seen.contains(wanted))
            return true;
        carried = seen.right(wanted.size());
        from = to;
    }
    return false;
}

std::optional<std::vector<bool>> RtfText::drop(const std::vector<Removal>& removals)
{
    std::vector<int> splits;
    for (const Removal& r : removals) {
        for (const Span& s : r.texts)
            splits.insert(splits.end(), {s.from, s.to});
    }
    std::sort(splits.begin(), splits.end());
    read(splits); // every span now starts and ends between tokens
    const auto first = [this](int offset) {
        return static_cast<int>(
            std::lower_bound(tokens_.begin(), tokens_.end(), offset, [](const Token& t, int o) { return t.offset < o; })
            - tokens_.begin());
    };
    std::vector<Range> ranges;
    for (std::size_t r = 0; r < removals.size(); ++r) {
        for (const Span& s : removals[r].texts)
            ranges.push_back({first(s.from), first(s.to), r, true});
        for (const Span& s : removals[r].groups)
            ranges.push_back({first(s.from), first(s.to), r, false});
    }
    std::sort(ranges.begin(), ranges.end(),
              [](const Range& a, const Range& b) { return a.from != b.from ? a.from < b.from : a.to < b.to; });
    std::vector<int> breaks;
    if (!apart(ranges, breaks))
        return std::nullopt;

    std::vector<bool> drop(tokens_.size(), false);
    std::vector<bool> taken(removals.size(), true);
    for (std::size_t r = 0; r < removals.size(); ++r) {
        for (const Span& s : removals[r].texts) {
            if (!dropText(first(s.from), first(s.to), drop)) {
                taken[r] = false;
                break;
            }
        }
        if (taken[r]) {
            for (const Span& s : removals[r].groups)
                std::fill(drop.begin() + first(s.from), drop.begin() + first(s.to), true);
        } else {
            for (const Span& s : removals[r].texts) // what dropText() marked before it gave up
                std::fill(drop.begin() + first(s.from), drop.begin() + first(s.to), false);
        }
    }
    if (std::find(taken.begin(), taken.end(), true) != taken.end())
        dropTokens(drop, breaks);
    return taken;
}

bool RtfText::apart(const std::vector<Range>& ranges, std::vector<int>& breaks) const
{
    const auto decides = [this](int t) { // where a text's start is looked for, back from it
        const auto i = static_cast<std::size_t>(t);
        return (tokens_[i].type == Token::Open && group(t) == Group::Inline)
            || (tokens_[i].type == Token::Word && !isCharacter(i) && !isParagraphMark(i) && word(i) != "page"
                && word(i) != "column");
    };
    for (std::size_t i = 1, last = 0; i < ranges.size(); ++i) {
        const Range& before = ranges[last]; // of those before, the one that ends last
        const Range& range = ranges[i];
        if (range.removal != before.removal) {
            if (range.from < before.to)
                return false;
            if (before.text || range.text) {
                int t = before.to;
                while (t < range.from && decides(t))
                    ++t;
                if (t == range.from)
                    return false;
            } else if (range.from == before.to) {
                breaks.push_back(range.from);
            }
        }
        if (range.to >= before.to)
            last = i;
    }
    return true;
}

void RtfText::dropTokens(const std::vector<bool>& drop, const std::vector<int>& breaks)
{
    // The bytes that stay, and where a control word left before text that
    // would run into it takes its blank; the new file is made only once the
    // tokens are given up.
    struct Kept {
        int from;
        int to;
        bool blank; // a blank follows
    };
    std::vector<Kept> kept;
    int copied = 0;
    bool dropping = false;
    bool bareWord = false; // the kept bytes end in a control word with no blank
    auto nextBreak = breaks.begin();
    for (std::size_t t = 0; t < tokens_.size(); ++t) {
        const Token& k = tokens_[t];
        if (drop[t]) {
            while (nextBreak != breaks.end() && *nextBreak < static_cast<int>(t))
                ++nextBreak;
            // Another removal's tokens right after one's: what stands between
            // them stays, and the control word before the first is followed
            // by it, not by what comes after both.
            if (dropping && nextBreak != breaks.end() && *nextBreak == static_cast<int>(t) && copied < k.offset)
                dropping = false;
            if (!dropping) {
                bareWord = t > 0 && tokens_[t - 1].type == Token::Word
                           && tokens_[t - 1].offset + tokens_[t - 1].length == k.offset
                           && data_.at(k.offset - 1) != ' ';
                kept.push_back({copied, k.offset, false});
            }
            copied = k.offset + k.length;
            dropping = true;
            continue;
        }
        if (dropping && bareWord) {
            const char next = data_.at(copied);
            kept.back().blank = isLetter(next) || isDigit(next) || next == ' ' || next == '-';
        }
        dropping = false;
    }
    kept.push_back({copied, static_cast<int>(data_.size()), false});

    releaseTokens();
    QByteArray out;
    out.reserve(data_.size());
    for (const Kept& k : kept) {
        out.append(data_.constData() + k.from, k.to - k.from);
        if (k.blank)
            out += ' ';
    }
    data_ = std::move(out);
}

RtfText::Span RtfText::reorderGroups(const std::vector<int>& groups, const std::vector<int>& order)
{
    const int first = groups.front();
    const int last = match_[static_cast<std::size_t>(groups.back())];
    const int start = tokens_[static_cast<std::size_t>(first)].offset;
    const int end = tokens_[static_cast<std::size_t>(last)].offset + 1;
    QByteArray bytes;
    bytes.reserve(end - start);
    std::vector<Token> tokens;
    std::vector<int> match;
    for (const int g : order) {
        const auto open = static_cast<std::size_t>(g);
        const auto close = static_cast<std::size_t>(match_[open]);
        const int from = tokens_[open].offset;
        const int shift = start + static_cast<int>(bytes.size()) - from;
        const int moved = first + static_cast<int>(tokens.size()) - g;
        bytes.append(data_.constData() + from, tokens_[close].offset + 1 - from);
        for (std::size_t t = open; t <= close; ++t) {
            tokens.push_back(tokens_[t]);
            tokens.back().offset += shift;
            match.push_back(match_[t] < 0 ? -1 : match_[t] + moved);
        }
    }
    const Span left{start + static_cast<int>(bytes.size()), end};
    // The line breaks between them, which go, after them until the file is
    // made anew.
    for (std::size_t i = 0; i + 1 < groups.size(); ++i) {
        const int after = tokens_[static_cast<std::size_t>(match_[static_cast<std::size_t>(groups[i])])].offset + 1;
        bytes.append(data_.constData() + after, tokens_[static_cast<std::size_t>(groups[i + 1])].offset - after);
    }
    std::copy(bytes.begin(), bytes.end(), data_.begin() + start);
    std::copy(tokens.begin(), tokens.end(), tokens_.begin() + first);
    std::copy(match.begin(), match.end(), match_.begin() + first);
    return left;
}

void RtfText::replaceBytes(int from, int to, const QByteArray& bytes)
{
    releaseTokens();
    QByteArray out;
    out.reserve(data_.size() - (to - from) + bytes.size());
    out.append(data_.constData(), from);
    out.append(bytes);
    out.append(data_.constData() + to, data_.size() - to);
    data_ = std::move(out);
}

void RtfText::releaseTokens()
{
    std::vector<Token>().swap(tokens_);
    std::vector<int>().swap(match_);
}

} // namespace platform::detail::rtf
