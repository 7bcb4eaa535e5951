#include "TervaloTest.h"

#include "platform/FlexGrid.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include <string>
#include <utility>
#include <vector>

using platform::FlexGrid;

// A grid of 5 rows (the first fixed) and 3 columns, with the events of its window written down as "Event row,col".
class FlexGridTest : public testing_support::TervaloTest {
protected:
    FlexGridTest()
    {
        grid.setRows(5);
        grid.setCols(3);
        grid.resize(400, 200);
        grid.LeaveCell = [this] { note("Leave"); };
        grid.EnterCell = [this] { note("Enter"); };
        grid.Click = [this] { note("Click"); };
        grid.DblClick = [this] { note("DblClick"); };
    }

    void note(const char* event)
    {
        events.push_back(std::string(event) + " " + std::to_string(grid.Row()) + "," + std::to_string(grid.Col()));
    }
    std::vector<std::string> takeEvents() { return std::exchange(events, {}); }
    QPoint centreOf(int row, int col) { return grid.visualRect(grid.model()->index(row, col)).center(); }

    FlexGrid grid;
    std::vector<std::string> events;
};

using Events = std::vector<std::string>;

TEST_F(FlexGridTest, ResizingKeepsTheTextsThatStillFitAndOutOfRangeCellsAreHarmless)
{
    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < 3; ++c)
            grid.setTextMatrix(r, c, QStringLiteral("%1.%2").arg(r).arg(c));
    }
    grid.setRow(4);
    takeEvents();

    grid.setRows(8);
    grid.setCols(4);
    EXPECT_EQ(grid.TextMatrix(0, 2), QStringLiteral("0.2")) << "header cell";
    EXPECT_EQ(grid.TextMatrix(4, 2), QStringLiteral("4.2"));
    EXPECT_EQ(grid.TextMatrix(7, 3), QString());

    grid.setRows(3);
    grid.setCols(2);
    EXPECT_EQ(grid.TextMatrix(2, 1), QStringLiteral("2.1"));
    EXPECT_EQ(grid.Row(), 2) << "the current cell stays inside the grid";
    grid.setRows(5);
    grid.setCols(3);
    EXPECT_EQ(grid.TextMatrix(4, 1), QString()) << "cut rows come back empty";
    EXPECT_EQ(grid.TextMatrix(1, 2), QString()) << "cut columns come back empty";

    grid.setTextMatrix(5, 0, QStringLiteral("x"));
    grid.setTextMatrix(-1, 0, QStringLiteral("x"));
    grid.setTextMatrix(0, 3, QStringLiteral("x"));
    EXPECT_EQ(grid.TextMatrix(5, 0), QString());
    EXPECT_EQ(grid.TextMatrix(0, -1), QString());
    grid.setRow(5);
    grid.setCol(-1);
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(grid.Col(), 0);
    EXPECT_EQ(grid.Rows(), 5);
    EXPECT_EQ(grid.Cols(), 3);
    EXPECT_EQ(takeEvents(), Events{});
}

TEST_F(FlexGridTest, CurrentCellCarriesTextAndFormattingUntilCleared)
{
    grid.setRow(2);
    grid.setCol(1);
    grid.setText(QStringLiteral("dato"));
    grid.setCellFontBold(true);
    EXPECT_EQ(grid.TextMatrix(2, 1), QStringLiteral("dato"));

    // Headers are written through the current cell too.
    grid.setRow(0);
    EXPECT_EQ(grid.Row(), 0);
    grid.setText(QStringLiteral("Título"));
    EXPECT_FALSE(grid.CellFontBold()) << "bold belongs to the cell, not the grid";
    EXPECT_EQ(grid.TextMatrix(0, 1), QStringLiteral("Título"));

    grid.setRow(2);
    EXPECT_EQ(grid.Text(), QStringLiteral("dato"));
    EXPECT_TRUE(grid.CellFontBold());

    grid.Clear();
    EXPECT_EQ(grid.Rows(), 5);
    EXPECT_EQ(grid.Cols(), 3);
    EXPECT_EQ(grid.TextMatrix(0, 1), QString());
    EXPECT_EQ(grid.Text(), QString());
    EXPECT_FALSE(grid.CellFontBold());
}

TEST_F(FlexGridTest, LeaveAndEnterCellOncePerActualMove)
{
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.Col(), 0);
    grid.setRow(3);
    EXPECT_EQ(takeEvents(), (Events{"Leave 1,0", "Enter 3,0"}));
    grid.setRow(3);
    grid.setCol(0);
    EXPECT_EQ(takeEvents(), Events{});
    grid.setCol(2);
    EXPECT_EQ(takeEvents(), (Events{"Leave 3,0", "Enter 3,2"}));
}

