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
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using platform::Answer;
using platform::Forms;
using namespace testing_support;

namespace {

// A window with a copies frame, as the record window and the lists have.
class frmPrueba : public platform::Form {
public:
    frmPrueba() : Form(u("frmPrueba"))
    {
        designSize(6000, 4000);
        cmdOtro = place(new QPushButton(u("Volver.")), "cmdOtro", 120, 120, 1200, 400);
        fraDatosImprimir
            = place(new QGroupBox(u("IMPRESIÓN : ")), "fraDatosImprimir", 120, 720, 4000, 1200);
        txtNumeroCopias = place(new QLineEdit, "txtNumeroCopias", 2400, 300, 600, 300, fraDatosImprimir);
        cmdCopias
            = place(new QPushButton(u("Aceptar")), "cmdCopias", 3100, 300, 800, 300, fraDatosImprimir);
        fraDatosImprimir->hide();
    }
    MarcoCopias marco() const { return {fraDatosImprimir, txtNumeroCopias, cmdCopias}; }

    QPushButton* cmdOtro;
    QGroupBox* fraDatosImprimir;
    QLineEdit* txtNumeroCopias;
    QPushButton* cmdCopias;
};

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
        contratoRelleno(contratoGuardado, false);
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
    copias.answer(u("abc")); // not taken: the box stays empty and the prompt waits
    copias.answer(u("150")); // two figures at most
    EXPECT_EQ(PedirCopias(ventana, ventana.marco()), 15);
    EXPECT_TRUE(comprobado);
    EXPECT_EQ(copias.prompts(), 1);
    EXPECT_FALSE(platform::isShown(ventana.fraDatosImprimir));
    EXPECT_TRUE(ventana.txtNumeroCopias->text().isEmpty());
    EXPECT_TRUE(ventana.cmdOtro->isEnabled());
    EXPECT_FALSE(CopiasAceptadas);

    copias.answer(u("Escape"));
    EXPECT_EQ(PedirCopias(ventana, ventana.marco()), 0);
    copias.answer(u("0"));
    EXPECT_EQ(PedirCopias(ventana, ventana.marco()), 0);

    // Asked while the document shown in the word processor has the
    // activation: the window asking takes it back.
    QWidget documento;
    documento.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&documento));
    copias.answer(u("1"));
    EXPECT_EQ(PedirCopias(ventana, ventana.marco()), 1);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&ventana));
}

TEST_F(ImpresionTest, DoubleSidedPrintsAllOddPagesThenTheMessageThenTheEvenOnes)
{
    msg().answer(Answer::Ok);
    fakeOffice().onCall = [this](const FakeOffice::Call&) {
        orden << fakeOffice().journal().last() + u(" after ") + QString::number(msg().shown().size());
    };
    EXPECT_TRUE(ImprimirDobleCara(contratoGuardado, 3, QString::fromUtf8(kAvisoSegundaCara)));
    EXPECT_EQ(orden, (QStringList{u("print odd 3 0012300045.doc after 0"),
                                  u("print even 3 0012300045.doc after 1")}));
    EXPECT_EQ(msg().texts(), QStringList{QString::fromUtf8(kAvisoSegundaCara)});
    EXPECT_EQ(msg().shown().front().style, 64);

    // A printer that is not there: one message, and nothing more is sent.
    orden.clear();
    fakeOffice().failure = u("No hay impresora.");
    EXPECT_FALSE(ImprimirDobleCara(contratoGuardado, 1, QString::fromUtf8(kAvisoSegundaCara)));
    EXPECT_EQ(orden.size(), 1);
    EXPECT_EQ(msg().texts().last(), u("No hay impresora."));
}

// Production's variant: its own blanks, captions in the document's language
// and the first-page signature bookmarks.
TEST(CopiaBasica, ProductionsTextsFollowTheDocumentsLanguage)
{
    const auto catalan = TextosCopiaBasica(VarianteCopiaBasica::Produccion, 2, true);
    EXPECT_EQ(catalan[7].texto.size(), 112);
    EXPECT_EQ(catalan[8].marca, u("BPIE1"));
    EXPECT_EQ(catalan[10].texto, QString(212, QLatin1Char(' ')));
    EXPECT_TRUE(catalan[9].texto.startsWith(u("El/la representant dels treballadors")));
    EXPECT_EQ(catalan.back().texto, u("COPIA BÀSICA"));
}

