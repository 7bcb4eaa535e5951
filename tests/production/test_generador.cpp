#include "Generador.h"

#include "common/frmMensaje.h"
#include "companies/frmEmpresas.h"
#include "platform/DBGrid.h"
#include "platform/WorkingCopies.h"

using namespace testing_support;

namespace {

constexpr auto kContrato = "C:\\Quelvan\\Dorvane\\Contratos\\0001200001.doc";
constexpr auto kCopiaBasica = "C:\\Quelvan\\Dorvane\\Contratos\\0001200001CB.doc";

} // namespace

TEST_F(GeneradorTest, FromTheRecordWindowToAPrintedStoredContractAndItsCopiaBasica)
{
    // A company and a worker created in the record window, then "Contrato.".
    Forms::show<frmEmpresas>().cmdNuevo->click();
    auto& ficha = *Forms::loaded<frmEmpresa>();
    ficha.txtNombreEmpresa->setText(u("TALLERES SA"));
    ficha.txtNumEmpresa->setText(u("12"));
    ficha.txtNumEmpresa->leaveFocus();
    msg().answer(Answer::Yes); // the company
    ficha.SSTab1->setCurrentIndex(1);
    msg().answer(Answer::Yes); // the proposed worker number
    ficha.cmdNuevo->click();
    ficha.txtNombreTrabajador->setText(u("ANA ROS"));
    ficha.txtDNI->setText(u("12345678Z"));
    ficha.txtFechaNac->setText(u("15/03/1980"));
    msg().answer(Answer::Yes); // the worker
    ficha.cmdGrabar->click();
    ficha.dbgTrabajadores->setRow(0);
    ficha.cmdEditar->click();
    ficha.cmdContratoManual->click();
    auto& form = *Forms::loaded<frmEleccionContrato>();
    ASSERT_EQ(Forms::loaded<frmEmpresa>(), nullptr);
    responderCopias(form);

    // The contract, a mark, two clauses ticked last row first, the month by name.
    elegir(form, u("TEMPORAL"), u("401 - Obra"));
    escribirMarca(form, u("0250"), u("21000"));
    escribirMarca(form, u("0076"), u("31/12/2027"));
    form.SSTab1->setCurrentIndex(1);
    form.chkClausula[1]->click();
    form.chkClausula[0]->click();
    form.SSTab1->setCurrentIndex(2);
    QTest::keyClicks(form.txtLugar, u("Lleida"));
    form.optLetras->click();

    // The user saves a change in the word processor before printing.
    fakeOffice().onCall = [](const FakeOffice::Call& llamada) {
        if (llamada.action != QLatin1String("show"))
            return;
        auto documento = platform::Document::open(llamada.path);
        documento.insertAfter(u("Nombre"), u(" (revisado)"));
        documento.save();
    };
    // Nothing of the window can start a second run meanwhile.
    bool bloqueada = true;
    fakeClock().duringWait = [&](double) {
        bloqueada = bloqueada && !form.cmdRealizarContrato->isEnabled() && !form.cmdSalir->isEnabled();
        form.close();
    };
    for (Answer a : {Answer::Yes, Answer::Yes, Answer::Yes, Answer::Yes, Answer::Yes})
        msg().answer(a); // print, store, copia básica, print it, store it
    copias->answer(u("2"));
    copias->answer(u("1"));
    form.cmdRealizarContrato->click();

    EXPECT_EQ(msg().unusedAnswers(), 0u);
    EXPECT_TRUE(bloqueada);
    ASSERT_EQ(Forms::loaded<frmEleccionContrato>(), &form);
    EXPECT_TRUE(form.cmdSalir->isEnabled());
    EXPECT_FALSE(platform::isShown(form.fraProgreso));
    // Shown, printed double-sided in two copies, then the copia básica from a copy of its own.
    QStringList pasos;
    for (const QString& linea : fakeOffice().journal())
        pasos << linea.section(QLatin1Char(' '), 0, -2); // without the file's name
    EXPECT_EQ(pasos, (QStringList{"show", "print odd 2", "print even 2", "print odd 1", "print even 1"}));
    EXPECT_NE(fakeOffice().calls[3].path, fakeOffice().calls[1].path);
    EXPECT_TRUE(fakeOffice().calls[1].content.contains("21000"));
    for (const char* final : {" y pulse Aceptar", ", y pulse Aceptar"})
        EXPECT_TRUE(msg().texts().contains(u("Una vez finalizada la impresión de la primera hoja situe "
                                                          "la segunda en la bandeja")
                                           + QString::fromUtf8(final)));

    // The stored contract: marks, clause, description with the user's change, foot.
    QStringList escrito;
    for (const char* m :
         {"M0102", "M2102", "M0115", "M0250", "Clausula1", "Nombre", "Dato1", "Dato2", "Dato3", "Dato4"})
        escrito << marcador(kContrato, m);
    EXPECT_EQ(escrito, (QStringList{"ANA ROS", "ANA ROS", "12345678Z", "21000",
                                    "- Primera. Periodo de prueba.\n- Segunda. Horas extra.\n",
                                    "401 Tiempo Completo Obra Serv. Determ. (revisado)", "Lleida", "06", "diciembre",
                                    "2026"}));

    // Its copia básica: blanks and captions, no personal data.
    const QByteArray copia = readFile(kCopiaBasica);
    EXPECT_FALSE(copia.contains("12345678Z") || copia.contains("15/03/1980"));
    EXPECT_EQ(marcador(kCopiaBasica, "B0115"), QString(112, QLatin1Char(' ')));
    EXPECT_EQ(marcador(kCopiaBasica, "BPIE2"),
              u("El/la representante de los trabajadores") + QString(186, QLatin1Char(' ')));
    EXPECT_EQ(marcador(kCopiaBasica, "Basica"), u("COPIA BÁSICA"));

    // The list of stored contracts and the worker.
    EXPECT_EQ(columna(u("SELECT Empresa || '|' || Trabajador || '|' || Fecha || '|' || TipoContrato || '|' || Nombre "
                        "FROM ContratosGrabados")),
              QStringList{"TALLERES SA|ANA ROS|2026-12-06|401 - Obra|0001200001.doc"});
    EXPECT_EQ(columna(u("SELECT Contrato || '|' || TipoContrato || '|' || IdContrato || '|' || FechaContrato || '|' || "
                        "FechaVencimiento FROM Trabajadores")),
              QStringList{u("401 - Obra|TEMPORAL|%1|2026-12-06|2027-12-31").arg(idContrato)});
    EXPECT_FALSE(TrabajadorGrabadoParaContrato);
}

