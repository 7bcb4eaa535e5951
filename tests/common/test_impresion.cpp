#include "Copias.h"
#include "DocumentFiles.h"
#include "TervaloTest.h"

#include "common/Documentos.h"
#include "common/Impresion.h"
#include "common/Module1.h"
#include "platform/Controls.h"
#include "platform/Document.h"
#include "platform/Forms.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

using platform::Answer;
using platform::Forms;
using namespace testing_support;

namespace {

// A window with a copies frame, as the record window and the lists have.
class frmPrueba : public platform::Form {
public:
    frmPrueba() : Form(QStringLiteral("frmPrueba"))
    {
        designSize(6000, 4000);
        cmdOtro = place(new QPushButton(QStringLiteral("Volver.")), "cmdOtro", 120, 120, 1200, 400);
        fraDatosImprimir
            = place(new QGroupBox(QStringLiteral("IMPRESIÓN : ")), "fraDatosImprimir", 120, 720, 4000, 1200);
        txtNumeroCopias = place(new QLineEdit, "txtNumeroCopias", 2400, 300, 600, 300, fraDatosImprimir);
        cmdCopias
            = place(new QPushButton(QStringLiteral("Aceptar")), "cmdCopias", 3100, 300, 800, 300, fraDatosImprimir);
        fraDatosImprimir->hide();
    }
    MarcoCopias marco() const { return {fraDatosImprimir, txtNumeroCopias, cmdCopias}; }

    QPushButton* cmdOtro;
    QGroupBox* fraDatosImprimir;
    QLineEdit* txtNumeroCopias;
    QPushButton* cmdCopias;
};

// Values a contract of the generator carries, the personal ones among them.
SampleDocument contrato()
{
    SampleDocument d;
    d.body = {
        {text(QStringLiteral("NIF: ")), start(QStringLiteral("M0115")), end(QStringLiteral("M0115")),
         start(QStringLiteral("B0115")), end(QStringLiteral("B0115"))},
        {text(QStringLiteral("Nacido el ")), start(QStringLiteral("M0116")), end(QStringLiteral("M0116")),
         start(QStringLiteral("B0116")), end(QStringLiteral("B0116"))},
        {text(QStringLiteral("País: ")), start(QStringLiteral("M0462")), end(QStringLiteral("M0462")),
         start(QStringLiteral("B0462")), end(QStringLiteral("B0462"))},
        {text(QStringLiteral("De nuevo el NIF ")), start(QStringLiteral("M2115")), end(QStringLiteral("M2115"))},
        {text(QStringLiteral("Empresa: ")), start(QStringLiteral("M0001")), end(QStringLiteral("M0001"))},
        {start(QStringLiteral("BPIE11")), end(QStringLiteral("BPIE11"))},
        {start(QStringLiteral("BPIE22")), end(QStringLiteral("BPIE22"))},
        {start(QStringLiteral("Basica")), end(QStringLiteral("Basica"))},
    };
    return d;
}

} // namespace

class ImpresionTest : public TervaloTest {
protected:
    ImpresionTest()
        : ventana(Forms::show<frmPrueba>()),
          copias(ventana.fraDatosImprimir, ventana.txtNumeroCopias, ventana.cmdCopias)
    {
        // Every print call and message, in the order they happened.
        fakeOffice().onCall = [this](const FakeOffice::Call&) { orden << fakeOffice().journal().last(); };
        contratoGuardado = host("C:\\Quelvan\\Dorvane\\Contratos\\0012300045.doc");
        writeFile("C:\\Quelvan\\Dorvane\\Contratos\\0012300045.doc", toRtf(contrato()));
        platform::Document doc = platform::Document::open(contratoGuardado);
        doc.insertAfter(QStringLiteral("M0115"), QStringLiteral("12345678Z"));
        doc.insertAfter(QStringLiteral("M2115"), QStringLiteral("12345678Z"));
        doc.insertAfter(QStringLiteral("M0116"), QStringLiteral("01/02/1980"));
        doc.insertAfter(QStringLiteral("M0462"), QStringLiteral("Perú"));
        doc.insertAfter(QStringLiteral("M0001"), QStringLiteral("Talleres Ruiz"));
        doc.save();
    }

    CopiaBasicaOpciones guardado()
    {
        CopiaBasicaOpciones o;
        o.documento = contratoGuardado;
        o.borrador = host("C:\\Borrador.doc");
        o.guardarComo = host("C:\\Quelvan\\Dorvane\\Contratos\\0012300045CB.doc");
        return o;
    }

    frmPrueba& ventana;
    CopiesAnswerer copias;
    QStringList orden;
    QString contratoGuardado;
};

TEST_F(ImpresionTest, CopiesPromptTakesWholeNumbersAndBlocksItsWindow)
{
    bool comprobado = false;
    QTimer::singleShot(0, [&] {
        // While the prompt waits only its frame can be used.
        EXPECT_FALSE(ventana.cmdOtro->isEnabled());
        EXPECT_TRUE(ventana.txtNumeroCopias->isEnabled());
        QCloseEvent cerrar;
        QCoreApplication::sendEvent(&ventana, &cerrar);
        EXPECT_TRUE(Forms::isLoaded(ventana));
        comprobado = true;
    });
    copias.answer(QStringLiteral("abc")); // not taken: the box stays empty and the prompt waits
    copias.answer(QStringLiteral("150")); // two figures at most
    EXPECT_EQ(PedirCopias(ventana, ventana.marco()), 15);
    EXPECT_TRUE(comprobado);
    EXPECT_EQ(copias.prompts(), 1);
    EXPECT_FALSE(platform::isShown(ventana.fraDatosImprimir));
    EXPECT_TRUE(ventana.txtNumeroCopias->text().isEmpty());
    EXPECT_TRUE(ventana.cmdOtro->isEnabled());
    EXPECT_FALSE(CopiasAceptadas);

    copias.answer(QStringLiteral("Escape"));
    EXPECT_EQ(PedirCopias(ventana, ventana.marco()), 0);
    copias.answer(QStringLiteral("0"));
    EXPECT_EQ(PedirCopias(ventana, ventana.marco()), 0);
}

