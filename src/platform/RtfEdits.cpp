#include "platform/RtfEdits.h"

#include <algorithm>

namespace platform::detail::rtf {

void RtfEdits::add(int offset, qsizetype from, Kind kind, const QString& bookmark)
{
    edits_.push_back({offset, from, bytes_.size() - from, 0, kind, false, bookmark});
}

void RtfEdits::leaveOut(int offset, int size)
{
    edits_.push_back({offset, bytes_.size(), 0, size, Kind::Gap, true, {}});
}

void RtfEdits::seeAll()
{
    for (Edit& e : edits_)
        e.seen = true;
}

void RtfEdits::sort()
{
    std::stable_sort(edits_.begin(), edits_.end(), [](const Edit& a, const Edit& b) { return a.offset < b.offset; });
}

QByteArray RtfEdits::applied(const QByteArray& data)
{
    if (edits_.empty())
        return data;
    sort();
    QByteArray out;
    out.reserve(data.size() + bytes_.size());
    int copied = 0;
    for (const Edit& e : edits_) {
        out.append(data.constData() + copied, e.offset - copied);
        out.append(bytes_.constData() + e.from, e.size);
        copied = e.offset + e.skip;
    }
    out.append(data.constData() + copied, data.size() - copied);
    return out;
}

bool RtfEdits::write(const QByteArray& data, QIODevice& out)
{
    if (edits_.empty())
        return !data.isEmpty() && out.write(data) == data.size();
    sort();
    constexpr qsizetype kPiece = qsizetype(1) << 20;
    QByteArray piece;
    piece.reserve(std::min(data.size() + bytes_.size(), kPiece));
    const auto put = [&](const char* bytes, qsizetype size) {
        if (piece.size() + size < kPiece) {
            piece.append(bytes, size);
            return true;
        }
        const bool written = out.write(piece) == piece.size() && out.write(bytes, size) == size;
        piece.clear();
        return written;
    };
    int copied = 0;
    for (const Edit& e : edits_) {
        if (!put(data.constData() + copied, e.offset - copied) || !put(bytes_.constData() + e.from, e.size))
            return false;
        copied = e.offset + e.skip;
    }
    return put(data.constData() + copied, data.size() - copied) && out.write(piece) == piece.size();
}

RtfEdits RtfEdits::takeUnseen()
{
    RtfEdits unseen;
    std::vector<Edit> kept;
    for (const Edit& e : edits_) {
        if (e.seen) {
            kept.push_back(e);
            continue;
        }
        // The edits kept go in before it: those at its place were made
        // before it, as every one seen was.
        int offset = e.offset;
        for (const Edit& k : edits_) {
            if (!k.seen)
                continue;
            if (k.kind != Kind::Gap && k.offset <= e.offset)
                offset += static_cast<int>(k.size);
            else if (k.kind == Kind::Gap && k.offset + k.skip <= e.offset)
                offset -= k.skip;
        }
        const qsizetype from = unseen.bytes_.size();
        unseen.bytes_.append(bytes_.constData() + e.from, e.size);
        unseen.edits_.push_back({offset, from, e.size, e.skip, e.kind, false, e.bookmark});
    }
    edits_ = std::move(kept);
    return unseen;
}

void RtfEdits::clear()
{
    edits_.clear();
    bytes_.clear();
}

} // namespace platform::detail::rtf