TEST_F(GeneradorTest, AnExtensionPrintsWholeOncePerCopyAndIsStoredForTheWorkerTheHeaderNames)
{
    const qint64 empresa = insertar("Empresas", {{"NúmeroEmpresa", "00012"}});
    const qint64 otra = insertar("Empresas", {{"NúmeroEmpresa", "00099"}});
    const auto trabajador = [this](qint64 idEmpresa) {
        return insertar("Trabajadores", {{"IdEmpresa", QString::number(idEmpresa)}, {"NúmeroTrabajador", 1}});
    };
    IdTrabajadorContrato = trabajador(otra); // left by an earlier hand-off
    const qint64 delEncabezado = trabajador(empresa);
    auto& form = desdeImportados(u("PRORROGA"), u("402 - Prórroga"));
    ponerMarca(form, "0222", "6 Meses  ");
    ponerMarca(form, "0223", "01/01/2027");

    for (Answer a : {Answer::Yes, Answer::Yes, Answer::No})
        msg().answer(a); // print, store, no copia básica
    copias->answer(u("3"));
    form.cmdRealizarContrato->click();

    ASSERT_EQ(fakeOffice().journal().size(), 2);
    EXPECT_TRUE(fakeOffice().journal()[1].startsWith(u("print all 3 Contrato")));
    EXPECT_EQ(msg().texts(), (QStringList{"¿Desea Imprimir la prórroga?",
                                          "¿Desea guardar la prórroga en la base de datos?",
                                          "¿Desea copia básica?"}));
    EXPECT_TRUE(exists("C:\\Quelvan\\Dorvane\\Contratos\\0001200001P.doc"));
    const auto grabado = fila("SELECT * FROM ContratosGrabados");
    EXPECT_TRUE(grabado.isNull(u("Nombre")));
    EXPECT_TRUE(grabado.isNull(u("TipoContrato")));
    const auto prorroga = fila("SELECT * FROM Trabajadores WHERE FechaInicioProrroga IS NOT NULL");
    EXPECT_EQ(prorroga.value(u("IdTrabajador")).toLongLong(), delEncabezado);
    EXPECT_EQ(prorroga.text(u("FechaInicioProrroga")), u("2027-01-01"));
    EXPECT_EQ(prorroga.text(u("Duracion")), u("6 Meses  "));
}

