// Rich text: the file is kept as it was read, byte for byte; insertions are
// placed between its tokens when it is written.
#include "platform/DocumentBody.h"
#include "platform/DocumentInsertions.h"
#include "platform/RtfEdits.h"
#include "platform/RtfText.h"

#include <QSet>

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <vector>

namespace platform::detail {

namespace {

using namespace rtf;

class RtfBody final : public DocumentBody, private RtfText {
public:
    explicit RtfBody(QByteArray data)
    {
        data_ = std::move(data);
        if (!read({}, tokenLimit(data_.size())))
            throw TooLarge{};
        findMarks();
        recordsAt_ = headerEnd();
    }

    bool valid() const
    {
        std::size_t first = 0;
        while (first < tokens_.size() && tokens_[first].type == Token::Text
               && data_.mid(tokens_[first].offset, tokens_[first].length).trimmed().isEmpty())
            ++first;
        return first < tokens_.size() && tokens_[first].type == Token::Open && word(first + 1) == "rtf";
    }

    QStringList bookmarkNames() override
    {
        materialize();
        QStringList names = names_;
        QSet<QString> recorded; // a damaged file may record one twice
        for (const Record& r : records_) {
            if (!recorded.contains(r.name) && !marks_.count(r.name))
                names << r.name;
            recorded << r.name;
        }
        return names;
    }

    bool hasBookmark(const QString& name) override { return find(name) != nullptr; }

    bool hasEnd(const QString& name) override
    {
        const Mark* m = find(name);
        return m && m->endOpen >= 0;
    }

    QString bookmarkText(const QString& name) override
    {
        materialize();
        if (const Record* r = record(name)) {
            const Mark* m = find(r->insertion.bookmark);
            const auto region = m && m->endOpen >= 0 ? regionOf(*r, *m) : std::nullopt;
            return region ? region->text : QString();
        }
        const Mark* m = find(name); // gone with an insertion taken out before
        if (!m || m->endOpen < 0)
            return {};
        return textBetween(m->startClose + 1, m->endOpen);
    }

    // The text goes just before the bookmark's end group (before an empty
    // one that shares its place with others, see placeFor()), in the
    // formatting of the character before it: in a group of its own that sets
    // it, unless it is in force there already. LibreOffice reads bookmarks
    // that hold or touch another back from rich text under each other's
    // names, so the insertion is marked by no bookmark: it is recorded apart,
    // in a document variable of its name.
    void insert(const QString& bookmark, const QString& text, const QString& insertionName) override
    {
        const Mark* found = find(bookmark);
        if (found->endOpen < 0)
            return;
        const auto [at, placed] = placeFor(bookmark, *found);
        const Mark& m = *placed;
        QByteArray& bytes = edits_.bytes();
        qsizetype from = bytes.size();
        const int model = reference(m);
        const bool alike = formattedAlike(model, at);
        // A group of its own also keeps it from running into a control word.
        const bool own = !alike || endsInBareWord(at);
        if (own)
            bytes.append('{');
        if (!alike) {
            if (!knowsFormatting(model)) { // for every bookmark at once, from here to the next reading
                std::vector<int> models{model};
                for (const auto& [name, each] : marks_) {
                    if (each.endOpen >= 0)
                        models.push_back(reference(each));
                }
                findFormatting(std::move(models));
            }
            appendFormatting(bytes, model);
        }
        appendEncoded(bytes, text);
        if (own)
            bytes.append('}');
        edits_.add(tokens_[static_cast<std::size_t>(at)].offset, from, RtfEdits::Kind::Value);
        from = bytes.size();
        bytes.append("{\\*\\docvar {");
        appendEncoded(bytes, insertionName);
        bytes.append("}{").append(insertionExtent(text)).append("}}");
        const auto recorded = parseInsertionName(insertionName.trimmed()); // as the record reads
        edits_.add(recordsAt_, from, RtfEdits::Kind::Record, recorded ? recorded->bookmark : QString());
    }

    bool removeWithText(const QString& name) override
    {
        materialize();
        const auto r = removal(name);
        const auto taken = r ? drop({*r}) : std::nullopt;
        index();
        return taken && taken->front();
    }