TEST_F(FlexGridTest, KeysGoToTheWindowAndNeverOpenAnEditor)
{
    std::vector<int> pressed;
    std::vector<std::pair<int, int>> released;
    grid.KeyPress = [&](int& keyAscii) {
        pressed.push_back(keyAscii);
        if (keyAscii >= 32)
            grid.setText(grid.Text() + QChar(keyAscii));
    };
    grid.KeyUp = [&](int keyCode, int shift) { released.emplace_back(keyCode, shift); };
    grid.setTextMatrix(4, 0, QStringLiteral("abc"));
    grid.show();

    QTest::keyClick(&grid, Qt::Key_A);
    QTest::keyClick(&grid, Qt::Key_7);
    QTest::keyClick(&grid, Qt::Key_Return);
    QTest::keyClick(&grid, Qt::Key_F2);
    QTest::keyClick(&grid, 'A', Qt::ShiftModifier);

    EXPECT_EQ(pressed, (std::vector<int>{'a', '7', 13, 'A'}));
    EXPECT_EQ(released, (std::vector<std::pair<int, int>>{{65, 0}, {55, 0}, {13, 0}, {113, 0}, {65, 1}, {16, 0}}));
    EXPECT_EQ(grid.Text(), QStringLiteral("a7A"));
    EXPECT_EQ(grid.Row(), 1) << "no search of a cell by its first letter";
    // What an input method composes is one key a character, composed; one
    // of no Windows-1252 code is none, as a key of its own is.
    pressed.clear();
    testing_support::componer(&grid, QString::fromUtf8("😀e\u0301"));
    testing_support::pulsarCaracter(&grid, QString::fromUtf8("\u0151"));
    EXPECT_EQ(pressed, (std::vector<int>{0xE9}));
    EXPECT_TRUE(grid.findChildren<QLineEdit*>().isEmpty());
    EXPECT_EQ(takeEvents(), Events{});
}

TEST_F(FlexGridTest, UserMovesNeverReachTheFixedCells)
{
    grid.setFixedCols(1);
    EXPECT_EQ(grid.Col(), 1);
    grid.show();

    QTest::keyClick(&grid, Qt::Key_Up);
    QTest::keyClick(&grid, Qt::Key_Left);
    QTest::keyClick(&grid, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(takeEvents(), Events{});
    QTest::keyClick(&grid, Qt::Key_Down);
    QTest::keyClick(&grid, Qt::Key_End);
    EXPECT_EQ(takeEvents(), (Events{"Leave 1,1", "Enter 2,1", "Leave 2,1", "Enter 2,2"}));
    QTest::keyClick(&grid, Qt::Key_Down);
    QTest::keyClick(&grid, Qt::Key_Home);
    EXPECT_EQ(grid.Row(), 3);
    EXPECT_EQ(grid.Col(), 1) << "Home goes to the first column the user can reach";
    QTest::keyClick(&grid, Qt::Key_PageDown);
    EXPECT_EQ(grid.Row(), 4);
    takeEvents();

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centreOf(0, 2));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centreOf(2, 0));
    EXPECT_EQ(takeEvents(), Events{}) << "clicks on fixed cells";
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centreOf(2, 2));
    EXPECT_EQ(takeEvents(), (Events{"Leave 4,1", "Enter 2,2", "Click 2,2"}));
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, centreOf(2, 2));
    EXPECT_EQ(takeEvents().back(), "DblClick 2,2");
}

TEST_F(FlexGridTest, FixedRowsStayGreyAtTheTopWhileTheRestScrolls)
{
    grid.setRows(60);
    grid.show();
    QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
    ASSERT_GT(grid.verticalScrollBar()->value(), 0);
    QTest::keyClick(&grid, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_GE(grid.rowViewportPosition(1), grid.rowHeight(0)) << "the first row shows below the header";
    QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);

    const QImage image = grid.grab().toImage();
    const int x = grid.columnWidth(1) + grid.columnWidth(1) / 2;
    const auto colourAt = [&](int y) { return image.pixelColor(grid.viewport()->mapTo(&grid, QPoint(x, y))); };
    EXPECT_EQ(colourAt(grid.rowHeight(0) / 2), grid.palette().color(QPalette::Button));
    EXPECT_EQ(colourAt(grid.rowHeight(0) * 3 / 2), grid.palette().color(QPalette::Base));
}

TEST_F(FlexGridTest, ACellsOwnColoursGiveWayWhileTheGridCannotBeUsed)
{
    grid.setRow(2);
    grid.setCol(1);
    grid.setCellBackColor(Qt::yellow);
    grid.setCellForeColor(Qt::blue);
    grid.setText(QStringLiteral("dato"));
    grid.setRow(3);
    grid.show();
    const auto fondo = [&] {
        const QRect celda = grid.visualRect(grid.model()->index(2, 1));
        return grid.grab().toImage().pixelColor(grid.viewport()->mapTo(&grid, celda.bottomRight() - QPoint(3, 3)));
    };
    EXPECT_EQ(fondo(), QColor(Qt::yellow));
    grid.setEnabled(false);
    EXPECT_EQ(fondo(), grid.palette().color(QPalette::Disabled, QPalette::Base));
}

TEST_F(FlexGridTest, ABulkFillShowsEveryCellWrittenDuringIt)
{
    grid.show();
    {
        const FlexGrid::BulkFill fill(grid);
        grid.setTextMatrix(1, 0, QStringLiteral("uno"));
        grid.setTextMatrix(4, 2, QStringLiteral("último"));
    }
    EXPECT_EQ(grid.model()->index(4, 2).data().toString(), QStringLiteral("último"));
    EXPECT_FALSE(grid.model()->signalsBlocked());
    grid.setTextMatrix(2, 1, QStringLiteral("después"));
    EXPECT_EQ(grid.TextMatrix(2, 1), QStringLiteral("después"));
}
