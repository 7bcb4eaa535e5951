#include "EmpresasTest.h"

#include "common/Documentos.h"
#include "platform/Document.h"
#include "platform/WorkingCopies.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>

using namespace testing_support;

namespace {

const char* const kContrato = "C:\\Quelvan\\Dorvane\\Contratos\\0001200001.doc";
const char* const kProrroga = "C:\\Quelvan\\Dorvane\\Contratos\\0001200001P.doc";
const char* const kCopiaBasica = "C:\\Quelvan\\Dorvane\\Contratos\\0001200001CB.doc";

} // namespace

class DocumentosGuardadosTest : public EmpresasTest {
protected:
    DocumentosGuardadosTest()
    {
        const qint64 id = empresa(u("00012"), u("Talleres Norte"));
        trabajador(id, 1, u("Ana Ruiz"), {{"NIF14", "12345678Z"}, {"Contrato", "401 - Obra o servicio"},
                                           {"FechaInicioProrroga", "2026-06-01"}});

        // The contract as contract production stored it, personal data in.
        contratoRelleno(host(kContrato), true);
        SampleDocument d;
        d.body = {{text("Prórroga "), start("Basica"), end("Basica")}};
        writeFile(kProrroga, toRtf(d));

        ficha = &abrir(id);
        ficha->SSTab1->setCurrentIndex(1);
        ficha->dbgTrabajadores->setRow(0);
        ficha->cmdEditar->click();
        copias = std::make_unique<CopiesAnswerer>(ficha->fraDatosImprimir, ficha->txtNumeroCopias, ficha->cmdCopias);
    }
    frmEmpresa* ficha = nullptr;
    std::unique_ptr<CopiesAnswerer> copias;
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
    copias->answer(u("2"));
    msg().answer(Answer::Yes); // ¿Desea copia básica?
    copias->answer(u("1"));
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

    // The copia básica: none of the personal data, its blanks and texts; stored as the file printed.
    const platform::Document copia = platform::Document::open(host(kCopiaBasica));
    EXPECT_EQ(QFileInfo(copia.path()).permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);
    for (const char* marca : {"M0115", "M2115", "M0116", "M0462"})
        EXPECT_EQ(copia.bookmarkText(u(marca)), QString()) << marca;
    EXPECT_EQ(copia.bookmarkText(u("M0001")), u("Talleres Ruiz"));
    EXPECT_EQ(copia.bookmarkText(u("B0115")), QString(112, QLatin1Char(' ')));
    EXPECT_EQ(copia.bookmarkText(u("B0462")), QString(212, QLatin1Char(' ')));
    const QString pie = copia.bookmarkText(u("BPIE11"));
    EXPECT_EQ(pie.size(), 225);
    EXPECT_TRUE(pie.startsWith(u("El/la representante de los trabajadores ")));
    EXPECT_EQ(copia.bookmarkText(u("BPIE22")), pie);
    EXPECT_EQ(copia.bookmarkText(u("Basica")), u("COPIA BÁSICA"));
    EXPECT_FALSE(fakeOffice().calls[3].content.contains("12345678Z"));
    EXPECT_EQ(readFile(kCopiaBasica), fakeOffice().calls[3].content);
    EXPECT_FALSE(exists("C:\\Borrador.doc")) << "the scratch copy goes once printed and stored";
    EXPECT_EQ(platform::Document::open(host(kContrato)).bookmarkText(u("M0115")), u("12345678Z"));
    EXPECT_EQ(ficha->MousePointer(), 0);
}

TEST_F(DocumentosGuardadosTest, ExtensionPrintsWholeOncePerCopyAndAContractNotPrintedStillOffersItsCopiaBasica)
{
    msg().answer(Answer::Yes);
    copias->answer(u("3"));
    ficha->cmdAccederProrroga->click();
    EXPECT_EQ(fakeOffice().journal(), (QStringList{"show 0001200001P.doc", "print all 3 0001200001P.doc"}));
    EXPECT_EQ(msg().texts(), QStringList{u("¿Desea Imprimir la prórroga?")});

    fakeOffice().calls.clear();
    msg().answer(Answer::Yes);
    copias->answer(u("Escape"));
    msg().answer(Answer::No); // no copia básica
    ficha->cmdAcceder->click();
    EXPECT_EQ(fakeOffice().journal(), QStringList{"show 0001200001.doc"});
    EXPECT_FALSE(exists("C:\\Borrador.doc"));

    msg().answer(Answer::No); // no print
    msg().answer(Answer::No); // no copia básica
    ficha->cmdAcceder->click();
    EXPECT_EQ(msg().texts().mid(msg().texts().size() - 2),
              (QStringList{u("¿Desea Imprimir el contrato?"), u("¿Desea copia básica?")}));
}

