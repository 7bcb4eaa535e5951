// Rich text: the character formatting in force at a place, which text
// inserted there sets again.
#include "platform/RtfText.h"

#include <algorithm>

namespace platform::detail::rtf {

namespace {

// Control words after which formatting words set that of another kind of
// text (of one byte or two, of either direction): where they stand, the
// order of every word counts.
constexpr std::string_view kContexts[] = {"dbch", "fcs", "hich", "loch", "ltrch", "rtlch"};
static_assert(std::is_sorted(std::begin(kContexts), std::end(kContexts)));

} // namespace

bool RtfText::formattedAlike(int model, int at) const
{
    if (model >= at)
        return false;
    for (int t = model + 1; t < at; ++t) {
        const auto i = static_cast<std::size_t>(t);
        if (tokens_[i].type == Token::Open) {
            if (match_[i] < 0 || match_[i] >= at)
                return false;
            t = match_[i];
        } else if (tokens_[i].type == Token::Close) {
            return false;
        } else if (tokens_[i].type == Token::Word) {
            const std::string_view w = word(i);
            if (w == "plain" || isCharacterFormatting(w))
                return false;
        }
    }
    return true;
}

void RtfText::findFormatting(std::vector<int> places) const
{
    std::sort(places.begin(), places.end());
    // Of the formatting words in force, after the last \plain, the last of
    // each name (the others set nothing it does not set again); none known
    // once a word of kContexts is among them.
    struct InForce {
        std::vector<std::pair<int, std::string_view>> words; // each with its name
        bool context = false;
    };
    InForce now;
    std::vector<std::pair<int, InForce>> before; // what a group changed, as it was at its depth
    int depth = 0;
    auto place = places.begin();
    const auto keep = [&](int at) {
        std::optional<std::vector<int>>& kept = formatting_[at];
        kept.reset();
        if (now.context)
            return;
        kept.emplace();
        for (const auto& [token, name] : now.words)
            kept->push_back(token);
    };
    for (std::size_t t = 0; t < tokens_.size() && place != places.end(); ++t) {
        for (; place != places.end() && *place == static_cast<int>(t); ++place)
            keep(*place);
        const Token& k = tokens_[t];
        if (k.type == Token::Open) {
            ++depth; // one that never ends leaves what it sets in force
        } else if (k.type == Token::Close && match_[t] >= 0) {
            if (!before.empty() && before.back().first == depth) {
                now = std::move(before.back().second);
                before.pop_back();
            }
            --depth;
        } else if (k.type == Token::Word) {
            const std::string_view w = word(t);
            const bool plain = w == "plain";
            if (!plain && !isCharacterFormatting(w))
                continue;
            if (before.empty() || before.back().first != depth)
                before.emplace_back(depth, now);
            if (plain) {
                now = {};
            } else if (among(w, kContexts)) {
                now.context = true;
            } else if (!now.context) {
                const auto same = std::find_if(now.words.begin(), now.words.end(),
                                               [&](const auto& other) { return other.second == w; });
                if (same != now.words.end())
                    now.words.erase(same);
                now.words.emplace_back(static_cast<int>(t), w);
            }
        }
    }
    for (; place != places.end(); ++place)
        keep(*place);
}

bool RtfText::knowsFormatting(int at) const
{
    return formatting_.count(at) > 0;
}

void RtfText::appendFormatting(QByteArray& out, int at) const
{
    if (!knowsFormatting(at))
        findFormatting({at});
    out.append("\\plain");
    if (const auto& words = formatting_.at(at)) {
        for (const int t : *words) {
            const Token& k = tokens_[static_cast<std::size_t>(t)];
            out.append(data_.constData() + k.offset, k.length);
        }
    } else {
        // Every word from the last \plain in force on, in its order.
        int from = 0;
        for (int t = at - 1; t >= 0; --t) {
            const auto i = static_cast<std::size_t>(t);
            if (tokens_[i].type == Token::Close && match_[i] >= 0) {
                t = match_[i]; // a group closed before it sets nothing here
            } else if (tokens_[i].type == Token::Word && word(i) == "plain") {
                from = t + 1;
                break;
            }
        }
        for (int t = from; t < at; ++t) {
            const auto i = static_cast<std::size_t>(t);
            if (tokens_[i].type == Token::Open && match_[i] >= 0 && match_[i] < at)
                t = match_[i];
            else if (tokens_[i].type == Token::Word && isCharacterFormatting(word(i)))
                out.append(data_.constData() + tokens_[i].offset, tokens_[i].length);
        }
    }
    if (!out.endsWith(' '))
        out.append(' ');
}

} // namespace platform::detail::rtf