TEST_F(GeneradorTest, ADayOfContractsGoesToTheRightWorkersAndKeepsEachCopiaBasica)
{
    const qint64 empresa = insertar("Empresas", {{"NúmeroEmpresa", "00012"}, {"NombreEmpresa", "TALLERES SA"}});
    const auto trabajador = [&](int numero, const char* nombre, const char* nif) {
        return insertar("Trabajadores", {{"IdEmpresa", QString::number(empresa)},
                                         {"NumEmpresa", "00012"},
                                         {"NúmeroTrabajador", numero},
                                         {"NombreTrabajador", u(nombre)},
                                         {"NIF14", u(nif)}});
    };
    const qint64 ana = trabajador(1, "ANA ROS", "12345678Z");
    const qint64 luis = trabajador(2, "LUIS GIL", "11111111H");
    writeFile("C:\\Quelvan\\Dorvane\\ContratosTemp\\0001200002", "registro");
    const auto contrato = [this](qint64 id) {
        return valor(u("SELECT IFNULL(Contrato, '-') FROM Trabajadores WHERE IdTrabajador = ?"), {id}).toString();
    };

    // "Contrato." for Ana, and back to the main window without making it.
    auto& ficha = fichaDeEmpresa(empresa);
    editarTrabajador(ficha, ana);
    salirAlMenu(contratoDeLaFicha(ficha));
    EXPECT_FALSE(TrabajadorGrabadoParaContrato);

    // Luis's contract from his imported record: printed, stored, its copia básica stored.
    auto* form = &contratoDeImportado(u("00012"), 2);
    responderCopias(*form);
    elegir(*form, u("TEMPORAL"), u("401 - Obra"));
    for (Answer a : {Answer::Yes, Answer::Yes, Answer::Yes, Answer::No, Answer::Yes})
        msg().answer(a); // print, store, copia básica, not printed, stored
    copias->answer(u("1"));
    form->cmdRealizarContrato->click();
    EXPECT_EQ(msg().unusedAnswers(), 0u);
    EXPECT_EQ(contrato(luis), u("401 - Obra"));
    EXPECT_EQ(contrato(ana), u("-")) << "the contract left unmade was Ana's, this one is Luis's";
    constexpr auto kCopiaContrato = "C:\\Quelvan\\Dorvane\\Contratos\\0001200002CB.doc";
    EXPECT_TRUE(marcador(kCopiaContrato, "Nombre").startsWith(u("401 ")));

    // His extension: stored with its copia básica beside it, the contract's kept.
    copias.reset();
    form = &contratoDeImportado(u("00012"), 2);
    elegir(*form, u("PRORROGA"), u("402 - Prórroga"));
    ponerMarca(*form, "0223", "01/01/2027");
    for (Answer a : {Answer::No, Answer::Yes, Answer::Yes, Answer::No, Answer::Yes})
        msg().answer(a); // not printed, stored, copia básica, not printed, stored
    form->cmdRealizarContrato->click();
    EXPECT_EQ(msg().unusedAnswers(), 0u);
    EXPECT_TRUE(marcador(kCopiaContrato, "Nombre").startsWith(u("401 "))) << "the contract's copy is kept";
    constexpr auto kCopiaProrroga = "C:\\Quelvan\\Dorvane\\Contratos\\0001200002PCB.doc";
    ASSERT_TRUE(exists(kCopiaProrroga));
    EXPECT_TRUE(marcador(kCopiaProrroga, "Nombre").startsWith(u("402 ")));
    EXPECT_EQ(marcador(kCopiaProrroga, "Basica"), u("COPIA BÁSICA"));

    // After the print run, an import: its notice says what it does.
    salirAlMenu(*form);
    QString aviso;
    importar([&] {
        const auto* notice = Forms::loaded<frmImprimiendo>();
        aviso = notice && !notice->isHidden() ? notice->lblImprimir->text() : u("(no se ve)");
    });
    EXPECT_EQ(aviso, u("Importando."));
}

