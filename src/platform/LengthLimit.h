#pragma once

#include <QValidator>

class QLineEdit;

namespace platform {

// The length limit of a line edit, as its validator. What the user types,
// pastes, drops or composes goes in as far as it fits, cut between
// characters (platform/Characters.h), never inside one; a text already longer
// than the limit (set by code) may be shortened but grows no more.
class LengthLimit final : public QValidator {
public:
    enum class Count {
        Characters, // characters as the user sees them
        // A fixed field of a Windows-1252 file: one byte a character. Input is
        // composed first (a letter and a combining accent become one
        // character), and input the code page cannot hold is refused whole.
        SingleBytes,
    };

    // A limit of 0 is none.
    LengthLimit(QLineEdit* box, int limit, Count count);

    void setLimit(int limit) { limit_ = limit; }

    // While it lives, a text set by code goes in whole.
    class Unchecked {
    public:
        explicit Unchecked(LengthLimit* limit);
        ~Unchecked();
        Unchecked(const Unchecked&) = delete;
        Unchecked& operator=(const Unchecked&) = delete;

    private:
        LengthLimit* limit_;
    };

    State validate(QString& input, int& pos) const override;

private:
    qsizetype length(const QString& text) const;

    QLineEdit* box_;
    QString previous_; // the text before the change being validated
    int limit_;
    Count count_;
    bool unchecked_ = false;
};

} // namespace platform