TEST_F(DocumentosGuardadosTest, MissingDocumentsAndContractsAreReportedAndTheEndStepRuns)
{
    // Named as the program knows it, as the saved-contracts list names it.
    QFile::remove(host(kContrato));
    ficha->cmdAcceder->click();
    EXPECT_TRUE(fakeOffice().calls.empty());
    EXPECT_EQ(msg().shown().back().style, 16);
    EXPECT_EQ(msg().texts().back(),
              u("No se encuentra el documento guardado de este contrato, "
                "C:\\Quelvan\\Dorvane\\Contratos\\0001200001.doc."));
    EXPECT_EQ(fakeClock().waits.back(), 2.0);
    EXPECT_EQ(ficha->MousePointer(), 0);
    QFile::rename(host(kProrroga), host(kProrroga) + u(".aparte"));
    ficha->cmdAccederProrroga->click();
    EXPECT_EQ(msg().texts().back(),
              u("No se encuentra el documento guardado de esta prórroga, "
                "C:\\Quelvan\\Dorvane\\Contratos\\0001200001P.doc."));
    QFile::rename(host(kProrroga) + u(".aparte"), host(kProrroga));

    // A word processor that cannot be started: said, and nothing else asked.
    fakeOffice().failure = u("Para mostrar el documento hace falta LibreOffice Writer.");
    ficha->cmdAccederProrroga->click();
    EXPECT_EQ(msg().texts().back(), fakeOffice().failure);

    AbrirBaseDatos().exec(u(R"(UPDATE "Trabajadores" SET "Contrato" = NULL)"));
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
    EXPECT_EQ(fakeOffice().calls[0].action, u("view")) << "read-only";
    const QString primera = fakeOffice().calls[0].path;
    EXPECT_NE(primera, fakeOffice().calls[1].path);
    EXPECT_TRUE(QFileInfo(primera).fileName().startsWith(u("Contrato")));
    EXPECT_EQ(QFileInfo(primera).absolutePath(), driveC.filePath(u("Temp")));
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
    EXPECT_EQ(msg().texts().back(),
              u("No se puede abrir el registro de subcontratas. No se encuentra el documento "
                "C:\\Quelvan\\Dorvane\\RegSubcontratas.rtf."));
    EXPECT_EQ(msg().shown().back().style, 16);
    EXPECT_EQ(Forms::loaded<frmAyuda>(), nullptr);
    EXPECT_EQ(ficha->MousePointer(), 0);

    // The copies go once the word processor has closed them; the one never
    // shown went at once.
    const QDir temporal(driveC.filePath(u("Temp")));
    EXPECT_EQ(temporal.entryList(QDir::Files).size(), 3);
    fakeOffice().showing.clear();
    platform::removeReleasedWorkingCopies();
    EXPECT_EQ(temporal.entryList(QDir::Files), QStringList());
}

// While the word processor opens the register, the window waits for it
// blocked: a second click opens no second copy and "Volver." leaves nothing
// waiting to raise a window later.
TEST_F(DocumentosGuardadosTest, RegisterBlocksTheWindowWhileTheWordProcessorOpensIt)
{
    writeFile(kRegistroSubcontratas, "{\\rtf1\\ansi REGISTRO\\par}");
    fakeDesktop().attemptsBeforeWindow = 4;
    bool pulsados = false;
    fakeClock().duringWait = [&](double) {
        if (!fakeOffice().calls.empty() && !std::exchange(pulsados, true)) {
            clic(ficha->cmdSubcontratas);
            clic(ficha->cmdSalir);
        }
    };
    clic(ficha->cmdSubcontratas);

    EXPECT_TRUE(pulsados);
    EXPECT_EQ(fakeOffice().calls.size(), 1u);
    EXPECT_EQ(fakeDesktop().journal.filter(u("front")).size(), 1);
    EXPECT_TRUE(Forms::isLoaded(*ficha));
    EXPECT_TRUE(ficha->cmdSubcontratas->isEnabled() && ficha->cmdSalir->isEnabled());
}
