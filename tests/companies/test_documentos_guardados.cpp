#include "Copias.h"
#include "DocumentFiles.h"
#include "TervaloTest.h"

#include "common/Documentos.h"
#include "common/Module1.h"
#include "common/frmAyuda.h"
#include "companies/frmEmpresa.h"
#include "data/Esquema.h"
#include "platform/DBGrid.h"
#include "platform/Document.h"
#include "platform/Forms.h"
#include "platform/TextBox.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QPushButton>
#include <QTabWidget>

using platform::Answer;
using platform::Forms;
using namespace testing_support;

namespace {

const char* const kContrato = "C:\\Quelvan\\Dorvane\\Contratos\\0001200001.doc";
const char* const kProrroga = "C:\\Quelvan\\Dorvane\\Contratos\\0001200001P.doc";
const char* const kCopiaBasica = "C:\\Quelvan\\Dorvane\\Contratos\\0001200001CB.doc";

} // namespace

class DocumentosGuardadosTest : public TervaloTest {
protected:
    DocumentosGuardadosTest() : previousTemp_(qgetenv("TMPDIR"))
    {
        qputenv("TMPDIR", driveC.filePath(QStringLiteral("Temp")).toUtf8());
        QDir().mkpath(driveC.filePath(QStringLiteral("Temp")));
        esquema::crearBasesDeDatosQueFalten();
        RutaBaseDatos();
        auto db = AbrirBaseDatos();
        const qint64 empresa = db.insert(
            QStringLiteral("Empresas"), {{u("NúmeroEmpresa"), "00012"}, {u("NombreEmpresa"), "Talleres Norte"}});
        db.insert(QStringLiteral("Trabajadores"),
                  {{"IdEmpresa", QString::number(empresa)}, {u("NúmeroTrabajador"), 1}, {"NombreTrabajador", "Ana Ruiz"},
                   {"NIF14", "12345678Z"}, {"Contrato", "401 - Obra o servicio"},
                   {"FechaInicioProrroga", "2026-06-01"}});

        // The contract as contract production stored it, personal data in.
        SampleDocument d;
        d.body = {{text("Trabajador con NIF "), start("M0115"), end("M0115"), start("B0115"), end("B0115")},
                  {text("Empresa "), start("M0001"), end("M0001")},
                  {start("Basica"), end("Basica")}};
        writeFile(kContrato, toDocx(d));
        platform::Document contrato = platform::Document::open(host(kContrato));
        contrato.insertAfter(QStringLiteral("M0115"), QStringLiteral("12345678Z"));
        contrato.insertAfter(QStringLiteral("M0001"), QStringLiteral("Talleres Norte"));
        contrato.save();
        writeFile(kProrroga, toRtf(d));

        IdEmpresaActual = QString::number(empresa);
        ficha = &Forms::show<frmEmpresa>();
        ficha->Cargar();
        ficha->SSTab1->setCurrentIndex(1);
        ficha->dbgTrabajadores->setRow(0);
        ficha->cmdEditar->click();
        copias = std::make_unique<CopiesAnswerer>(ficha->fraDatosImprimir, ficha->txtNumeroCopias, ficha->cmdCopias);
    }
    ~DocumentosGuardadosTest() override
    {
        copias.reset();
        qputenv("TMPDIR", previousTemp_);
    }

    frmEmpresa* ficha = nullptr;
    std::unique_ptr<CopiesAnswerer> copias;

private:
    QByteArray previousTemp_;
};

TEST_F(DocumentosGuardadosTest, ContractIsShownPrintedDoubleSidedAndItsCopiaBasicaStored)
{
    // While the sequence runs, the window cannot be left or used.
    bool bloqueada = true;
    fakeOffice().onCall = [&](const FakeOffice::Call&) {
        QCloseEvent cerrar;
        QCoreApplication::sendEvent(ficha, &cerrar);
        bloqueada = bloqueada && Forms::isLoaded(*ficha) && !ficha->cmdSalir->isEnabled();
    };
    msg().answer(Answer::Yes); // ¿Desea Imprimir el contrato?
    copias->answer(QStringLiteral("2"));
    msg().answer(Answer::Yes); // ¿Desea copia básica?
    copias->answer(QStringLiteral("1"));
    msg().answer(Answer::Yes); // ¿Desea guardar la Copia Básica?
    ficha->cmdAcceder->click();

    EXPECT_EQ(fakeOffice().journal(),
              (QStringList{"show 0001200001.doc", "print odd 2 0001200001.doc", "print even 2 0001200001.doc",
                           "print odd 1 Borrador.doc", "print even 1 Borrador.doc"}));
    EXPECT_TRUE(bloqueada);
    EXPECT_TRUE(ficha->cmdSalir->isEnabled());
    EXPECT_EQ(copias->prompts(), 2);
    const auto& preguntas = msg().shown();
    EXPECT_EQ(preguntas.front().text, u("¿Desea Imprimir el contrato?"));
    EXPECT_EQ(preguntas.front().style, 292);
    EXPECT_EQ(preguntas.front().title, u("Confirmación."));
    EXPECT_EQ(msg().texts().count(QString::fromUtf8(kAvisoSegundaCara)), 2);
    EXPECT_EQ(msg().unusedAnswers(), 0u);

    const platform::Document copia = platform::Document::open(host(kCopiaBasica));
    EXPECT_EQ(QFileInfo(copia.path()).permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);
    EXPECT_EQ(copia.bookmarkText(QStringLiteral("M0115")), QString());
    EXPECT_EQ(copia.bookmarkText(QStringLiteral("B0115")), QString(112, QLatin1Char(' ')));
    EXPECT_EQ(copia.bookmarkText(QStringLiteral("Basica")), u("COPIA BÁSICA"));
    EXPECT_EQ(copia.bookmarkText(QStringLiteral("M0001")), QStringLiteral("Talleres Norte"));
    const platform::Document guardado = platform::Document::open(host(kContrato));
    EXPECT_EQ(guardado.bookmarkText(QStringLiteral("M0115")), QStringLiteral("12345678Z"));
    EXPECT_EQ(ficha->MousePointer(), 0);
}

