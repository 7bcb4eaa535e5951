#include "TervaloTest.h"

#include "platform/Controls.h"
#include "platform/TextBox.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

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

} // namespace

// The limit counts characters as the user sees them: what is typed, composed
// or pasted goes in as far as whole characters fit; a text set by code is
// kept whole, and typing then never makes it longer.
TEST(TextBox, ALimitNeverCutsACharacter)
{
    const QString a28(28, QLatin1Char('a'));
    const QString a29 = a28 + u("a");
    platform::TextBox box;
    box.setMaxLength(30);
    const auto tras = [&box](const QString& texto) {
        box.setText(texto);
        box.end(false);
    };
    tras(a29);
    pulsarCaracter(&box, kEmoji);
    pulsarCaracter(&box, u("b"));
    EXPECT_EQ(box.text(), a29 + kEmoji);
    tras(a29);
    componer(&box, kAcento + u("b"));
    EXPECT_EQ(box.text(), a29 + kAcento);
    tras(a28);
    pegar(&box, u("b") + kPulgar + u("c"));
    EXPECT_EQ(box.text(), a28 + u("b") + kPulgar);
    box.setText(u("xx") + a28);
    box.setSelection(0, 2);
    pegar(&box, kEmoji + kAcento + kPulgar);
    EXPECT_EQ(box.text(), kEmoji + kAcento + a28);

    tras(a29 + kEmoji + kEmoji);
    EXPECT_EQ(box.text(), a29 + kEmoji + kEmoji);
    pulsarCaracter(&box, u("b"));
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClick(&box, Qt::Key_Backspace);
    pulsarCaracter(&box, kPulgar);
    pegar(&box, kEmoji);
    EXPECT_EQ(box.text(), a29 + kPulgar);
}

// A box of a fixed Windows-1252 field counts bytes: a letter and its accent go
// in composed, as one byte; what the code page cannot hold, not at all.
TEST(TextBox, AFixedFieldTakesALetterAndItsAccentComposed)
{
    QLineEdit campo;
    platform::fitToField(&campo, 5);
    componer(&campo, u("abcd"));
    componer(&campo, kAcento);
    pegar(&campo, kEmoji);
    EXPECT_EQ(campo.text(), u("abcdé"));
    campo.clear();
    pegar(&campo, u("Jose\u0301 Ñu"));
    EXPECT_EQ(campo.text(), u("José "));
}
