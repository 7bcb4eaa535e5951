#include "platform/LengthLimit.h"

#include "platform/Characters.h"
#include "platform/Files.h"

#include <QLineEdit>

#include <algorithm>

namespace platform {

LengthLimit::LengthLimit(QLineEdit* box, int limit, Count count)
    : QValidator(box), box_(box), previous_(box->text()), limit_(limit), count_(count)
{
    // Validation runs before the change is told, so this holds the text
    // the change started from.
    connect(box, &QLineEdit::textChanged, this, [this](const QString& text) { previous_ = text; });
}

LengthLimit::Unchecked::Unchecked(LengthLimit* limit) : limit_(limit)
{
    if (limit_)
        limit_->unchecked_ = true;
}

LengthLimit::Unchecked::~Unchecked()
{
    if (!limit_)
        return;
    limit_->unchecked_ = false;
    // Also when the box's signals were blocked meanwhile.
    limit_->previous_ = limit_->box_->text();
}

qsizetype LengthLimit::length(const QString& text) const
{
    return count_ == Count::Characters ? characterCount(text) : text.size();
}

QValidator::State LengthLimit::validate(QString& input, int& pos) const
{
    if (unchecked_ || input == previous_ || (limit_ <= 0 && count_ == Count::Characters))
        return Acceptable;
    // The stretch the change put in, in whole characters: what is left of
    // the old text around it stays. The line edit leaves its cursor after
    // what it put in, so the stretch ends there at the earliest.
    const QString& old = previous_;
    const qsizetype common = std::min(old.size(), input.size());
    qsizetype head = 0;
    while (head < common && old.at(head) == input.at(head))
        ++head;
    qsizetype tail = 0;
    while (tail < common - head && old.at(old.size() - 1 - tail) == input.at(input.size() - 1 - tail))
        ++tail;
    tail = std::min(tail, std::max<qsizetype>(0, input.size() - pos));
    head = characterStart(input, head);
    const qsizetype end = characterEnd(input, input.size() - tail);
    const QString before = input.left(head);
    const QString after = input.mid(end);
    QString put = input.mid(head, end - head);
    if (count_ == Count::SingleBytes) {
        put = put.normalized(QString::NormalizationForm_C);
        if (!fitsCp1252(put))
            return Invalid;
    }

    const qsizetype room = limit_ > 0 ? std::max<qsizetype>(limit_, length(old)) : input.size();
    const auto fits = [&](qsizetype units) { return length(before + put.left(units) + after) <= room; };
    qsizetype taken = put.size();
    if (!fits(taken)) {
        // The most whole characters of what was put in that fit.
        const QList<qsizetype> ends = characterEnds(put);
        const auto last = std::partition_point(ends.begin(), ends.end(), fits);
        taken = last == ends.begin() ? 0 : *(last - 1);
    }
    const QString result = before + put.left(taken) + after;
    if (result == old)
        return Invalid;
    if (result != input) {
        input = result;
        pos = static_cast<int>(head + taken);
    }
    return Acceptable;
}

} // namespace platform