    // All at once, when their texts stand apart: one reading of the file,
    // not one for each insertion.
    std::vector<std::optional<QString>> removeInsertions(const QStringList& names) override
    {
        materialize();
        std::vector<std::optional<QString>> taken(static_cast<std::size_t>(names.size()));
        std::vector<Removal> removals;
        std::vector<std::size_t> of; // the name of each removal
        for (qsizetype i = 0; i < names.size(); ++i) {
            const auto insertion = parseInsertionName(names.at(i));
            const QString text = bookmarkText(names.at(i));
            const auto r =
                insertion && sameInsertion(text, insertion->fingerprint) ? removal(names.at(i)) : std::nullopt;
            if (!r)
                continue;
            taken[static_cast<std::size_t>(i)] = text;
            removals.push_back(*r);
            of.push_back(static_cast<std::size_t>(i));
        }
        if (removals.empty())
            return taken;
        const auto dropped = drop(removals);
        index();
        if (!dropped)
            return DocumentBody::removeInsertions(names); // one after another
        for (std::size_t r = 0; r < removals.size(); ++r) {
            if (!(*dropped)[r])
                taken[of[r]].reset();
        }
        return taken;
    }

    bool keepsHiddenCopy(const QString& text) override
    {
        const QString wanted = text.simplified();
        if (wanted.isEmpty())
            return false;
        materialize();
        const auto anyHolds = [&](bool inText) {
            return std::any_of(stories_.begin(), stories_.end(), [&](const auto& story) {
                return story.second == inText && storyHolds(story.first, wanted);
            });
        };
        return anyHolds(false) && !anyHolds(true);
    }

    QByteArray serialize() override { return edits_.applied(data_); }

    // Written in pieces: a large file is not held twice.
    bool write(QIODevice& out) override { return edits_.write(data_, out); }

private:
    struct Mark {
        int startOpen = -1;
        int startClose = -1;
        int endOpen = -1;
        int endClose = -1;
    };
    // A bookmark in another destination: a copy of the document's text.
    struct Copy {
        QString name;
        Mark mark;
    };
    // An insertion recorded in a document variable: it ends where its
    // bookmark does, before the insertions made there after it.
    struct Record {
        QString name;
        InsertionName insertion;
        QString extent;
        int open;
        int close;
    };
    // The bookmark of that name in the document's text; null when there is
    // none. Insertions add none.
    const Mark* find(const QString& name) const
    {
        const auto it = marks_.find(name);
        return it == marks_.end() ? nullptr : &it->second;
    }

    const Record* record(const QString& name) const
    {
        const auto r = std::find_if(records_.begin(), records_.end(), [&](const Record& r) { return r.name == name; });
        return r == records_.end() ? nullptr : &*r;
    }

    static bool madeAfter(const Record& a, const Record& b)
    {
        const QString& x = a.insertion.number;
        const QString& y = b.insertion.number;
        return x.size() != y.size() ? x.size() > y.size() : x > y;
    }

    struct Region {
        Span span; // the bytes it takes in the file
        QString text;
    };

    // Where the recorded insertion lies before the end of `m`, a bookmark or
    // a copy of it, its text the insertion's: looked for in the bookmark's
    // text, or, when LibreOffice has given the bookmark's start to another
    // that touches it, in the text of its story before its end.
    std::optional<Region> regionOf(const Record& r, const Mark& m) const
    {
        std::vector<const Record*> after; // nearer the end
        for (const Record& other : records_) {
            if (madeAfter(other, r) && BookmarkNameEqual()(other.insertion.bookmark, r.insertion.bookmark))
                after.push_back(&other);
        }
        std::sort(after.begin(), after.end(), [](const Record* a, const Record* b) { return madeAfter(*a, *b); });
        after.push_back(&r);
        bool shortOfText = false;
        if (auto found = regionIn(m.startClose + 1, r, m, after, shortOfText))
            return found;
        // In its story: the text before the bookmark's end read a stretch at a
        // time, further back while the insertions reach back to where it was
        // read from, rather than the story whole for each insertion.
        for (int runs = 4;; runs *= 4) {
            bool story = false;
            const int from = textBefore(m.endOpen, runs, story);
            const auto found = regionIn(from, r, m, after, shortOfText);
            if (story || !shortOfText)
                return found;
        }
    }

