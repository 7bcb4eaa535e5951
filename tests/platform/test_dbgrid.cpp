#include "TervaloTest.h"

#include "platform/DBGrid.h"
#include "platform/TextBox.h"

#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

using platform::DBGrid;
using platform::Row;
using platform::TextBox;

namespace {

std::vector<Row> trabajadores(std::initializer_list<std::pair<int, const char*>> filas)
{
    std::vector<Row> out;
    for (const auto& [id, nombre] : filas)
        out.push_back(Row{{QStringLiteral("IdTrabajador"), id},
                          {QStringLiteral("NombreTrabajador"), QString::fromUtf8(nombre)},
                          {QStringLiteral("NúmeroTrabajador"), id * 7}});
    return out;
}

} // namespace

class DBGridTest : public testing_support::TervaloTest {
protected:
    DBGridTest()
    {
        grid.setColumns({ { QStringLiteral("Id"), QStringLiteral("IdTrabajador"), 1000, false, {} },
            { QStringLiteral("Nombre"), QStringLiteral("NombreTrabajador"), 3000, true, {} },
            { QStringLiteral("Núm."), QStringLiteral("NúmeroTrabajador"), 1200, true, QStringLiteral("00000") } });
        grid.resize(400, 300);
    }
    DBGrid grid;
};

TEST_F(DBGridTest, AfterClearRowOnlyTheUsersPickIsCurrent)
{
    grid.setRecords(trabajadores({{4, "Ana"}, {9, "Luis"}}));
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    grid.ClearRow();
    EXPECT_EQ(grid.Row(), -1);
    EXPECT_TRUE(grid.Id().isEmpty());
    EXPECT_TRUE(grid.selectedItems().isEmpty());

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(grid.model()->index(0, 1)).center());
    EXPECT_EQ(grid.Id(), QStringLiteral("4")) << "the row that was current before counts as a new pick";
}

TEST_F(DBGridTest, RowsGrowWithTheFontTheLayoutGivesTheGridSoCapitalsKeepTheirAccents)
{
    grid.setRecords(trabajadores({{4, "ÁLVARO ÉBANO"}, {9, "ÍÑIGO ÚBEDA"}}));
    for (const int size : {8, 14, 22}) {
        QFont font = grid.font();
        font.setPointSize(size);
        grid.setFont(font);
        const int line = QFontMetrics(font).height();
        for (int r = 0; r < grid.rowCount(); ++r)
            EXPECT_GT(grid.rowHeight(r), line) << "font of " << size << " points, row " << r;
    }
}

TEST_F(DBGridTest, ATextBoxKeepsATextSetByCodeWholeAndLimitsTyping)
{
    QWidget window;
    auto* box = new TextBox(&window);
    auto* boton = new QPushButton(QStringLiteral("Grabar."), &window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(box);
    layout->addWidget(boton);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    box->setMaxLength(5);
    box->setText(QStringLiteral("1234567"));
    EXPECT_EQ(box->text(), QStringLiteral("1234567"));
    EXPECT_EQ(box->cursorPosition(), 0) << "a text set by code shows its beginning";
    box->setText(QString());
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("1234567"));
    EXPECT_EQ(box->text(), QStringLiteral("12345"));

    // A handler of the leaving that answers with a message holds the click that moved the focus.
    bool pulsado = false;
    QObject::connect(boton, &QPushButton::clicked, [&] { pulsado = true; });
    box->LostFocus = [&] {
        box->setFocus();
        box->holdClick();
    };
    QTest::mouseClick(boton, Qt::LeftButton);
    EXPECT_FALSE(pulsado);
    EXPECT_TRUE(box->hasFocus());
    box->LostFocus = nullptr;
    QTest::mouseClick(boton, Qt::LeftButton);
    EXPECT_TRUE(pulsado);
}
