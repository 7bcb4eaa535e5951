#include "TervaloTest.h"

#include "platform/Printer.h"

using namespace platform;

class PrinterTest : public testing_support::TervaloTest {
protected:
    // Page and line of a text printed last, {0, 0} when none was.
    std::pair<int, int> en(const QString& texto)
    {
        const PrintedText* t = fakePrinter().find(texto);
        return t ? std::pair{t->page, t->line} : std::pair{0, 0};
    }

    PrintJob job;
};

TEST_F(PrinterTest, PrintsAtCharacterColumnsAndATabAlreadyPassedGoesToTheNextLine)
{
    job.setFontBold(true);
    job.tab(8).print(QStringLiteral("Núm."));
    job.setFontBold(false);
    job.endLine();
    job.tab(9).printNumber(1).tab(20).print(QStringLiteral("Uno"));
    job.endLine();
    job.setFontName(QStringLiteral("Courier"));
    job.tab(7).printNumber(-42).print(QStringLiteral("fin"));
    job.endLine();
    job.setFontName(QStringLiteral("Arial"));
    job.emptyLines(1);
    job.print(QStringLiteral("Un texto que pasa de la columna diez")).tab(10).print(QStringLiteral("debajo"));
    ASSERT_TRUE(job.endDoc());

    EXPECT_EQ(fakePrinter().page(),
              (QStringList{QStringLiteral("       Núm."), QStringLiteral("         1         Uno"),
                           QStringLiteral("      -42 fin"), QString(),
                           QStringLiteral("Un texto que pasa de la columna diez"),
                           QStringLiteral("         debajo")}));
    const PrintedText* heading = fakePrinter().find(QStringLiteral("Núm."));
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->font, (PrintFont{QStringLiteral("Arial"), 11, true, false}));
    // Text printed right after other text goes on at the column reached.
    const PrintedText* after = fakePrinter().find(QStringLiteral("fin"));
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(after->column, 11);
    EXPECT_EQ(after->font.name, QStringLiteral("Courier"));
}

TEST_F(PrinterTest, LandscapeCourierTenHoldsColumn123AndLongValuesAreCutAtTheMargin)
{
    job.setOrientation(Orientation::Landscape);
    job.setFontName(QStringLiteral("Courier"));
    job.setFontSize(10);
    job.tab(107).print(QStringLiteral("Recogido INEM")).tab(123).print(QStringLiteral("Reenviado Cl"));
    job.endLine();
    job.tab(113).print(QStringLiteral("No")).tab(126).print(QStringLiteral("Si"));
    job.endLine();
    job.tab(5).print(QString(200, QLatin1Char('x')));
    job.endLine();
    job.tab(20).print(QStringLiteral("Primera línea\r\nsegunda línea\nterce"));
    job.print(QStringLiteral("ra"));
    ASSERT_TRUE(job.endDoc());

    ASSERT_EQ(fakePrinter().printouts.size(), 1u);
    EXPECT_EQ(fakePrinter().printouts[0].orientation, Orientation::Landscape);
    const QStringList lines = fakePrinter().page();
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0], QString(106, QLatin1Char(' ')) + QStringLiteral("Recogido INEM   Reenviado Cl"));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("No           Si")));
    // 134 columns fit across the page; the rest of the long value is cut off.
    EXPECT_EQ(lines[2], QString(4, QLatin1Char(' ')) + QString(130, QLatin1Char('x')));
    EXPECT_EQ(lines[3], QString(19, QLatin1Char(' ')) + QStringLiteral("Primera línea"));
    EXPECT_EQ(lines[4], QStringLiteral("segunda línea"));
    EXPECT_EQ(lines[5], QStringLiteral("tercera"));
    EXPECT_EQ(fakePrinter().find(QStringLiteral("Reenviado Cl"))->font,
              (PrintFont{QStringLiteral("Courier"), 10, false, false}));
}

TEST_F(PrinterTest, ARowKeepsEachValueWithinItsColumn)
{
    job.setFontName(QStringLiteral("Courier"));
    job.setFontSize(10);
    job.printRow({{3, QStringLiteral("uno dos tres cuatro")},
                  {13, QStringLiteral("abcdefghijklmnopqrstuvwxyz")},
                  {23, QStringLiteral("fin    ")},
                  {27, QStringLiteral("a\r\n\r\nb")}});
    job.printRow({{3, QString()}});
    job.printRow({{3, QStringLiteral("otra")}});
    ASSERT_TRUE(job.endDoc());

    // Words go on whole below, a word wider than the column is broken, a
    // blank is kept before the next column but blanks at the end need no
    // room, and lines after a break keep to the column.
    EXPECT_EQ(fakePrinter().page(), (QStringList{QStringLiteral("  uno dos   abcdefghi fin a"),
                                                QStringLiteral("  tres      jklmnopqr"),
                                                QStringLiteral("  cuatro    stuvwxyz      b"), QString(),
                                                QStringLiteral("  otra")}));
}