    // The region of `r`, `after` the insertions made after it there, in the
    // text from token `from` to the end of `m`. `shortOfText` when finding it
    // reached back to `from`, where reading from further back could find
    // another.
    std::optional<Region> regionIn(int from, const Record& r, const Mark& m, const std::vector<const Record*>& after,
                                   bool& shortOfText) const
    {
        std::vector<Span> spans;
        const QString text = textBetween(from, m.endOpen, &spans);
        qsizetype end = text.size();
        std::optional<qsizetype> start = end;
        for (const Record* each : after) {
            end = *start;
            if (!(start = insertionStart(QStringView(text).left(end), each->extent)))
                break;
        }
        shortOfText = !start || *start == 0;
        if (!start || !sameInsertion(text.mid(*start, end - *start), r.insertion.fingerprint))
            return std::nullopt;
        const auto at = static_cast<std::size_t>(*start);
        const int limit = at == 0 ? tokens_[static_cast<std::size_t>(from)].offset : spans[at - 1].to;
        return Region{{at == spans.size() ? limit : textStart(spans[at].from, limit),
                       end == text.size() ? tokens_[static_cast<std::size_t>(m.endOpen)].offset
                                          : spans[static_cast<std::size_t>(end)].from},
                      text.mid(*start, end - *start)};
    }

    // Where text inserted at the bookmark goes: the token it goes before.
    // LibreOffice 7.4 writes the bookmarks that start at a place before those
    // that end there, and reads a bookmark group that comes while the
    // bookmark started last is still open as naming that one: bookmarks that
    // touch come back under each other's names, and some are lost at its
    // next save, unless they are all empty at one place. So text inserted at
    // an empty bookmark that shares its place with others goes before it,
    // after those there that end a text (theirs, or filled in before); the
    // rest stay with it after the text. Filled one after another, each then
    // stands alone after its own text, which is where it is looked for. Text
    // inserted in a bookmark that holds some goes in it, at its end.
    // With the token, the bookmark as it stands once the place is made.
    //
    // A bookmark that shares its place is placed as in the file with all the
    // text written before it; one that stands alone as in the file with the
    // text written before the last value at a shared place (RtfEdits::Edit::
    // seen). The file is read again for it only when such text stands where
    // it is looked at: values at places of their own cost no reading of it.
    std::pair<int, const Mark*> placeFor(const QString& bookmark, const Mark& found)
    {
        const Mark* m = &found;
        if (writtenWithin(aloneReach(*m), true)) {
            materializeSeen();
            m = find(bookmark);
        }
        if (!sharesPlace(*m)) {
            const Mark& apart = standApart(bookmark, *m);
            return {apart.endOpen, &apart};
        }
        edits_.seeAll();
        std::vector<int> groups = sharedPlace(*m);
        if (groups.empty() || writtenWithin(sharedReach(groups), false) || valueAmongHeaders()) {
            materialize(); // text already inserted may stand between them
            m = find(bookmark);
            groups = sharedPlace(*m);
        }
        if (groups.size() <= 2) {
            const Mark& apart = standApart(bookmark, *m);
            return {apart.endOpen, &apart};
        }
        arrange(*m, groups);
        m = find(bookmark);
        return {m->startOpen, m};
    }

    // The tokens looked at to place text at a bookmark that stands alone:
    // the bookmark, the tokens next to it, and those back (or on) to the
    // character whose formatting it takes (reference()).
    std::pair<int, int> aloneReach(const Mark& m) const
    {
        std::pair<int, int> reach{m.startOpen, m.endClose + 1};
        if (characterBefore(m.endOpen, m.startClose, false) < 0) {
            int stop = 0;
            const bool before = characterBefore(m.startOpen, -1, true, &stop) >= 0;
            reach.first = std::min(reach.first, stop + 1);
            if (!before) {
                characterAfter(m.endClose + 1, &stop);
                reach.second = std::max(reach.second, stop);
            }
        }
        return reach;
    }