TEST_F(DocumentosGuardadosTest, ExtensionPrintsWholeOncePerCopyAndZeroCopiesPrintNothing)
{
    msg().answer(Answer::Yes);
    copias->answer(QStringLiteral("3"));
    ficha->cmdAccederProrroga->click();
    EXPECT_EQ(fakeOffice().journal(), (QStringList{"show 0001200001P.doc", "print all 3 0001200001P.doc"}));
    EXPECT_EQ(msg().texts(), QStringList{u("¿Desea Imprimir la prórroga?")});

    fakeOffice().calls.clear();
    msg().answer(Answer::Yes);
    copias->answer(QStringLiteral("Escape"));
    msg().answer(Answer::No); // no copia básica
    ficha->cmdAcceder->click();
    EXPECT_EQ(fakeOffice().journal(), QStringList{"show 0001200001.doc"});
    EXPECT_FALSE(exists("C:\\Borrador.doc"));
}

TEST_F(DocumentosGuardadosTest, MissingDocumentsAndContractsAreReportedAndTheEndStepRuns)
{
    QFile::remove(host(kContrato));
    ficha->cmdAcceder->click();
    EXPECT_TRUE(fakeOffice().calls.empty());
    EXPECT_EQ(msg().shown().back().style, 16);
    EXPECT_TRUE(msg().texts().back().contains(QStringLiteral("0001200001.doc")));
    EXPECT_EQ(fakeClock().waits.back(), 2.0);
    EXPECT_EQ(ficha->MousePointer(), 0);

    // A word processor that cannot be started: said, and nothing else asked.
    fakeOffice().failure = QStringLiteral("Para mostrar el documento hace falta LibreOffice Writer.");
    ficha->cmdAccederProrroga->click();
    EXPECT_EQ(msg().texts().back(), fakeOffice().failure);

    AbrirBaseDatos().exec(QStringLiteral(R"(UPDATE "Trabajadores" SET "Contrato" = NULL)"));
    ficha->cmdAcceder->click();
    EXPECT_EQ(msg().texts().back(), u("No hay ningún contrato a editar."));
    EXPECT_EQ(msg().shown().back().style, 64);
}

TEST_F(DocumentosGuardadosTest, RegisterOpensATemporaryCopyAndTheShippedOneStaysAsItWas)
{
    const QByteArray registro = "{\\rtf1\\ansi REGISTRO DE SUBCONTRATAS\\par}";
    writeFile(kRegistroSubcontratas, registro);
    ficha->cmdSubcontratas->click();
    ficha->cmdSubcontratas->click();

    ASSERT_EQ(fakeOffice().calls.size(), 2u);
    const QString primera = fakeOffice().calls[0].path;
    EXPECT_NE(primera, fakeOffice().calls[1].path);
    EXPECT_TRUE(QFileInfo(primera).fileName().startsWith(QStringLiteral("Contrato")));
    EXPECT_EQ(QFileInfo(primera).absolutePath(), driveC.filePath(QStringLiteral("Temp")));
    EXPECT_EQ(readFile(primera.toUtf8().constData()), registro);
    EXPECT_EQ(readFile(kRegistroSubcontratas), registro);
    EXPECT_EQ(readFile("C:\\Borrador.doc"), registro);
    EXPECT_EQ(Forms::loaded<frmAyuda>(), nullptr);
    EXPECT_TRUE(msg().shown().empty());
    EXPECT_TRUE(ficha->cmdSalir->isEnabled());

    // A register that is not a document: the template message, then the copy
    // is shown all the same; a missing one: said, and the help window closed.
    writeFile(kRegistroSubcontratas, "dañado");
    ficha->cmdSubcontratas->click();
    EXPECT_EQ(msg().texts().back(), MensajePlantillaNoSeAbre());
    EXPECT_EQ(fakeOffice().calls.size(), 3u);
    QFile::remove(host(kRegistroSubcontratas));
    ficha->cmdSubcontratas->click();
    EXPECT_TRUE(msg().texts().back().startsWith(QStringLiteral("No se puede abrir el registro de subcontratas.")));
    EXPECT_EQ(Forms::loaded<frmAyuda>(), nullptr);
    EXPECT_EQ(ficha->MousePointer(), 0);
}