// A text that ends at the next text's column pushes it to the next line, as
// one past it does; the lines of a row, or of a block, stay on one page.
TEST_F(PrinterTest, TextsNeverTouchAndRowsAndBlocksAreNotSplitByAPageBreak)
{
    const auto courier = [](PrintJob& j) {
        j.setFontName(QStringLiteral("Courier"));
        j.setFontSize(10);
    };
    const auto relleno = [](PrintJob& j, qsizetype lineas) {
        for (qsizetype i = 0; i < lineas; ++i)
            j.printRow({{1, QStringLiteral("x")}});
    };
    courier(job);
    relleno(job, 200);
    ASSERT_TRUE(job.endDoc());
    const qsizetype porPagina = fakePrinter().page(1).size();

    PrintJob j;
    courier(j);
    j.tab(5).print(QString(31, QLatin1Char('a'))).tab(36).print(QStringLiteral("siguiente"));
    j.endLine();
    relleno(j, porPagina - 3);
    // Three lines where one is left.
    j.printRow({{1, QStringLiteral("7")}, {3, QStringLiteral("uno dos tres")}, {8, QStringLiteral("fin")}});
    relleno(j, porPagina - 4);
    // Two where one is left.
    j.beginBlock();
    j.tab(1).print(QStringLiteral("bloque uno"));
    j.endLine();
    j.tab(1).print(QStringLiteral("bloque dos"));
    j.endLine();
    j.endBlock();
    ASSERT_TRUE(j.endDoc());

    EXPECT_EQ(en(QStringLiteral("siguiente")), (std::pair{1, 2}));
    EXPECT_EQ(en(QStringLiteral("7")), (std::pair{2, 1}));
    EXPECT_EQ(en(QStringLiteral("uno")), (std::pair{2, 1}));
    EXPECT_EQ(en(QStringLiteral("tres")), (std::pair{2, 3}));
    EXPECT_EQ(en(QStringLiteral("bloque uno")), (std::pair{3, 1}));
    EXPECT_EQ(en(QStringLiteral("bloque dos")), (std::pair{3, 2}));
}

// Rows inside a block are held with the block: a numbered entry of several
// rows goes whole to the next page; rows outside a block still fill the page.
TEST_F(PrinterTest, ABlockOfRowsIsNotSplitByAPageBreak)
{
    const auto relleno = [](PrintJob& j, qsizetype lineas) {
        for (qsizetype i = 0; i < lineas; ++i)
            j.printRow({{1, QStringLiteral("x")}});
    };
    relleno(job, 200);
    ASSERT_TRUE(job.endDoc());
    const qsizetype porPagina = fakePrinter().page(1).size();

    PrintJob j;
    relleno(j, porPagina - 2);
    // Four rows where two are left.
    j.beginBlock();
    j.printRow({{1, QStringLiteral("15")}, {5, QStringLiteral("uno")}});
    j.printRow({{5, QStringLiteral("dos")}});
    j.printRow({{5, QStringLiteral("tres")}});
    j.printRow({{5, QStringLiteral("cuatro")}});
    j.endBlock();
    relleno(j, porPagina - 5);
    j.printRow({{1, QStringLiteral("penúltima")}});
    j.printRow({{1, QStringLiteral("última")}});
    ASSERT_TRUE(j.endDoc());

    EXPECT_EQ(en(QStringLiteral("15")), (std::pair{2, 1}));
    EXPECT_EQ(en(QStringLiteral("uno")), (std::pair{2, 1}));
    EXPECT_EQ(en(QStringLiteral("dos")), (std::pair{2, 2}));
    EXPECT_EQ(en(QStringLiteral("cuatro")), (std::pair{2, 4}));
    EXPECT_EQ(en(QStringLiteral("penúltima")), (std::pair{2, static_cast<int>(porPagina)}));
    EXPECT_EQ(en(QStringLiteral("última")), (std::pair{3, 1}));
}

TEST_F(PrinterTest, APrinterFailureIsToldInSpanishAndTheProgramGoesOn)
{
    fakePrinter().fail = true;
    job.print(QStringLiteral("algo"));
    EXPECT_FALSE(job.endDoc());
    ASSERT_EQ(msg().shown().size(), 1u);
    EXPECT_EQ(msg().shown()[0].text, QString::fromUtf8(kPrinterFailure));
    EXPECT_EQ(msg().shown()[0].style, 16);
    EXPECT_FALSE(programEnded);
}

// A value broken over lines, or cut at the margin, is broken between
// characters: an emoji that fits is printed whole, one that does not goes
// whole to the next line or is cut off whole.
TEST_F(PrinterTest, ValuesAreBrokenAndCutBetweenCharacters)
{
    job.setFontName(QStringLiteral("Courier"));
    job.setFontSize(10);
    const QString emoji = u("😀");
    job.printRow({{3, u("abcdefgh") + emoji + u("ijklmnopq") + emoji}, {13, u("x")}});
    for (int columna = 85; columna <= 87; ++columna) {
        job.tab(columna).print(u("abcdefg") + emoji + emoji);
        job.endLine();
    }
    ASSERT_TRUE(job.endDoc());

    QStringList impresos;
    for (const PrintedText& text : fakePrinter().printouts[0].texts)
        impresos << text.text;
    EXPECT_EQ(impresos, (QStringList{u("abcdefgh"), u("x"), emoji + u("ijklmno"), u("pq") + emoji,
                                     u("abcdefg") + emoji, u("abcdefg"), u("abcdef")}));
}