    // The same for an empty bookmark whose place is the bookmark groups
    // opening at `groups`.
    std::pair<int, int> sharedReach(const std::vector<int>& groups) const
    {
        const int after = match_[static_cast<std::size_t>(groups.back())] + 1;
        std::pair<int, int> reach{groups.front(), after};
        int stop = 0;
        const bool before = characterBefore(groups.front(), -1, true, &stop) >= 0;
        reach.first = std::min(reach.first, stop + 1);
        if (!before) {
            characterAfter(after, &stop);
            reach.second = std::max(reach.second, stop);
        }
        return reach;
    }

    // Whether text written (values and records, or of them only those seen)
    // stands just before one of the tokens `reach` spans.
    bool writtenWithin(std::pair<int, int> reach, bool seenOnly) const
    {
        return std::any_of(edits_.edits().begin(), edits_.edits().end(), [&](const RtfEdits::Edit& e) {
            if (e.kind == RtfEdits::Kind::Gap || (seenOnly && !e.seen))
                return false;
            const auto at = std::lower_bound(tokens_.begin(), tokens_.end(), e.offset,
                                             [](const Token& k, int o) { return k.offset < o; })
                - tokens_.begin();
            return at >= reach.first && at <= reach.second;
        });
    }

    // Whether a value written stands where the header's tables end or before
    // (a bookmark right after them): read again, the file's records would go
    // elsewhere (headerEnd()).
    bool valueAmongHeaders() const
    {
        return std::any_of(edits_.edits().begin(), edits_.edits().end(), [this](const RtfEdits::Edit& e) {
            return e.kind == RtfEdits::Kind::Value && e.offset <= recordsAt_;
        });
    }

    // Whether the empty bookmark shares its place with other bookmarks, as
    // sharedPlace() finds them, without making their list.
    bool sharesPlace(const Mark& m) const
    {
        int t = m.startClose + 1;
        while (t < m.endOpen && isBookmarkAt(t))
            t = match_[static_cast<std::size_t>(t)] + 1;
        if (t != m.endOpen)
            return false;
        if (m.endOpen != m.startClose + 1)
            return true; // others between its start and its end
        const auto before = static_cast<std::size_t>(m.startOpen - 1);
        return (m.startOpen > 0 && tokens_[before].type == Token::Close && isBookmarkAt(match_[before]))
               || isBookmarkAt(m.endClose + 1);
    }

    bool isBookmarkAt(int t) const
    {
        const auto i = static_cast<std::size_t>(t);
        return i < tokens_.size() && tokens_[i].type == Token::Open && match_[i] >= 0 && isBookmarkGroup(t);
    }

    // The bookmark groups that stand one after another where an empty
    // bookmark stands, its own among them; none when it holds any text.
    std::vector<int> sharedPlace(const Mark& m) const
    {
        int t = m.startClose + 1;
        while (t < m.endOpen && isBookmarkAt(t))
            t = match_[static_cast<std::size_t>(t)] + 1;
        if (t != m.endOpen)
            return {};
        int first = m.startOpen;
        while (first > 0 && tokens_[static_cast<std::size_t>(first - 1)].type == Token::Close
               && isBookmarkAt(match_[static_cast<std::size_t>(first - 1)]))
            first = match_[static_cast<std::size_t>(first - 1)];
        std::vector<int> groups;
        for (t = first; isBookmarkAt(t); t = match_[static_cast<std::size_t>(t)] + 1)
            groups.push_back(t);
        return groups;
    }

    // Puts the groups of a place the empty bookmark `m` shares in the order
    // text inserted at it needs: first those of the bookmarks that end a
    // text there (the end of one that holds text; an empty one filled in
    // before), then its own, then the others.
    void arrange(const Mark& m, const std::vector<int>& groups)
    {
        const auto nameOf = [this](int open) { return groupText(open, match_[static_cast<std::size_t>(open)]); };
        const auto starts = [this](int open) { return word(static_cast<std::size_t>(open) + 2) == "bkmkstart"; };
        std::vector<int> before;
        std::vector<int> after{m.startOpen, m.endOpen};
        for (const int g : groups) {
            if (g == m.startOpen || g == m.endOpen)
                continue;
            const QString name = nameOf(g);
            bool startsHere = false;
            bool endsHere = false;
            for (const int other : groups) {
                if (BookmarkNameEqual()(nameOf(other), name))
                    (starts(other) ? startsHere : endsHere) = true;
            }
            (endsHere && (!startsHere || filled(name)) ? before : after).push_back(g);
        }
        before.insert(before.end(), after.begin(), after.end());
        if (before == groups)
            return;
        // In place: the file is not made anew, nor read again.
        const Span left = reorderGroups(groups, before);
        if (left.to > left.from)
            edits_.leaveOut(left.from, left.to - left.from);
        pairAgain(groups.front(), match_[static_cast<std::size_t>(groups.back())]);
    }

