#include "TervaloTest.h"

#include "platform/MaskEdBox.h"

#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <vector>

using platform::MaskEdBox;

namespace {

void typeAll(MaskEdBox& box, const QString& keys)
{
    for (const QChar c : keys)
        box.typeKey(c.unicode());
}

// The text and cursor of the box, and the line edit showing the same text.
testing::AssertionResult reads(const MaskEdBox& box, const QString& text, int selStart)
{
    if (box.Text() == text && box.SelStart() == selStart && box.text() == text)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "reads \"" << box.Text().toStdString() << "\" at " << box.SelStart()
                                       << ", shows \"" << box.text().toStdString() << "\"";
}

} // namespace

class MaskEdBoxTest : public testing_support::TervaloTest {
protected:
    MaskEdBoxTest() { fecha.setMask(QStringLiteral("##/##/####")); }
    MaskEdBox fecha;
};

TEST(MaskEdBox, AnUntouchedBoxReadsAsItsEmptyMask)
{
    MaskEdBox box;
    for (const auto& [mask, empty] : std::vector<std::pair<const char*, const char*>>{
             {"##/##/####", "__/__/____"}, {"CCC.CCC.CCC.CCC", "___.___.___.___"}, {"\\#9-a\\\\", "#_-_\\"}}) {
        box.setMask(QString::fromLatin1(mask));
        EXPECT_TRUE(reads(box, QString::fromLatin1(empty), 0)) << mask;
        EXPECT_EQ(box.emptyText(), QString::fromLatin1(empty));
    }
}

TEST_F(MaskEdBoxTest, TypingOverwritesStepsOverLiteralsAndStopsAtTheEnd)
{
    typeAll(fecha, QStringLiteral("12"));
    EXPECT_TRUE(reads(fecha, QStringLiteral("12/__/____"), 2));
    fecha.typeKey('0'); // at the literal: into the next place
    EXPECT_TRUE(reads(fecha, QStringLiteral("12/0_/____"), 4));
    fecha.typeKey('x'); // refused
    EXPECT_TRUE(reads(fecha, QStringLiteral("12/0_/____"), 4));
    fecha.setSelStart(0);
    fecha.typeKey('3');
    EXPECT_TRUE(reads(fecha, QStringLiteral("32/0_/____"), 1));
    fecha.setSelStart(4);
    typeAll(fecha, QStringLiteral("5202678"));
    EXPECT_TRUE(reads(fecha, QStringLiteral("32/05/2026"), 10));
}

TEST(MaskEdBox, EachPlaceTakesOnlyItsKind)
{
    MaskEdBox box;
    const QString tried = QStringLiteral("5 xÑ_.");
    for (const auto& [mask, taken] : std::vector<std::pair<QString, QString>>{
             {"#", "5"}, {"9", "5 "}, {"C", "5 xÑ."}, {"&", "5 xÑ."}, {"?", "xÑ"}, {"A", "5xÑ"}, {"a", "5 xÑ"}}) {
        box.setMask(mask);
        for (const QChar c : tried) {
            box.setText(QString());
            box.setSelStart(0);
            box.typeKey(c.unicode());
            EXPECT_EQ(box.SelStart() == 1 && box.Text() == QString(c), taken.contains(c))
                << mask.toStdString() << " '" << QString(c).toStdString() << "'";
        }
    }
}

TEST_F(MaskEdBoxTest, BackspaceAndDeletePutThePromptBack)
{
    fecha.setText(QStringLiteral("12/05/2026"));
    fecha.setSelStart(5);
    typeAll(fecha, QStringLiteral("\b\b"));
    EXPECT_TRUE(reads(fecha, QStringLiteral("12/__/2026"), 3));
    fecha.typeKey(8); // over the literal
    EXPECT_TRUE(reads(fecha, QStringLiteral("1_/__/2026"), 1));
    fecha.setSelStart(5);
    QTest::keyClick(&fecha, Qt::Key_Delete); // the place after the literal, the cursor stays
    EXPECT_TRUE(reads(fecha, QStringLiteral("1_/__/_026"), 5));
}

TEST_F(MaskEdBoxTest, SetTextGoesPlaceByPlaceWithoutTheKeyHandler)
{
    fecha.KeyPress = [](int&) { ADD_FAILURE() << "KeyPress"; };
    fecha.setText(QStringLiteral("12-0"));
    EXPECT_EQ(fecha.Text(), QStringLiteral("12/0_/____"));
    fecha.setText(QStringLiteral("ab/05/2026"));
    EXPECT_EQ(fecha.Text(), QStringLiteral("__/05/2026"));
    fecha.setText(fecha.emptyText());
    EXPECT_EQ(fecha.Text(), QStringLiteral("__/__/____"));

    // A box emptied by code (a value refused) is typed again from its start.
    fecha.setText(QStringLiteral("31/04/1980"));
    fecha.setSelStart(7);
    fecha.setText(fecha.emptyText());
    EXPECT_TRUE(reads(fecha, QStringLiteral("__/__/____"), 0));
    fecha.KeyPress = nullptr;
    typeAll(fecha, QStringLiteral("15031980"));
    EXPECT_EQ(fecha.Text(), QStringLiteral("15/03/1980"));
}

