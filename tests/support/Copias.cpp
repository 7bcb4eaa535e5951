#include "Copias.h"

#include "platform/Controls.h"

#include <QAbstractButton>
#include <QEvent>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace testing_support {

CopiesAnswerer::CopiesAnswerer(QWidget* frame, QLineEdit* box, QAbstractButton* accept)
    : frame_(frame), box_(box), accept_(accept)
{
    frame_->installEventFilter(this);
    connect(&timer_, &QTimer::timeout, this, &CopiesAnswerer::look);
    timer_.start(5);
}

void CopiesAnswerer::look()
{
    if (answering_ || !platform::isShown(frame_) || !box_->isEnabled())
        return;
    answering_ = true;
    QString next = QStringLiteral("Escape");
    if (answers_.empty())
        ADD_FAILURE() << "A copies prompt that no answer was given for";
    else {
        next = answers_.front();
        answers_.pop_front();
    }
    if (next == QLatin1String("Escape")) {
        QTest::keyClick(box_, Qt::Key_Escape);
    } else {
        box_->clear();
        QTest::keyClicks(box_, next);
        QTest::mouseClick(accept_, Qt::LeftButton);
    }
    answering_ = false;
}

bool CopiesAnswerer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == frame_ && event->type() == QEvent::Show)
        ++prompts_;
    return false;
}

} // namespace testing_support
