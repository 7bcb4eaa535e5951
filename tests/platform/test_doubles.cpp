#include "TervaloTest.h"

#include "common/Module1.h"
#include "platform/MessageBoxes.h"

#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest-spi.h>

using namespace platform;

class DoublesTest : public testing_support::TervaloTest {};

TEST_F(DoublesTest, MessageBoxesCarryTheProgramTitleAndAnswerFromTheScript)
{
    MsgBox(QStringLiteral("Aviso"), style::Information);
    msg().answer(Answer::No);
    EXPECT_EQ(MsgBox(QStringLiteral("¿Seguro?"), 292, QStringLiteral("Confirmación.")), Answer::No);
    ASSERT_EQ(msg().shown().size(), 2u);
    EXPECT_EQ(msg().shown()[0].title, QStringLiteral("Tervalo"));
    EXPECT_EQ(msg().shown()[0].style, 64);
    EXPECT_EQ(msg().shown()[1].title, QStringLiteral("Confirmación."));
    EXPECT_EQ(msg().shown()[1].style, 292);
}

TEST_F(DoublesTest, AnUnansweredQuestionFailsTheTest)
{
    EXPECT_NONFATAL_FAILURE(MsgBox(QStringLiteral("¿Borrar?"), 36), "Unanswered question: ¿Borrar?");
}

TEST(SystemClock, WaitLastsItsLengthAndKeepsEventsRunning)
{
    // The wait runs on a monotonic clock, so the time of day (midnight
    // included) cannot cut it short.
    auto& system = clockSlot().get();
    bool ran = false;
    QTimer::singleShot(10, [&] { ran = true; });
    QElapsedTimer timer;
    timer.start();
    system.wait(0.2);
    EXPECT_GE(timer.elapsed(), 195);
    EXPECT_TRUE(ran);
    timer.restart();
    system.wait(-1);
    EXPECT_LT(timer.elapsed(), 50);
}
