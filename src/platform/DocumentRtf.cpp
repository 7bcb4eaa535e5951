// Rich text: the file is kept as it was read, byte for byte; insertions are
// placed between its tokens when it is written.
#include "platform/DocumentBody.h"
#include "platform/Files.h"

#include <QByteArrayView>

#include <algorithm>
#include <map>
#include <set>
#include <vector>

namespace platform::detail {

namespace {

struct Token {
    enum Type : unsigned char { Open, Close, Word, Symbol, Hex, Text, Ignored };
    Type type;
    int offset;
    int length;
    int param = 0;
    bool hasParam = false;
    char symbol = 0;       // Symbol: the character after the backslash
    unsigned char hex = 0; // Hex: the byte
};

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::vector<Token> tokenize(const QByteArray& data)
{
    std::vector<Token> tokens;
    tokens.reserve(static_cast<std::size_t>(data.size() / 4));
    const char* d = data.constData();
    const int n = static_cast<int>(data.size());
    int i = 0;
    while (i < n) {
        const char c = d[i];
        if (c == '{' || c == '}') {
            tokens.push_back({c == '{' ? Token::Open : Token::Close, i, 1});
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
            if (QByteArrayView(d + t.offset + 1, 3) == "bin" && t.hasParam && t.param > 0
                && !isLetter(d[t.offset + 4])) {
                const int skip = std::min(t.param, n - i);
                tokens.push_back({Token::Ignored, i, skip});
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
            int j = i;
            while (j < n && (d[j] == '\r' || d[j] == '\n'))
                ++j;
            tokens.push_back({Token::Ignored, i, j - i});
            i = j;
        } else {
            int j = i + 1;
            while (j < n && d[j] != '{' && d[j] != '}' && d[j] != '\\' && d[j] != '\r' && d[j] != '\n')
                ++j;
            tokens.push_back({Token::Text, i, j - i});
            i = j;
        }
    }
    return tokens;
}

// Groups whose content is not text of the document.
const std::set<QByteArray>& destinations()
{
    static const std::set<QByteArray> names = {
        "fonttbl",   "colortbl",    "stylesheet", "info",       "pict",      "object",      "objdata",
        "fldinst",   "themedata",   "colorschememapping",       "datastore", "latentstyles", "listtable",
        "listoverridetable",        "rsidtbl",    "generator",  "xmlnstbl",  "mmathPr",     "pgdsctbl",
        "nonshppict", "shpinst",    "sp",         "sn",         "sv",        "upr",         "bkmkstart",
        "bkmkend",   "filetbl",     "revtbl",     "listtext",   "pntext",    "userprops",   "docvar",
    };
    return names;
}

// Groups text is never put into when it follows them: fields, pictures,
// shapes, notes, headers.
const std::set<QByteArray>& closedGroups()
{
    static const std::set<QByteArray> names = {
        "field",  "fldrslt", "shp",     "shpgrp",  "footnote", "annotation", "header",  "headerl",
        "headerr", "headerf", "footer", "footerl", "footerr",  "footerf",    "txbxcontent",
    };
    return names;
}

class RtfBody final : public DocumentBody {
public:
    explicit RtfBody(QByteArray data) : data_(std::move(data)) { index(); }

    bool valid() const
    {
        std::size_t first = 0;
        while (first < tokens_.size()
               && (tokens_[first].type == Token::Ignored
                   || (tokens_[first].type == Token::Text
                       && data_.mid(tokens_[first].offset, tokens_[first].length).trimmed().isEmpty())))
            ++first;
        return first < tokens_.size() && tokens_[first].type == Token::Open && isWord(first + 1, "rtf");
    }

    QStringList bookmarkNames() override
    {
        materialize();
        return names_;
    }

    bool hasBookmark(const QString& name) override
    {
        const QString key = name.toLower();
        return marks_.count(key) || pendingNames_.count(key);
    }

    QString bookmarkText(const QString& name) override
    {
        materialize();
        const Mark& m = marks_.at(name.toLower());
        if (m.endOpen < 0 || m.endOpen < m.startClose)
            return {};
        return textBetween(m.startClose + 1, m.endOpen);
    }

    void insert(const QString& bookmark, const QString& text, const QString& hiddenName) override
    {
        if (!marks_.count(bookmark.toLower()))
            materialize(); // a bookmark made by an earlier insertion
        const Mark& m = marks_.at(bookmark.toLower());
        const int at = insertionPoint(m);
        QByteArray bytes = "{\\*\\bkmkstart " + encode(hiddenName) + "}";
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                bytes += "\\par ";
            bytes += encode(lines[i]);
        }
        bytes += "{\\*\\bkmkend " + encode(hiddenName) + "}";
        pending_.push_back({at, std::move(bytes)});
        pendingNames_.insert(hiddenName.toLower());
    }

    bool removeWithText(const QString& name) override
    {
        materialize();
        const auto it = marks_.find(name.toLower());
        if (it == marks_.end())
            return false;
        const Mark m = it->second;
        if (m.endOpen < 0 || m.endOpen < m.startClose)
            return false;
        std::vector<bool> drop(tokens_.size(), false);
        std::vector<bool> skipping{false};
        for (int t = m.startClose + 1; t < m.endOpen; ++t) {
            const Token& k = tokens_[static_cast<std::size_t>(t)];
            if (k.type == Token::Open) {
                skipping.push_back(skipping.back() || opensDestination(t));
                continue;
            }
            if (k.type == Token::Close) {
                if (skipping.size() > 1)
                    skipping.pop_back();
                continue;
            }
            if (skipping.back())
                continue;
            if (k.type == Token::Text || k.type == Token::Hex) {
                drop[static_cast<std::size_t>(t)] = true;
            } else if (k.type == Token::Symbol) {
                drop[static_cast<std::size_t>(t)] = k.symbol != '*';
            } else if (k.type == Token::Word) {
                static const std::set<QByteArray> structure = {"cell", "row", "nestcell", "nestrow", "sect",
                                                               "page", "column"};
                static const std::set<QByteArray> text = {"par",    "tab",   "line",      "u",         "emdash",
                                                          "endash", "bullet", "lquote",   "rquote",    "ldblquote",
                                                          "rdblquote", "emspace", "enspace", "qmspace", "zwj",
                                                          "zwnj"};
                const QByteArray w = wordName(k);
                if (structure.count(w))
                    return false;
                drop[static_cast<std::size_t>(t)] = text.count(w) > 0;
            }
        }
        for (int t = m.startOpen; t <= m.startClose; ++t)
            drop[static_cast<std::size_t>(t)] = true;
        for (int t = m.endOpen; t <= m.endClose; ++t)
            drop[static_cast<std::size_t>(t)] = true;

        // A control word written without its delimiting blank gets one when
        // what followed it is removed, so it does not run into the next text.
        QByteArray out;
        out.reserve(data_.size());
        bool dropped = false;
        bool bareWord = false;
        for (std::size_t t = 0; t < tokens_.size(); ++t) {
            const Token& k = tokens_[t];
            if (drop[t]) {
                dropped = true;
                continue;
            }
            if (dropped && bareWord)
                out += ' ';
            dropped = false;
            out.append(data_.constData() + k.offset, k.length);
            bareWord = k.type == Token::Word && data_.at(k.offset + k.length - 1) != ' ';
        }
        data_ = std::move(out);
        index();
        return true;
    }

    QByteArray serialize() override { return withInsertions(); }

private:
    struct Mark {
        int startOpen = -1;
        int startClose = -1;
        int endOpen = -1;
        int endClose = -1;
    };
    struct Insertion {
        int offset;
        QByteArray bytes;
    };

    QByteArray wordName(const Token& t) const
    {
        int end = t.offset + 1;
        while (end < t.offset + t.length && isLetter(data_.at(end)))
            ++end;
        return data_.mid(t.offset + 1, end - t.offset - 1);
    }

    bool isWord(std::size_t index, const char* name) const
    {
        return index < tokens_.size() && tokens_[index].type == Token::Word && wordName(tokens_[index]) == name;
    }

    bool isSymbol(std::size_t index, char symbol) const
    {
        return index < tokens_.size() && tokens_[index].type == Token::Symbol && tokens_[index].symbol == symbol;
    }

    // The group opened at `open` is a destination whose content is not text.
    bool opensDestination(int open) const
    {
        const auto next = static_cast<std::size_t>(open) + 1;
        if (isSymbol(next, '*'))
            return true;
        return next < tokens_.size() && tokens_[next].type == Token::Word
               && destinations().count(wordName(tokens_[next]));
    }

    bool isBookmarkStart(int open) const
    {
        const auto i = static_cast<std::size_t>(open);
        return isSymbol(i + 1, '*') && isWord(i + 2, "bkmkstart");
    }

    // A group of plain text and formatting, which a following insertion may
    // join to take its formatting.
    bool isRunGroup(int open) const
    {
        const auto next = static_cast<std::size_t>(open) + 1;
        if (next >= tokens_.size() || tokens_[next].type == Token::Close || opensDestination(open))
            return false;
        return tokens_[next].type != Token::Word || !closedGroups().count(wordName(tokens_[next]));
    }

    // Where text added at the end of the bookmark goes: just before its end,
    // inside the group of the run before it so that it takes that run's
    // formatting, but never before the end of another bookmark.
    int insertionPoint(const Mark& m) const
    {
        if (m.endOpen < 0)
            return tokens_[static_cast<std::size_t>(m.startClose)].offset + 1;
        int at = tokens_[static_cast<std::size_t>(m.endOpen)].offset;
        int i = m.endOpen - 1;
        while (i >= 0) {
            const Token& t = tokens_[static_cast<std::size_t>(i)];
            if (t.type == Token::Ignored) {
                --i;
                continue;
            }
            if (t.type != Token::Close)
                break;
            const int open = match_[static_cast<std::size_t>(i)];
            if (open < 0)
                break;
            if (isBookmarkStart(open)) {
                i = open - 1;
                continue;
            }
            if (!isRunGroup(open))
                break;
            at = t.offset;
            --i;
        }
        return at;
    }

    QByteArray encode(const QString& text) const
    {
        QByteArray out;
        out.reserve(text.size() + 8);
        for (const QChar c : text) {
            const char16_t u = c.unicode();
            if (u == '\t') {
                out += "\\tab ";
            } else if (u == '\\' || u == '{' || u == '}') {
                out += '\\';
                out += static_cast<char>(u);
            } else if (u < 0x80) {
                out += static_cast<char>(u);
            } else {
                const QByteArray single = toCp1252(QString(c));
                if (ansi1252_ && single != "?") {
                    out += "\\'" + single.toHex();
                } else {
                    const int value = u > 32767 ? u - 65536 : u;
                    out += "{\\uc1\\u" + QByteArray::number(value) + "?}";
                }
            }
        }
        return out;
    }

    QString textBetween(int from, int to) const
    {
        struct State {
            bool skip;
            int uc;
        };
        std::vector<State> stack;
        State state{false, 1};
        int fallback = 0; // characters still to skip after a \u
        QString out;
        auto add = [&](QChar c) {
            if (fallback > 0)
                --fallback;
            else
                out += c;
        };
        for (int t = from; t < to; ++t) {
            const Token& k = tokens_[static_cast<std::size_t>(t)];
            switch (k.type) {
            case Token::Open:
                stack.push_back(state);
                if (opensDestination(t))
                    state.skip = true;
                break;
            case Token::Close:
                if (!stack.empty()) {
                    state = stack.back();
                    stack.pop_back();
                }
                break;
            case Token::Text:
                if (!state.skip) {
                    for (const QChar c : fromCp1252(data_.mid(k.offset, k.length)))
                        add(c);
                }
                break;
            case Token::Hex:
                if (!state.skip)
                    add(fromCp1252(QByteArray(1, static_cast<char>(k.hex))).at(0));
                break;
            case Token::Symbol:
                if (state.skip)
                    break;
                if (k.symbol == '\\' || k.symbol == '{' || k.symbol == '}')
                    add(QLatin1Char(k.symbol));
                else if (k.symbol == '~')
                    add(QChar(0x00A0));
                else if (k.symbol == '_')
                    add(QChar(0x2011));
                else if (k.symbol == '\n')
                    out += QLatin1Char('\n');
                break;
            case Token::Word: {
                if (state.skip)
                    break;
                const QByteArray w = wordName(k);
                if (w == "par" || w == "line") {
                    out += QLatin1Char('\n');
                } else if (w == "tab" || w == "cell") {
                    out += QLatin1Char('\t');
                } else if (w == "uc") {
                    state.uc = k.param;
                } else if (w == "u") {
                    fallback = 0;
                    out += QChar(static_cast<char16_t>(k.param < 0 ? k.param + 65536 : k.param));
                    fallback = state.uc;
                } else {
                    static const std::map<QByteArray, char16_t> symbols = {
                        {"emdash", 0x2014}, {"endash", 0x2013}, {"bullet", 0x2022},   {"lquote", 0x2018},
                        {"rquote", 0x2019}, {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"emspace", 0x2003},
                        {"enspace", 0x2002},
                    };
                    const auto s = symbols.find(w);
                    if (s != symbols.end())
                        add(QChar(s->second));
                }
                break;
            }
            case Token::Ignored:
                break;
            }
        }
        return out;
    }

    // The name written in a bookmark group: its text, without line breaks
    // (some writers wrap long lines) or surrounding blanks.
    QString groupText(int open, int close) const
    {
        QByteArray bytes;
        for (int t = open + 3; t < close; ++t) {
            const Token& k = tokens_[static_cast<std::size_t>(t)];
            if (k.type == Token::Text)
                bytes += data_.mid(k.offset, k.length);
            else if (k.type == Token::Hex)
                bytes += static_cast<char>(k.hex);
        }
        return fromCp1252(bytes).trimmed();
    }

    void index()
    {
        tokens_ = tokenize(data_);
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
        ansi1252_ = true;
        for (std::size_t t = 0; t < std::min<std::size_t>(tokens_.size(), 64); ++t) {
            if (isWord(t, "ansicpg"))
                ansi1252_ = tokens_[t].param == 1252;
        }
        marks_.clear();
        names_.clear();
        std::map<QString, std::vector<std::pair<int, int>>> ends;
        for (std::size_t t = 0; t + 2 < tokens_.size(); ++t) {
            if (tokens_[t].type != Token::Open || match_[t] < 0 || !isSymbol(t + 1, '*'))
                continue;
            const bool start = isWord(t + 2, "bkmkstart");
            if (!start && !isWord(t + 2, "bkmkend"))
                continue;
            const int open = static_cast<int>(t);
            const int close = match_[t];
            const QString name = groupText(open, close);
            if (name.isEmpty())
                continue;
            const QString key = name.toLower();
            if (start) {
                if (!marks_.count(key)) {
                    marks_[key] = Mark{open, close, -1, -1};
                    names_ << name;
                }
            } else {
                ends[key].emplace_back(open, close);
            }
        }
        for (auto& [key, mark] : marks_) {
            const auto found = ends.find(key);
            if (found == ends.end())
                continue;
            for (const auto& [open, close] : found->second) {
                if (open > mark.startClose) {
                    mark.endOpen = open;
                    mark.endClose = close;
                    break;
                }
            }
        }
        pending_.clear();
        pendingNames_.clear();
    }

    // The file with the pending insertions in place.
    QByteArray withInsertions()
    {
        if (pending_.empty())
            return data_;
        std::stable_sort(pending_.begin(), pending_.end(),
                         [](const Insertion& a, const Insertion& b) { return a.offset < b.offset; });
        qsizetype extra = 0;
        for (const auto& p : pending_)
            extra += p.bytes.size();
        QByteArray out;
        out.reserve(data_.size() + extra);
        int copied = 0;
        for (const auto& p : pending_) {
            out.append(data_.constData() + copied, p.offset - copied);
            out += p.bytes;
            copied = p.offset;
        }
        out.append(data_.constData() + copied, data_.size() - copied);
        return out;
    }

    // Reads the file again with the insertions in it, to find them.
    void materialize()
    {
        if (pending_.empty())
            return;
        data_ = withInsertions();
        index();
    }

    QByteArray data_;
    std::vector<Token> tokens_;
    std::vector<int> match_;
    bool ansi1252_ = true;
    std::map<QString, Mark> marks_;
    QStringList names_;
    std::vector<Insertion> pending_;
    std::set<QString> pendingNames_;
};

} // namespace

std::unique_ptr<DocumentBody> readRtf(const QByteArray& bytes)
{
    auto body = std::make_unique<RtfBody>(bytes);
    if (!body->valid())
        return nullptr;
    return body;
}

} // namespace platform::detail