// From the record window the contract goes on the worker it saved for it,
// even when the user prints and stores nothing; from the imported list it
// goes on no worker the record window saved.
TEST_F(GeneradorTest, AContractDeclinedEverywhereStillGoesOnTheWorkerTheRecordWindowSaved)
{
    const qint64 empresa = insertar("Empresas", {{"NúmeroEmpresa", "00012"}, {"NombreEmpresa", "TALLERES SA"}});
    const qint64 ana = insertar("Trabajadores", {{"IdEmpresa", QString::number(empresa)},
                                                 {"NumEmpresa", "00012"},
                                                 {"NúmeroTrabajador", 1},
                                                 {"NombreTrabajador", "ANA ROS"},
                                                 {"NIF14", "12345678Z"}});
    writeFile("C:\\Quelvan\\Dorvane\\ContratosTemp\\0001200001", "registro");
    const auto contratoDeAna = [&] {
        return columna(u("SELECT IFNULL(Contrato, '-') || '|' || IFNULL(TipoContrato, '-') || '|' || "
                         "IFNULL(FechaContrato, '-') || '|' || IFNULL(FechaVencimiento, '-') FROM Trabajadores "
                         "WHERE IdTrabajador = ?"),
                       {ana});
    };
    const QString hoy = fakeClock().now().date().toString(Qt::ISODate);

    auto& ficha = fichaDeEmpresa(empresa);
    editarTrabajador(ficha, ana);
    auto& form = contratoDeLaFicha(ficha);
    ASSERT_TRUE(TrabajadorGrabadoParaContrato);
    elegir(form, u("TEMPORAL"), u("401 - Obra"));
    escribirMarca(form, u("0076"), u("31/12/2027"));
    for (Answer a : {Answer::No, Answer::No, Answer::No})
        msg().answer(a); // no print, no store, no copia básica
    form.cmdRealizarContrato->click();
    EXPECT_EQ(msg().texts(), (QStringList{"¿Desea Imprimir el contrato?",
                                          "¿Desea guardar el contrato en la base de datos?",
                                          "¿Desea copia básica?"}));
    EXPECT_EQ(contratoDeAna(), QStringList(u("401 - Obra|TEMPORAL|%1|2027-12-31").arg(hoy)));
    EXPECT_TRUE(db.select(u("SELECT * FROM ContratosGrabados")).empty());
    EXPECT_FALSE(TrabajadorGrabadoParaContrato);

    // The next day, her imported record: its contract, declined too, is not
    // hers to write back, even with the flag left set.
    salirAlMenu(form);
    fakeClock().set(fakeClock().now().addDays(1));
    auto& importado = contratoDeImportado(u("00012"), 1);
    TrabajadorGrabadoParaContrato = true;
    elegir(importado, u("TEMPORAL"), u("401 - Obra"));
    for (Answer a : {Answer::No, Answer::No, Answer::No})
        msg().answer(a);
    importado.cmdRealizarContrato->click();
    EXPECT_EQ(msg().unusedAnswers(), 0u);
    EXPECT_EQ(contratoDeAna(), QStringList(u("401 - Obra|TEMPORAL|%1|2027-12-31").arg(hoy)));
    EXPECT_FALSE(TrabajadorGrabadoParaContrato);
}

