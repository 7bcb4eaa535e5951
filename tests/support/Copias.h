#pragma once

#include <QObject>
#include <QTimer>

#include <deque>

class QAbstractButton;
class QLineEdit;
class QWidget;

namespace testing_support {

// Answers a window's copies prompt as its user would: each time the frame
// shows, it types the next answer into the box and presses "Aceptar", or
// presses Escape for the answer "Escape". A prompt with no answer left fails
// the test and is left with Escape.
class CopiesAnswerer : public QObject {
public:
    CopiesAnswerer(QWidget* frame, QLineEdit* box, QAbstractButton* accept);
    void answer(const QString& typed) { answers_.push_back(typed); }
    int prompts() const { return prompts_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void look();

    QWidget* frame_;
    QLineEdit* box_;
    QAbstractButton* accept_;
    std::deque<QString> answers_;
    QTimer timer_;
    int prompts_ = 0;
    bool answering_ = false;
};

} // namespace testing_support
