#include "TervaloTest.h"

#include "platform/Controls.h"
#include "platform/TextBox.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

using platform::TextBox;
using testing_support::componer;
using testing_support::pulsarCaracter;

namespace {

// An emoji of two UTF-16 units, a letter and its combining accent, an emoji
// and its skin tone (four units).
const QString kEmoji = u("😀");
const QString kAcento = u("e\u0301");
const QString kPulgar = u("👍🏽");

void pegar(QLineEdit* box, const QString& text)
{
    QApplication::clipboard()->setText(text);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
}

QString letras(int n)
{
    return QString(n, QLatin1Char('a'));
}

} // namespace

class TextBoxTest : public testing_support::TervaloTest {
protected:
    TextBoxTest()
    {
        box.setMaxLength(30);
        box.show();
        box.setFocus();
    }
    // Emptied, and `n` letters typed.
    void tecleadas(int n)
    {
        box.clear();
        QTest::keyClicks(&box, letras(n));
    }
    TextBox box;
};

// The limit counts characters as the user sees them, and whatever is typed,
// composed or pasted goes in as far as whole characters fit.
TEST_F(TextBoxTest, ALimitNeverCutsACharacterTypedComposedOrPasted)
{
    tecleadas(29);
    pulsarCaracter(&box, kEmoji);
    EXPECT_EQ(box.text(), letras(29) + kEmoji);
    pulsarCaracter(&box, u("b"));
    EXPECT_EQ(box.text(), letras(29) + kEmoji) << "full";

    tecleadas(29);
    componer(&box, kAcento);
    componer(&box, u("b"));
    EXPECT_EQ(box.text(), letras(29) + kAcento);

    tecleadas(30);
    pulsarCaracter(&box, kPulgar);
    componer(&box, kEmoji);
    EXPECT_EQ(box.text(), letras(30));

    tecleadas(28);
    pegar(&box, u("b") + kPulgar + u("c"));
    EXPECT_EQ(box.text(), letras(28) + u("b") + kPulgar);
    tecleadas(29);
    pegar(&box, kAcento + u("x"));
    EXPECT_EQ(box.text(), letras(29) + kAcento);

    // Pasted over a selection, in the middle: what follows stays.
    box.setText(letras(10) + u("bb") + letras(17));
    box.setSelection(10, 2);
    pegar(&box, kEmoji + kAcento + kPulgar + u("xyz"));
    EXPECT_EQ(box.text(), letras(10) + kEmoji + kAcento + kPulgar + letras(17));
    EXPECT_EQ(box.cursorPosition(), 10 + kEmoji.size() + kAcento.size() + kPulgar.size());
}

// A text set by code is kept whole, however long; typing then shortens it
// but never makes it longer, and never cuts a character either.
TEST_F(TextBoxTest, ATextSetByCodeIsKeptWholeAndTypingNeverCutsACharacter)
{
    box.setText(letras(29) + kEmoji + kEmoji);
    EXPECT_EQ(box.text(), letras(29) + kEmoji + kEmoji);
    box.end(false);
    pulsarCaracter(&box, u("b"));
    EXPECT_EQ(box.text(), letras(29) + kEmoji + kEmoji);
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.text(), letras(29));
    pulsarCaracter(&box, kPulgar);
    pegar(&box, kEmoji);
    EXPECT_EQ(box.text(), letras(29) + kPulgar);

    box.setText(letras(29) + kAcento);
    box.end(false);
    componer(&box, kEmoji);
    EXPECT_EQ(box.text(), letras(29) + kAcento);
    EXPECT_EQ(box.text().toUtf8(), (letras(29) + kAcento).toUtf8());
}

// A box of a fixed field of a Windows-1252 file counts bytes: a letter and
// its accent go in composed, as one, or not at all.
TEST_F(TextBoxTest, AFixedFieldTakesALetterWithItsAccentComposedOrNothingOfIt)
{
    QLineEdit campo;
    platform::fitToField(&campo, 5);
    campo.show();
    campo.setFocus();
    componer(&campo, u("abcd"));
    componer(&campo, kAcento);
    EXPECT_EQ(campo.text(), u("abcdé"));
    campo.clear();
    QTest::keyClicks(&campo, u("abcd"));
    pegar(&campo, u("e\u0303")); // no such letter in the code page
    pegar(&campo, kEmoji);
    EXPECT_EQ(campo.text(), u("abcd"));
    campo.clear();
    pegar(&campo, u("Jose\u0301 Ñu"));
    EXPECT_EQ(campo.text(), u("José "));
}
