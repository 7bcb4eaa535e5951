// Rich text: the character formatting in force at a place, which text
// inserted there sets again.
#include "platform/RtfText.h"

namespace platform::detail::rtf {

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

void RtfText::appendFormatting(QByteArray& out, int at) const
{
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
    out.append("\\plain");
    for (int t = from; t < at; ++t) {
        const auto i = static_cast<std::size_t>(t);
        if (tokens_[i].type == Token::Open && match_[i] >= 0 && match_[i] < at)
            t = match_[i];
        else if (tokens_[i].type == Token::Word && isCharacterFormatting(word(i)))
            out.append(data_.constData() + tokens_[i].offset, tokens_[i].length);
    }
    if (!out.endsWith(' '))
        out.append(' ');
}

} // namespace platform::detail::rtf