    // Whether a value was written at the bookmark: recorded in the file, or
    // to be.
    bool filled(const QString& bookmark) const
    {
        const auto recorded = [&](const Record& r) { return BookmarkNameEqual()(r.insertion.bookmark, bookmark); };
        const auto written = [&](const RtfEdits::Edit& e) {
            return e.kind == RtfEdits::Kind::Record && !e.bookmark.isEmpty()
                && BookmarkNameEqual()(e.bookmark, bookmark);
        };
        return std::any_of(records_.begin(), records_.end(), recorded)
            || std::any_of(edits_.edits().begin(), edits_.edits().end(), written);
    }

    // The bookmarks with groups among tokens [first, last], which were put in
    // another order, paired again as findMarks() pairs them: each its first
    // start in the document's text with the first end after it.
    void pairAgain(int first, int last)
    {
        const auto here = [&](int t) { return t >= first && t <= last; };
        const auto starts = [this](int open) { return word(static_cast<std::size_t>(open) + 2) == "bkmkstart"; };
        std::vector<std::pair<QString, int>> groups;
        for (int t = first; t <= last; t = match_[static_cast<std::size_t>(t)] + 1)
            groups.emplace_back(groupText(t, match_[static_cast<std::size_t>(t)]), t);
        for (const auto& [name, open] : groups) {
            const auto found = marks_.find(name);
            if (found == marks_.end() || (!here(found->second.startOpen) && !here(found->second.endOpen)))
                continue;
            Mark& m = found->second;
            const auto next = [&](bool start, int after) {
                const auto g = std::find_if(groups.begin(), groups.end(), [&](const auto& each) {
                    return each.second > after && starts(each.second) == start && BookmarkNameEqual()(each.first, name);
                });
                return g == groups.end() ? -1 : g->second;
            };
            const int start = here(m.startOpen) ? next(true, -1) : m.startOpen;
            const int end = next(false, start);
            if (end < 0 && here(m.endOpen)) { // its end now before its start
                findMarks();
                return;
            }
            m.startOpen = start;
            m.startClose = match_[static_cast<std::size_t>(start)];
            if (end >= 0) {
                m.endOpen = end;
                m.endClose = match_[static_cast<std::size_t>(end)];
            }
        }
    }

    // The bytes of the group opening at `open`.
    QByteArray groupBytes(int open) const
    {
        const int from = tokens_[static_cast<std::size_t>(open)].offset;
        return data_.mid(from,
                         tokens_[static_cast<std::size_t>(match_[static_cast<std::size_t>(open)])].offset + 1 - from);
    }

    // The groups of the bookmarks that start where the bookmark ends (those
    // with no text between), before its end group.
    std::vector<int> startingAtEnd(const Mark& m) const
    {
        int first = m.endOpen;
        while (first > 0 && tokens_[static_cast<std::size_t>(first - 1)].type == Token::Close
               && match_[static_cast<std::size_t>(first - 1)] >= 0
               && isBookmarkGroup(match_[static_cast<std::size_t>(first - 1)]))
            first = match_[static_cast<std::size_t>(first - 1)];
        std::vector<int> groups;
        QStringList started;
        for (int t = first; t < m.endOpen; t = match_[static_cast<std::size_t>(t)] + 1) {
            if (t == m.startOpen)
                continue;
            const QString name = groupText(t, match_[static_cast<std::size_t>(t)]);
            if (word(static_cast<std::size_t>(t) + 2) == "bkmkstart")
                started << name;
            if (started.contains(name))
                groups.push_back(t);
        }
        return groups;
    }