// Every bookmark of both variants in its order, each with its own text:
// blanks by their number, the captions by their words.
TEST(CopiaBasica, EveryBookmarkOfBothVariantsGetsItsOwnText)
{
    const auto escritos = [](VarianteCopiaBasica variante, int idioma, bool firmas) {
        QStringList out;
        for (const TextoMarca& t : TextosCopiaBasica(variante, idioma, firmas))
            out << t.marca + u("=")
                    + (t.texto.trimmed().isEmpty() ? QString::number(t.texto.size())
                                                   : t.texto.trimmed() + u("/%1").arg(t.texto.size()));
        return out;
    };
    const QStringList personales{"B0115=112", "B0116=112", "B0111=112", "B0136=112",
                                 "B0380=112", "B0105=112", "B0106=112"};
    const QString representante = u("El/la representante de los trabajadores/225");
    const QStringList guardado{"B0462=212", u("BPIE11=") + representante, u("BPIE22=") + representante,
                               u("Basica=COPIA BÁSICA/12")};
    EXPECT_EQ(escritos(VarianteCopiaBasica::ContratoGuardado, 1, true), personales + guardado);
    const QStringList conFirmas{"B0462=112",
                                "BPIE1=212",
                                u("BPIE2=") + representante,
                                "BPIE11=212",
                                u("BPIE22=") + representante,
                                u("Basica=COPIA BÁSICA/12")};
    EXPECT_EQ(escritos(VarianteCopiaBasica::Produccion, 1, true), personales + conFirmas);
    const QStringList catalan{"B0462=112", "BPIE11=212", u("BPIE22=El/la representant dels treballadors/225"),
                              u("Basica=COPIA BÀSICA/12")};
    EXPECT_EQ(escritos(VarianteCopiaBasica::Produccion, 2, false), personales + catalan);
}

TEST_F(ImpresionTest, CopiaBasicaOfAContractChangedElsewhereIsRefused)
{
    QByteArray cambiado = readFile("C:\\Quelvan\\Dorvane\\Contratos\\0012300045.doc");
    cambiado.replace(cambiado.indexOf("12345678Z"), 9, "87654321X"); // the NIF at M0115
    writeFile("C:\\Quelvan\\Dorvane\\Contratos\\0012300045.doc", cambiado);
    msg().answer(Answer::Yes);
    CopiaBasica(ventana, ventana.marco(), guardado());
    EXPECT_TRUE(fakeOffice().calls.empty());
    EXPECT_EQ(copias.prompts(), 0);
    EXPECT_TRUE(msg().texts().last().contains(u("M0115")));
    EXPECT_FALSE(exists("C:\\Quelvan\\Dorvane\\Contratos\\0012300045CB.doc"));
}

// A stored contract that lost bookmarks of the copia básica (another word
// processor dropped them): no copy without its texts, and the user is told
// which are missing.
TEST_F(ImpresionTest, CopiaBasicaOfAContractThatLostItsMarksIsRefusedNamingThem)
{
    QByteArray sinMarcas = readFile("C:\\Quelvan\\Dorvane\\Contratos\\0012300045.doc");
    for (const char* marca : {"BPIE22", "Basica"}) {
        for (const char* parte : {"{\\*\\bkmkstart ", "{\\*\\bkmkend "})
            sinMarcas.replace(QByteArray(parte) + marca + '}', "");
    }
    writeFile("C:\\Quelvan\\Dorvane\\Contratos\\0012300045.doc", sinMarcas);
    msg().answer(Answer::Yes);
    CopiaBasica(ventana, ventana.marco(), guardado());
    EXPECT_TRUE(fakeOffice().calls.empty());
    EXPECT_EQ(copias.prompts(), 0);
    EXPECT_TRUE(msg().texts().last().contains(u("BPIE22, Basica"))) << msg().texts().last().toStdString();
    EXPECT_FALSE(exists("C:\\Quelvan\\Dorvane\\Contratos\\0012300045CB.doc"));
}

// What cannot be copied is named as the program knows it.
TEST_F(ImpresionTest, CopiaBasicaThatCannotBeCopiedNamesItsFilesByTheirWindowsPaths)
{
    QDir().mkpath(host("C:\\Quelvan\\Dorvane\\Contratos\\0012300045CB.doc\\dentro"));
    CopiaBasicaOpciones o = guardado();
    o.produccion = true;
    for (Answer a : {Answer::Yes, Answer::No, Answer::Yes})
        msg().answer(a); // copia básica, not printed, saved
    CopiaBasica(ventana, ventana.marco(), o);
    EXPECT_EQ(msg().texts().last(),
              u("No se puede copiar el documento C:\\Borrador.doc en "
                "C:\\Quelvan\\Dorvane\\Contratos\\0012300045CB.doc."));
    EXPECT_EQ(msg().shown().back().style, 16);

    QFile::remove(contratoGuardado);
    msg().answer(Answer::Yes);
    CopiaBasica(ventana, ventana.marco(), o);
    EXPECT_EQ(msg().texts().last(), u("No se encuentra el documento C:\\Quelvan\\Dorvane\\Contratos\\0012300045.doc."));
    EXPECT_EQ(copias.prompts(), 0);
}