TEST_F(MaskEdBoxTest, TheWindowSeesEachKeyFirstAndMayChangeOrDropIt)
{
    std::vector<int> ups;
    fecha.KeyPress = [](int& key) {
        if (key == 'a')
            key = '7';
        else if (key == '9')
            key = 0;
    };
    fecha.KeyUp = [&](int code, int shift) { ups.push_back(code * 10 + shift); };
    typeAll(fecha, QStringLiteral("a9a\b"));
    EXPECT_TRUE(reads(fecha, QStringLiteral("7_/__/____"), 1));
    EXPECT_EQ(ups, (std::vector<int>{650, 570, 650, 80}));
}

// The server address entry: on a dot the window fills the group with blanks,
// moves the cursor and lets the box write one blank itself.
TEST(MaskEdBox, AKeyChangedAfterTheWindowMovedTheCursorIsWrittenWhereTheCursorIsNow)
{
    MaskEdBox ip;
    ip.setMask(QStringLiteral("CCC.CCC.CCC.CCC"));
    ip.KeyPress = [&](int& key) {
        if (key == '.' && ip.SelStart() == 1) {
            ip.setText(QStringLiteral("1 _.___.___.___"));
            ip.setSelStart(2);
            key = ' ';
        }
    };
    typeAll(ip, QStringLiteral("1."));
    EXPECT_TRUE(reads(ip, QStringLiteral("1  .___.___.___"), 3));
    ip.typeKey('.'); // on the literal: steps over it
    EXPECT_TRUE(reads(ip, QStringLiteral("1  .___.___.___"), 4));
    typeAll(ip, QStringLiteral("9._")); // the prompt is no input
    EXPECT_TRUE(reads(ip, QStringLiteral("1  .9._.___.___"), 6));
}

TEST_F(MaskEdBoxTest, TheFocusStaysInTheBoxWhileValidationCancels)
{
    QWidget window;
    auto* box = new MaskEdBox(&window);
    auto* aceptar = new QPushButton(QStringLiteral("Aceptar."), &window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(box);
    layout->addWidget(aceptar);
    bool clicked = false;
    QObject::connect(aceptar, &QPushButton::clicked, [&] { clicked = true; });
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    box->setFocus();

    std::vector<QString> events;
    bool refuse = true;
    box->Validate = [&](bool& cancel) {
        events.push_back(QStringLiteral("Validate"));
        cancel = refuse;
    };
    box->LostFocus = [&] { events.push_back(QStringLiteral("LostFocus")); };
    aceptar->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(box->hasFocus());
    QTest::mouseClick(aceptar, Qt::LeftButton);
    EXPECT_TRUE(box->hasFocus());
    EXPECT_FALSE(clicked) << "the click that tried to leave goes no further";
    EXPECT_EQ(events, (std::vector<QString>(2, QStringLiteral("Validate"))));

    events.clear();
    refuse = false;
    QTest::mouseClick(aceptar, Qt::LeftButton);
    EXPECT_TRUE(clicked);
    EXPECT_TRUE(aceptar->hasFocus());
    EXPECT_EQ(events, (std::vector<QString>{QStringLiteral("Validate"), QStringLiteral("LostFocus")}));

    // A handler hiding the box moves the focus on: that is no second leaving.
    events.clear();
    box->setFocus();
    box->LostFocus = [&] { box->hide(); };
    EXPECT_TRUE(box->leaveFocus());
    EXPECT_EQ(events.size(), 1u);
    EXPECT_TRUE(aceptar->hasFocus());
}

TEST_F(MaskEdBoxTest, EditsOfTheLineEditItselfKeepTheMask)
{
    std::vector<int> presses;
    fecha.KeyPress = [&](int& key) { presses.push_back(key); };
    QTest::keyClicks(&fecha, QStringLiteral("1a2/3"));
    EXPECT_TRUE(reads(fecha, QStringLiteral("12/3_/____"), 4));
    EXPECT_EQ(presses, (std::vector<int>{'1', 'a', '2', '/', '3'}));

    QTest::keyClick(&fecha, Qt::Key_Backspace);
    fecha.setSelStart(2);
    fecha.insert(QStringLiteral("12/2022")); // a paste, the same digits again
    EXPECT_TRUE(reads(fecha, QStringLiteral("12/12/2022"), 10));
    fecha.setSelection(1, 4);
    fecha.del();
    EXPECT_TRUE(reads(fecha, QStringLiteral("1_/__/2022"), 1));
    static_cast<QLineEdit&>(fecha).setText(QStringLiteral("3112"));
    EXPECT_EQ(fecha.Text(), QStringLiteral("31/12/____"));
    fecha.clear();
    EXPECT_TRUE(reads(fecha, QStringLiteral("__/__/____"), 0));

    MaskEdBox ip; // Ctrl+V pastes; a pasted literal steps over the same literal
    ip.setMask(QStringLiteral("CCC.CCC.CCC.CCC"));
    QApplication::clipboard()->setText(QStringLiteral("192.168.001.010"));
    QTest::keyClick(&ip, Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(reads(ip, QStringLiteral("192.168.001.010"), 15));

    MaskEdBox libre; // without a mask: a plain text box
    typeAll(libre, QStringLiteral("ab\bc"));
    QTest::keyClicks(&libre, QStringLiteral("d"));
    EXPECT_TRUE(reads(libre, QStringLiteral("acd"), 3));
}

// A place holds a character of one UTF-16 unit: a letter and its accent go in
// composed, an emoji is left out whole rather than split over two places.
TEST(MaskEdBox, APastedCharacterIsNeverSplitOverPlaces)
{
    MaskEdBox ip;
    ip.setMask(QStringLiteral("CCC.CCC"));
    ip.insert(u("12😀3e\u0301"));
    EXPECT_TRUE(reads(ip, u("123.é__"), 5));
}