// None for a contract without an official code. Without signatures on the
// first page their two bookmarks stay empty; declined for printing, the
// copy is still offered for storing.
TEST_F(GeneradorTest, TheCopiaBasicaOfAContractWithAnOfficialCodeWithOrWithoutPrinting)
{
    contrato(tipo(u("FIJO")), u("000"), u("Fijo"), u("OBRA"));
    auto& fijo = desdeImportados(u("FIJO"), u("000 - Fijo"));
    for (Answer a : {Answer::No, Answer::No})
        msg().answer(a); // no print, no store
    fijo.cmdRealizarContrato->click();
    EXPECT_EQ(msg().texts(),
              (QStringList{"¿Desea Imprimir el contrato?", "¿Desea guardar el contrato en la base de datos?"}));
    Forms::unload(fijo);

    writeFile("C:\\Quelvan\\Dorvane\\PObra.rtf", plantilla());
    auto& form = abrirDesdeImportados(u("00001"), u("00012"));
    pulsar(form.optTipoContrato, u("TEMPORAL"));
    form.optNo->click();
    pulsar(form.optContrato, u("401 - Obra"));
    responderCopias(form);
    for (Answer a : {Answer::No, Answer::No, Answer::Yes, Answer::No, Answer::Yes})
        msg().answer(a); // no print, no store, copia básica, no print, store it
    form.cmdRealizarContrato->click();
    EXPECT_EQ(msg().texts().mid(4), (QStringList{"¿Desea copia básica?", "¿Desea Imprimir la copia básica?",
                                                 "¿Desea guardar la Copia Básica?"}));
    EXPECT_EQ(fakeOffice().journal().filter(u("print")), QStringList());
    EXPECT_EQ(marcador(kCopiaBasica, "BPIE1") + marcador(kCopiaBasica, "BPIE2"), QString());
    EXPECT_EQ(marcador(kCopiaBasica, "BPIE11"), QString(212, QLatin1Char(' ')));
}