TEST_F(ImpresionTest, DoubleSidedPrintsAllOddPagesThenTheMessageThenTheEvenOnes)
{
    msg().answer(Answer::Ok);
    fakeOffice().onCall = [this](const FakeOffice::Call&) {
        orden << fakeOffice().journal().last() + QStringLiteral(" after ") + QString::number(msg().shown().size());
    };
    EXPECT_TRUE(ImprimirDobleCara(contratoGuardado, 3, QString::fromUtf8(kAvisoSegundaCara)));
    EXPECT_EQ(orden, (QStringList{QStringLiteral("print odd 3 0012300045.doc after 0"),
                                  QStringLiteral("print even 3 0012300045.doc after 1")}));
    EXPECT_EQ(msg().texts(), QStringList{QString::fromUtf8(kAvisoSegundaCara)});
    EXPECT_EQ(msg().shown().front().style, 64);

    // A printer that is not there: one message, and nothing more is sent.
    orden.clear();
    fakeOffice().failure = QStringLiteral("No hay impresora.");
    EXPECT_FALSE(ImprimirDobleCara(contratoGuardado, 1, QString::fromUtf8(kAvisoSegundaCara)));
    EXPECT_EQ(orden.size(), 1);
    EXPECT_EQ(msg().texts().last(), QStringLiteral("No hay impresora."));
}

TEST_F(ImpresionTest, CopiaBasicaLeavesOutThePersonalDataAndWritesItsTexts)
{
    msg().answer(Answer::Yes); // ¿Desea copia básica?
    copias.answer(QStringLiteral("2"));
    msg().answer(Answer::Yes); // ¿Desea guardar la Copia Básica?
    const QByteArray antes = readFile("C:\\Quelvan\\Dorvane\\Contratos\\0012300045.doc");
    CopiaBasica(ventana, ventana.marco(), guardado());

    EXPECT_EQ(orden, (QStringList{"print odd 2 Borrador.doc", "print even 2 Borrador.doc"}));
    EXPECT_TRUE(msg().texts().contains(QString::fromUtf8(kAvisoSegundaCara)));
    const platform::Document copia = platform::Document::open(host("C:\\Borrador.doc"));
    for (const char* marca : {"M0115", "M2115", "M0116", "M0462"})
        EXPECT_EQ(copia.bookmarkText(QString::fromLatin1(marca)), QString()) << marca;
    EXPECT_EQ(copia.bookmarkText(QStringLiteral("M0001")), QStringLiteral("Talleres Ruiz"));
    EXPECT_EQ(copia.bookmarkText(QStringLiteral("B0115")), QString(112, QLatin1Char(' ')));
    EXPECT_EQ(copia.bookmarkText(QStringLiteral("B0462")), QString(212, QLatin1Char(' ')));
    const QString pie = copia.bookmarkText(QStringLiteral("BPIE11"));
    EXPECT_EQ(pie.size(), 225);
    EXPECT_TRUE(pie.startsWith(QStringLiteral("El/la representante de los trabajadores ")));
    EXPECT_EQ(copia.bookmarkText(QStringLiteral("BPIE22")), pie);
    EXPECT_EQ(copia.bookmarkText(QStringLiteral("Basica")), QStringLiteral("COPIA BÁSICA"));
    EXPECT_FALSE(fakeOffice().calls.front().content.contains("12345678Z"));

    EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\Contratos\\0012300045CB.doc"), readFile("C:\\Borrador.doc"));
    EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\Contratos\\0012300045.doc"), antes);
    for (const auto& shown : msg().shown())
        EXPECT_NE(shown.style, 16) << shown.text.toStdString();

    // Production's variant: its own blanks, captions in the document's
    // language and the first-page signature bookmarks.
    const auto catalan = TextosCopiaBasica(VarianteCopiaBasica::Produccion, 2, true);
    EXPECT_EQ(catalan[7].texto.size(), 112);
    EXPECT_EQ(catalan[8].marca, QStringLiteral("BPIE1"));
    EXPECT_EQ(catalan[10].texto, QString(212, QLatin1Char(' ')));
    EXPECT_TRUE(catalan[9].texto.startsWith(QStringLiteral("El/la representant dels treballadors")));
    EXPECT_EQ(catalan.back().texto, QStringLiteral("COPIA BÀSICA"));
}

TEST_F(ImpresionTest, CopiaBasicaOfAContractChangedElsewhereIsRefused)
{
    QByteArray cambiado = readFile("C:\\Quelvan\\Dorvane\\Contratos\\0012300045.doc");
    cambiado.replace("12345678Z{\\*\\bkmkend _Tv1_", "87654321X{\\*\\bkmkend _Tv1_");
    writeFile("C:\\Quelvan\\Dorvane\\Contratos\\0012300045.doc", cambiado);
    msg().answer(Answer::Yes);
    CopiaBasica(ventana, ventana.marco(), guardado());
    EXPECT_TRUE(fakeOffice().calls.empty());
    EXPECT_EQ(copias.prompts(), 0);
    EXPECT_TRUE(msg().texts().last().contains(QStringLiteral("M0115")));
    EXPECT_FALSE(exists("C:\\Quelvan\\Dorvane\\Contratos\\0012300045CB.doc"));
}