    // Bookmarks that start where the bookmark ends are moved after its end,
    // so that text inserted at its end is in no other bookmark (LibreOffice
    // still reads them back under each other's names, as any that touch).
    // The bookmark as it then stands.
    const Mark& standApart(const QString& bookmark, const Mark& before)
    {
        if (startingAtEnd(before).empty())
            return before;
        materialize(); // text already inserted may stand between them
        const Mark& m = *find(bookmark);
        const std::vector<int> moved = startingAtEnd(m);
        if (moved.empty())
            return m;
        const int from = moved.front();
        QByteArray stay;
        QByteArray after;
        for (int t = from; t <= m.endOpen; t = match_[static_cast<std::size_t>(t)] + 1)
            (std::find(moved.begin(), moved.end(), t) != moved.end() ? after : stay) += groupBytes(t);
        const int start = tokens_[static_cast<std::size_t>(from)].offset;
        const int end = tokens_[static_cast<std::size_t>(m.endClose)].offset + 1;
        replaceBytes(start, end, stay + after);
        index();
        return *find(bookmark);
    }

    // What taking the insertion out takes: the text from the bookmark and
    // from every copy of it that holds it; a bookmark goes with its text from
    // everywhere. Nothing when its text is not where it is looked for.
    std::optional<Removal> removal(const QString& name) const
    {
        Removal out;
        const auto whole = [this](int open, int close) {
            return Span{tokens_[static_cast<std::size_t>(open)].offset,
                        tokens_[static_cast<std::size_t>(close)].offset + 1};
        };
        if (const Record* r = record(name)) {
            const Mark* m = find(r->insertion.bookmark);
            const auto main = m && m->endOpen >= 0 ? regionOf(*r, *m) : std::nullopt;
            if (!main)
                return std::nullopt;
            out.texts.push_back(main->span);
            for (const Copy& c : copies_) {
                if (c.mark.endOpen < 0 || !BookmarkNameEqual()(c.name, r->insertion.bookmark))
                    continue;
                if (const auto copy = regionOf(*r, c.mark))
                    out.texts.push_back(copy->span); // a copy without it was never filled
            }
            for (const Record& each : records_) {
                if (each.name == name)
                    out.groups.push_back(whole(each.open, each.close));
            }
            return out;
        }
        const Mark* m = find(name);
        if (!m || m->endOpen < 0)
            return std::nullopt;
        const auto insertion = parseInsertionName(name);
        std::vector<const Mark*> all{m};
        for (const Copy& c : copies_) {
            if (c.name == name)
                all.push_back(&c.mark);
        }
        for (const Mark* each : all) {
            if (each->endOpen < 0
                || (insertion
                    && !sameInsertion(textBetween(each->startClose + 1, each->endOpen), insertion->fingerprint)))
                return std::nullopt;
            out.texts.push_back({tokens_[static_cast<std::size_t>(each->startClose)].offset + 1,
                                 tokens_[static_cast<std::size_t>(each->endOpen)].offset});
            out.groups.push_back(whole(each->startOpen, each->startClose));
            out.groups.push_back(whole(each->endOpen, each->endClose));
        }
        return out;
    }

    // The character whose formatting text added at the bookmark takes: the
    // last one of its content; for an empty bookmark the one before it in
    // its paragraph, or at the start of a paragraph the next one or the
    // paragraph mark.
    int reference(const Mark& m) const
    {
        int t = characterBefore(m.endOpen, m.startClose, false);
        if (t < 0)
            t = characterBefore(m.startOpen, -1, true);
        if (t < 0)
            t = characterAfter(m.endClose + 1);
        return t < 0 ? m.endOpen : t;
    }

    // Bookmarks count where they stand in the document's text; those in
    // other destinations (LibreOffice's copies of headers and footers in its
    // page-style table, the drawing beside a shape) are not the document's,
    // but copies of it. Runs of text are split at `splits`.
    void index(const std::vector<int>& splits = {})
    {
        read(splits);
        findMarks();
        recordsAt_ = headerEnd();
        edits_.clear();
    }