TEST_F(GeneradorTest, AFailingStepIsToldByNameAndGivesTheWindowBack)
{
    struct Caso {
        const char* descripcion;
        std::function<void(frmEleccionContrato&)> preparar;
        QString mensaje;
    };
    const std::vector<Caso> casos = {
        // Named as the catalogue names it.
        {"template missing", [](auto&) { QFile::remove(host(kPlantilla)); },
         u("Error al abrir la plantilla.\r\nNo se encuentra el documento C:\\Quelvan\\Dorvane\\obra.RTF.")},
        {"template unreadable", [](auto&) { writeFile(kPlantilla, "no es un documento"); },
         u("No se puede abrir la plantilla de Word,")},
        {"bookmark missing", [](auto&) { writeFile(kPlantilla, plantilla(u("M0115"))); },
         u("Error al escribir la marca 0115.\r\nLa plantilla no tiene el marcador M0115.")},
        {"date not a date", [](auto& f) { f.mskFechaContrato->setText(u("31/02/2027")); },
         u("La fecha en que se efectua el contrato, 31/02/2027, no es una fecha válida.")},
    };
    for (const Caso& caso : casos) {
        auto& form = desdeImportados(u("TEMPORAL"), u("401 - Obra"));
        ponerMarca(form, "0115", "12345678Z");
        caso.preparar(form);
        form.cmdRealizarContrato->click();
        EXPECT_TRUE(msg().texts().last().startsWith(caso.mensaje)) << caso.descripcion << ": "
                                                                    << msg().texts().last().toStdString();
        EXPECT_TRUE(form.cmdSalir->isEnabled()) << caso.descripcion;
        EXPECT_TRUE(form.cmdRealizarContrato->isEnabled()) << caso.descripcion;
        EXPECT_FALSE(platform::isShown(form.fraProgreso)) << caso.descripcion;
        EXPECT_TRUE(fakeOffice().calls.empty()) << caso.descripcion;
        copias.reset();
        Forms::unload(form);
        writeFile(kPlantilla, plantilla());
    }

    // Numbers that cannot name a file store nothing, and a contract from the
    // imported list is not written to the worker the record window saved; a
    // stored copy that cannot be written leaves no row behind.
    IdTrabajadorGrabado = insertar("Trabajadores", {{"NombreTrabajador", "ANA"}});
    TrabajadorGrabadoParaContrato = true;
    auto& form = desdeImportados(u("TEMPORAL"), u("401 - Obra"));
    form.txtNumTrabajador->setText(u("00/01"));
    for (Answer a : {Answer::No, Answer::Yes, Answer::No})
        msg().answer(a);
    form.cmdRealizarContrato->click();
    EXPECT_TRUE(msg().texts().contains(u(
        "No se ha guardado el documento: el número de empresa y el número de trabajador deben estar rellenos y no "
        "pueden llevar ninguno de los caracteres \\ / : * ? \" < > |")));
    EXPECT_TRUE(fila("SELECT Contrato FROM Trabajadores").isNull(u("Contrato")));
    form.txtNumTrabajador->setText(u("00001"));
    writeFile("C:\\Quelvan\\Dorvane\\Contratos", "un fichero donde iría la carpeta");
    for (Answer a : {Answer::No, Answer::Yes})
        msg().answer(a);
    form.cmdRealizarContrato->click();
    EXPECT_TRUE(msg().texts().last().startsWith(u("Error al guardar el documento en la carpeta de "
                                                               "contratos.\r\n")));
    EXPECT_EQ(msg().unusedAnswers(), 0u);
    EXPECT_TRUE(db.select(u("SELECT * FROM ContratosGrabados")).empty());
}

// The working copies hold the worker's data: the copia básica's goes once
// printed and stored, the document's once the word processor has closed it.
TEST_F(GeneradorTest, TheWorkingCopiesGoOnceNothingNeedsThem)
{
    auto& form = desdeImportados(u("TEMPORAL"), u("401 - Obra"));
    ponerMarca(form, "0115", "12345678Z");
    for (Answer a : {Answer::No, Answer::No, Answer::Yes, Answer::Yes, Answer::No})
        msg().answer(a); // no print, no store, copia básica printed, not stored
    copias->answer(u("1"));
    form.cmdRealizarContrato->click();
    ASSERT_EQ(fakeOffice().journal().size(), 3);
    const QString trabajo = fakeOffice().calls[0].path;
    EXPECT_TRUE(QFileInfo(trabajo).fileName().startsWith(u("Contrato")));
    EXPECT_EQ(QFile::permissions(trabajo) & (QFile::ReadGroup | QFile::ReadOther), 0);
    EXPECT_FALSE(QFile::exists(fakeOffice().calls[1].path)) << "the copia básica's";

    // Shown still, the document stays; closed, it goes.
    platform::removeReleasedWorkingCopies();
    EXPECT_TRUE(QFile::exists(trabajo));
    fakeOffice().showing.clear();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !QFile::exists(trabajo); }, 3000));
    EXPECT_EQ(QDir(QDir::tempPath()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

// Running out of memory in a step says which, and the window comes back.
TEST_F(GeneradorTest, AStepThatRunsOutOfMemorySaysSoAndGivesTheWindowBack)
{
    auto& form = desdeImportados(u("TEMPORAL"), u("401 - Obra"));
    fakeOffice().onCall = [](const auto&) { throw std::bad_alloc(); };
    form.cmdRealizarContrato->click();
    EXPECT_EQ(msg().texts(), QStringList(u("No hay memoria suficiente para mostrar el documento.")));
    EXPECT_TRUE(form.cmdRealizarContrato->isEnabled());
    EXPECT_FALSE(platform::isShown(form.fraProgreso));
}