    // The bookmarks, insertions and stories of the tokens read.
    void findMarks()
    {
        marks_.clear();
        names_.clear();
        copies_.clear();
        records_.clear();
        stories_.clear();
        std::vector<bool> text; // of each open group: it holds the document's text
        for (std::size_t t = 0; t < tokens_.size(); ++t) {
            if (tokens_[t].type == Token::Close) {
                if (!text.empty())
                    text.pop_back();
                continue;
            }
            if (tokens_[t].type != Token::Open)
                continue;
            const bool inText = text.empty() || text.back();
            const std::string_view kind = isSymbol(t + 1, '*') ? word(t + 2) : std::string_view();
            const int close = match_[t];
            if (close >= 0 && (kind == "bkmkstart" || kind == "bkmkend")) {
                addBookmark(groupText(static_cast<int>(t), close), static_cast<int>(t), close, kind == "bkmkstart",
                            inText);
            } else if (close >= 0 && kind == "docvar") {
                addRecord(static_cast<int>(t), close);
            } else {
                const Group g = group(static_cast<int>(t));
                if (g == Group::Story && close >= 0)
                    stories_.push_back({static_cast<int>(t), inText});
                text.push_back(inText && g != Group::Other);
                continue;
            }
            t = static_cast<std::size_t>(close);
        }
    }

    void addBookmark(const QString& name, int open, int close, bool start, bool inText)
    {
        if (!inText) {
            if (start) {
                copies_.push_back({name, Mark{open, close, -1, -1}});
                return;
            }
            for (auto c = copies_.rbegin(); c != copies_.rend(); ++c) {
                if (c->mark.endOpen < 0 && BookmarkNameEqual()(c->name, name)) {
                    c->mark.endOpen = open;
                    c->mark.endClose = close;
                    return;
                }
            }
            return;
        }
        const auto found = marks_.find(name);
        if (start && found == marks_.end() && !name.isEmpty()) {
            marks_.emplace(name, Mark{open, close, -1, -1});
            names_ << name;
        } else if (!start && found != marks_.end() && found->second.endOpen < 0) {
            found->second.endOpen = open;
            found->second.endClose = close;
        }
    }

    // A document variable "{\*\docvar {name}{value}}" that records one of
    // the program's insertions.
    void addRecord(int open, int close)
    {
        int parts[4] = {-1, -1, -1, -1}; // the name's group and the value's
        for (int t = open + 3, n = 0; t < close && n < 4; ++t) {
            if (tokens_[static_cast<std::size_t>(t)].type != Token::Open || match_[static_cast<std::size_t>(t)] < 0)
                continue;
            parts[n++] = t;
            parts[n++] = t = match_[static_cast<std::size_t>(t)];
        }
        if (parts[3] < 0)
            return;
        const QString name = textBetween(parts[0] + 1, parts[1]).trimmed();
        if (const auto insertion = parseInsertionName(name))
            records_.push_back({name, *insertion, textBetween(parts[2] + 1, parts[3]).trimmed(), open, close});
    }

    // Where the header's tables end (fonts, colours, styles, information):
    // new document variables go there, as word processors write them.
    int headerEnd() const
    {
        auto t = static_cast<std::size_t>(std::find_if(tokens_.begin(), tokens_.end(),
                                                       [](const Token& k) { return k.type == Token::Open; })
                                          - tokens_.begin())
                 + 1;
        while (t < tokens_.size() && tokens_[t].type == Token::Word) // \rtf1\ansi\ansicpg1252...
            ++t;
        while (t < tokens_.size() && tokens_[t].type == Token::Open && match_[t] >= 0
               && group(static_cast<int>(t)) == Group::Other)
            t = static_cast<std::size_t>(match_[t]) + 1;
        return t < tokens_.size() ? tokens_[t].offset : static_cast<int>(data_.size());
    }

    // Reads the file again with everything written in it.
    void materialize()
    {
        if (edits_.empty())
            return;
        releaseTokens();
        data_ = edits_.applied(data_);
        index();
    }

    // Reads the file again with what was written before the last value at a
    // bookmark sharing its place, as values at a bookmark that stands alone
    // are placed (see placeFor()); what was written since is still to be.
    void materializeSeen()
    {
        RtfEdits unseen = edits_.takeUnseen();
        materialize();
        edits_ = std::move(unseen);
    }

    std::unordered_map<QString, Mark, BookmarkNameHash, BookmarkNameEqual> marks_;
    QStringList names_;
    std::vector<Copy> copies_;
    std::vector<Record> records_;
    std::vector<std::pair<int, bool>> stories_; // where each opens; whether the document shows it
    int recordsAt_ = 0;                         // where new records go
    RtfEdits edits_;
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
