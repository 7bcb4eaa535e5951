#include "EmpresasTest.h"

#include "companies/frmValidacion.h"

using testing_support::pulsarFila;
using testing_support::textos;

TEST_F(EmpresasTest, FromTheMainWindowACompanyIsCreatedAndGetsItsWorkers)
{
    writeFile("C:\\Quelvan\\Dorvane\\configold", "");
    Forms::show<frmMenu>().cmdEmpresas->click();
    EXPECT_EQ(Forms::loaded<frmMenu>(), nullptr);
    auto& lista = *Forms::loaded<frmEmpresas>();
    EXPECT_TRUE(isShown(lista.lblMensaje0Empresas));
    EXPECT_EQ(lista.txtNum->text(), u("0"));
    EXPECT_FALSE(lista.cmdEditar->isEnabled());

    lista.cmdNuevo->click();
    EXPECT_EQ(Forms::loaded<frmEmpresas>(), nullptr);
    auto& f = *Forms::loaded<frmEmpresa>();
    EXPECT_FALSE(f.txtNumEmpresa->Locked());
    f.txtNombreEmpresa->setText(u("Talleres Norte"));
    f.txtNumEmpresa->setText(u("12"));
    f.txtNumEmpresa->leaveFocus();
    EXPECT_EQ(f.txtNumEmpresa->text(), u("00012"));
    EXPECT_TRUE(f.txtNumEmpresa->Locked());

    msg().answer(Answer::Yes);
    f.SSTab1->setCurrentIndex(1);
    EXPECT_EQ(msg().shown().back().text, u("¿Desea guardar los datos de la empresa?"));
    EXPECT_EQ(msg().shown().back().title, u("Confirmación."));
    EXPECT_EQ(columna(R"(SELECT "IdEmpresa" || ' ' || "NúmeroEmpresa" AS v FROM Empresas)"), QStringList{"1 00012"});
    EXPECT_EQ(f.IdEmpresaAbierta, 1);
    EXPECT_EQ(f.lblMensajeTrabajadores->text(), u("No hay trabajadres dados de alta en esta empresa."));

    nuevoTrabajador(f, "Ana");
    EXPECT_EQ(msg().shown().back().text,
              u("No hay dado de alta ningún trabajador en la empresa. ¿Desea que el número 1 corresponda al nuevo "
                "trabajador?"));
    EXPECT_EQ(f.txtNumeroTrabajador->text(), u("00001"));
    msg().answer(Answer::Yes);
    f.cmdGrabar->click();
    EXPECT_EQ(msg().shown().back().text, u("¿Desea guardar los datos del trabajador?"));
    EXPECT_EQ(IdTrabajadorGrabado.toLongLong(), 1);

    // A second worker, saved by leaving the tab (for the clauses tab, too) without a question.
    nuevoTrabajador(f, "Luis");
    EXPECT_EQ(msg().shown().back().text,
              u("El ultimo número de trabajador de la empresa es el : 1 . ¿Desea que el número : 2 sea el del nuevo "
                "trabajador?"));
    const auto preguntas = msg().shown().size();
    f.SSTab1->setCurrentIndex(2);
    EXPECT_EQ(msg().shown().size(), preguntas);
    EXPECT_EQ(columna(R"(SELECT "IdEmpresa" || '|' || "NúmeroTrabajador" || '|' || "NombreTrabajador" || '|' ||
                             "NumEmpresa" || '|' || "Empresa" AS v FROM Trabajadores ORDER BY 1)"),
              (QStringList{"1|1|Ana|00012|Talleres Norte", "1|2|Luis|00012|Talleres Norte"}));

    f.SSTab1->setCurrentIndex(1);
    EXPECT_EQ(f.dbgTrabajadores->RecordCount(), 2);
    f.dbgTrabajadores->setRow(1);
    f.cmdEditar->click();
    EXPECT_TRUE(isShown(f.fraDatosTrabajador));
    EXPECT_EQ(f.txtNombreTrabajador->text(), u("Luis"));
    EXPECT_EQ(f.txtNumeroTrabajador->text(), u("00002"));
}

TEST_F(EmpresasTest, SavingByNumberAsksAboutAnotherCompanyAndNeverAboutItself)
{
    const qint64 alfa = empresa("00001", "Alfa", {{u("NúmFax"), u("973111111")}});
    const qint64 beta = empresa("00002", "Beta");
    const auto numeros = [this] {
        return columna(R"(SELECT "NúmeroEmpresa" || ' ' || "NombreEmpresa" AS v FROM Empresas ORDER BY IdEmpresa)");
    };

    auto* f = &abrir(alfa);
    f->txtNumEmpresa->setText(u("00002"));
    msg().answer(Answer::No);
    f->cmdSave->click();
    EXPECT_EQ(msg().shown().back().text,
              u("El número de empresa, 00002 corresponde a la empresa : Beta. ¿Desea eliminar dicha empresa y dar de "
                "alta una nueva empresa con estos datos?"));
    EXPECT_EQ(msg().shown().back().style, 292);
    EXPECT_EQ(numeros(), (QStringList{"00001 Alfa", "00002 Beta"}));
    EXPECT_EQ(Forms::loaded<frmEmpresa>(), nullptr);
    EXPECT_NE(Forms::loaded<frmEmpresas>(), nullptr);

    f = &abrir(alfa);
    f->txtNumEmpresa->setText(u("00002"));
    msg().answer(Answer::Yes);
    f->cmdSave->click();
    EXPECT_EQ(numeros(), (QStringList{"00002 Alfa", " Beta"}));

    // The open company found by its own number is saved in place, as often
    // as it is saved; an emptied box keeps its stored value.
    f = &abrir(alfa);
    f->txtNombreEmpresa->setText(u("Alfa Dos"));
    f->txtFax->clear();
    const auto vistos = msg().shown().size();
    f->SSTab1->setCurrentIndex(1);
    f->SSTab1->setCurrentIndex(0);
    f->cmdSave->click();
    EXPECT_EQ(msg().shown().size(), vistos);
    EXPECT_EQ(numeros(), (QStringList{"00002 Alfa Dos", " Beta"}));
    EXPECT_EQ(valor(u("SELECT NúmFax FROM Empresas WHERE IdEmpresa = ?"), {alfa}).toString(), u("973111111"));
    EXPECT_EQ(beta, 2);
}

TEST_F(EmpresasTest, ANewCompanyWithTheNumberAndNameOfAStoredOneGoesOnAsThatOne)
{
    empresa("00001", "Alfa");
    const qint64 delta = empresa("00005", "Delta");
    const qint64 primera = insertar("Clausulas", {{"Clausula", "Periodo de prueba"}});
    auto& f = nueva();
    f.txtNombreEmpresa->setText(u("Delta"));
    f.txtNumEmpresa->setText(u("00005"));
    f.txtTelef->setText(u("912345678"));
    f.chkClausula[0]->click();
    EXPECT_TRUE(columna("SELECT IDEMPRESA AS v FROM EMPRESACLAUSULA").isEmpty()) << "a new company's ticks wait";

    f.SSTab1->setCurrentIndex(1);
    EXPECT_TRUE(msg().shown().empty());
    EXPECT_EQ(f.IdEmpresaAbierta, delta);
    EXPECT_EQ(columna(R"(SELECT "NombreEmpresa" || ' ' || IFNULL("NúmTeléfono", '-') FROM Empresas ORDER BY 1)"),
        (QStringList { "Alfa -", "Delta 912345678" }));
    EXPECT_EQ(columna("SELECT IDEMPRESA || '-' || IDCLAUSULA AS v FROM EMPRESACLAUSULA"),
              QStringList{u("%1-%2").arg(delta).arg(primera)});

    nuevoTrabajador(f, "Eva");
    msg().answer(Answer::Yes);
    f.cmdGrabar->click();
    EXPECT_EQ(columna(R"(SELECT "IdEmpresa" AS v FROM Trabajadores)"), QStringList{QString::number(delta)});
}

TEST_F(EmpresasTest, DeclinedCompanyChangesReachNoWorker)
{
    // A new company not stored has no workers tab.
    auto* f = &nueva();
    f->txtNombreEmpresa->setText(u("Gamma"));
    f->txtNumEmpresa->setText(u("00003"));
    msg().answer(Answer::No);
    f->SSTab1->setCurrentIndex(1);
    EXPECT_EQ(f->SSTab1->currentIndex(), 0);
    EXPECT_TRUE(isShown(f->cmdSave));
    EXPECT_TRUE(columna("SELECT IdEmpresa AS v FROM Empresas").isEmpty());

    // A stored one shows its stored values again.
    const qint64 alfa = empresa("00001", "Alfa");
    f = &abrir(alfa);
    f->txtNombreEmpresa->setText(u("Alfa Nueva"));
    f->txtNumEmpresa->setText(u("00009"));
    msg().answer(Answer::No);
    f->SSTab1->setCurrentIndex(1);
    EXPECT_EQ(f->SSTab1->currentIndex(), 1);
    EXPECT_EQ(f->txtNombreEmpresa->text(), u("Alfa"));
    EXPECT_EQ(f->txtNumEmpresa->text(), u("00001"));
    nuevoTrabajador(*f, "Eva");
    msg().answer(Answer::Yes);
    f->cmdGrabar->click();
    EXPECT_EQ(columna(R"(SELECT "NumEmpresa" || ' ' || "Empresa" AS v FROM Trabajadores)"), QStringList{"00001 Alfa"});

    // Entering the tab without a name or a number saves nothing.
    f->SSTab1->setCurrentIndex(0);
    f->txtNumEmpresa->setText(QString());
    f->SSTab1->setCurrentIndex(1);
    EXPECT_EQ(msg().shown().back().text, u("Debe introducir el Número de empresa.!"));
    EXPECT_EQ(f->SSTab1->currentIndex(), 0);

    // Cancelar on the company tab drops the changes and goes back to the list.
    Forms::unload(*f);
    f = &abrir(alfa);
    f->txtNombreEmpresa->setText(u("Alfa Cancelada"));
    f->cmdCancelar->click();
    EXPECT_EQ(Forms::loaded<frmEmpresa>(), nullptr);
    ASSERT_NE(Forms::loaded<frmEmpresas>(), nullptr);
    EXPECT_FALSE(Forms::loaded<frmEmpresas>()->isHidden());
    EXPECT_EQ(columna(R"(SELECT "NombreEmpresa" AS v FROM Empresas)"), QStringList{"Alfa"});
}

TEST_F(EmpresasTest, AWorkerSavedUnderAnotherWorkersNumberReplacesItWithoutItsContract)
{
    const qint64 alfa = empresa("00001", "Alfa");
    const qint64 ana = trabajador(alfa, 3, "Ana",
                                  {{u("Contrato"), u("401 - Obra o servicio determinado a tiempo completo")},
                                   {u("FechaVencimiento"), u("2027-01-31")},
                                   {u("FechaInicioProrroga"), u("2026-06-01")},
                                   {u("Duracion"), u("6 Meses  ")}});
    auto& f = abrir(alfa);
    f.SSTab1->setCurrentIndex(1);
    f.cmdEditar->click();
    EXPECT_TRUE(isShown(f.fraDatosContrato));
    EXPECT_EQ(f.txtContrato->text(), u("401 - Obra o servicio determinado a tiempo completo"));
    EXPECT_TRUE(f.txtContrato->toolTip().endsWith(u("\n401 - Obra o servicio determinado a tiempo completo")))
        << "the whole definition, longer than the box";
    EXPECT_EQ(f.mskVencimiento->Text(), u("31/01/2027"));
    EXPECT_EQ(f.txtMesesProrroga->text(), u("6 Meses  "));

    // A new worker shows nothing of the one opened before.
    f.cmdCancelar->click();
    nuevoTrabajador(f, "Pedro");
    EXPECT_FALSE(isShown(f.fraDatosContrato));
    EXPECT_FALSE(isShown(f.fraProrroga));
    EXPECT_EQ(f.mskVencimiento->Text(), u("__/__/____"));

    // A free number declined saves nothing.
    msg().answer(Answer::No);
    f.cmdGrabar->click();
    EXPECT_EQ(msg().shown().back().text, u("¿Desea guardar los datos del trabajador?"));

    // A number that is no whole number, or an impossible date, is refused before any look-up.
    f.txtNumeroTrabajador->setText(u("3a"));
    f.cmdGrabar->click();
    EXPECT_EQ(msg().shown().back().text, u("El Número de trabajador debe ser un número entero."));
    EXPECT_EQ(msg().shown().back().style, 16);
    f.txtNumeroTrabajador->setText(u("00003"));
    f.mskVencimiento->setText(u("31/02/2027"));
    f.cmdGrabar->click();
    EXPECT_EQ(msg().shown().back().text, u("El valor introducido como Fecha de Vencimiento no es correcto."));
    f.mskVencimiento->setText(u("__/__/____"));

    // Nor does the conflict declined; the worker stays open.
    msg().answer(Answer::No);
    f.cmdGrabar->click();
    EXPECT_TRUE(isShown(f.fraDatosTrabajador));
    EXPECT_EQ(columna(R"(SELECT "NombreTrabajador" AS v FROM Trabajadores)"), QStringList{"Ana"});
    msg().answer(Answer::Yes);
    f.cmdGrabar->click();
    EXPECT_EQ(msg().shown().back().text,
              u("El número de trabajador, 00003 corresponde al Trabajador : Ana. ¿Desea eliminar dicho trabajador y "
                "dar de alta un nuevo trabajador con estos datos?"));
    EXPECT_EQ(msg().unusedAnswers(), 0u);
    EXPECT_EQ(columna(R"(SELECT "IdTrabajador" || '|' || "NombreTrabajador" || '|' || IFNULL("Contrato", '-') || '|' ||
                             IFNULL("FechaVencimiento", '-') || '|' || IFNULL("FechaInicioProrroga", '-') || '|' ||
                             IFNULL("Duracion", '-') AS v FROM Trabajadores)"),
              QStringList{u("%1|Pedro|-|-|-|-").arg(ana)});
}

// A worker saved or dropped leaves the focus on the list of workers: Enter
// then starts neither a print nor a delete question.
TEST_F(EmpresasTest, AfterAWorkerIsSavedOrDroppedEnterStartsNothing)
{
    const qint64 alfa = empresa("00001", "Alfa");
    trabajador(alfa, 1, "Ana");
    auto& f = fichaDeEmpresa(alfa);
    activar(&f);
    f.SSTab1->setCurrentIndex(1);
    const auto enter = [&] {
        const auto mensajes = msg().shown().size();
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(msg().shown().size(), mensajes);
        EXPECT_TRUE(fakePrinter().printouts.empty());
    };
    nuevoTrabajador(f, "Luis");
    msg().answer(Answer::Yes);
    clic(f.cmdGrabar);
    EXPECT_EQ(cuenta("Trabajadores"), 2);
    enter();
    nuevoTrabajador(f, "Pepe");
    clic(f.cmdCancelar);
    enter();
    EXPECT_EQ(cuenta("Trabajadores"), 2);
}

TEST_F(EmpresasTest, LeavingTheWorkersTabWithAnOpenWorkerWithoutNifAsksWhatToDo)
{
    auto& f = abrir(empresa("00001", "Alfa"));
    f.SSTab1->setCurrentIndex(1);
    nuevoTrabajador(f, "Eva", "");
    msg().answer(Answer::Ok);
    f.SSTab1->setCurrentIndex(0);
    EXPECT_EQ(msg().shown().back().text, u("Sin el NIF no podemos grabar los datos del trabajador."));
    EXPECT_EQ(f.SSTab1->currentIndex(), 1);
    EXPECT_TRUE(isShown(f.fraDatosTrabajador));

    msg().answer(Answer::Cancel);
    f.SSTab1->setCurrentIndex(0);
    EXPECT_EQ(f.SSTab1->currentIndex(), 0);
    EXPECT_FALSE(isShown(f.fraDatosTrabajador));
    EXPECT_TRUE(isShown(f.cmdSave)) << "the company tab shows its own buttons";
    EXPECT_TRUE(columna("SELECT IdTrabajador AS v FROM Trabajadores").isEmpty());
}

TEST_F(EmpresasTest, FieldChecksRefuseAndTheClickThatLeftTheBoxDoesNotAct)
{
    auto& f = abrir(empresa("00001", "Alfa"));
    activar(&f);
    f.txtCp->setFocus();
    QTest::keyClicks(f.txtCp, u("2800"));
    QTest::keyClick(f.txtCp, Qt::Key_Tab);
    EXPECT_EQ(msg().shown().back().text, u("El valor del Código Postal debe ser de cinco cifras"));
    EXPECT_TRUE(f.txtCp->hasFocus());
    EXPECT_TRUE(f.txtCp->text().isEmpty());
    QTest::keyClicks(f.txtCp, u("28001"));
    QTest::keyClick(f.txtCp, Qt::Key_Tab);
    EXPECT_EQ(f.txtPoblacion->text(), u("Madrid."));

    // The worker's postal code keeps the focus through its validation.
    f.SSTab1->setCurrentIndex(1);
    nuevoTrabajador(f, "Eva");
    f.txtCodPostalTrabaj->setFocus();
    QTest::keyClicks(f.txtCodPostalTrabaj, u("12"));
    QTest::mouseClick(f.cmdGrabar, Qt::LeftButton);
    EXPECT_EQ(msg().shown().back().text, u("El valor del Código Postal debe ser de cinco cifras"));
    EXPECT_TRUE(f.txtCodPostalTrabaj->hasFocus());

    // Wrong control digits: the dialog opens once the focus has moved, and the click goes no further.
    f.txtCodPostalTrabaj->setText(QString());
    f.txtNumSS->setFocus();
    QTest::keyClicks(f.txtNumSS, u("280123456700"));
    const auto vistos = msg().shown().size();
    QTest::mouseClick(f.cmdGrabar, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(msg().shown().size(), vistos) << "Grabar did not act";
    auto* dialogo = Forms::loaded<frmValidacionSS>();
    ASSERT_NE(dialogo, nullptr);
    EXPECT_TRUE(dialogo->isModal());
    EXPECT_EQ(dialogo->lblCorrecto->text(), u("Al Número de SS le corresponde el código: 42"));
    dialogo->cmdModificarLetra->click();
    EXPECT_EQ(f.txtNumSS->Text(), u("28/01234567/42"));
    EXPECT_EQ(Forms::loaded<frmValidacionSS>(), nullptr);
    // Escape leaves the number as typed.
    activar(&f);
    f.txtNumSS->setFocus();
    f.txtNumSS->setText(f.txtNumSS->emptyText());
    QTest::keyClicks(f.txtNumSS, u("280123456700"));
    QTest::mouseClick(f.cmdGrabar, Qt::LeftButton);
    QApplication::processEvents();
    dialogo = Forms::loaded<frmValidacionSS>();
    ASSERT_NE(dialogo, nullptr);
    QTest::keyClick(dialogo->cmdModificarLetra, Qt::Key_Escape);
    EXPECT_EQ(Forms::loaded<frmValidacionSS>(), nullptr);
    EXPECT_EQ(f.txtNumSS->Text(), u("28/01234567/00"));

    // A birth date of someone under sixteen this year.
    f.txtFechaNac->setText(u("31/05/2015"));
    f.txtFechaNac->leaveFocus();
    EXPECT_EQ(msg().shown().back().text, u("El trabajador tiene menos de 16 años"));
    EXPECT_EQ(msg().shown().back().title, u("Error."));
    EXPECT_EQ(f.txtFechaNac->Text(), u("__/__/____"));
}

// On a desktop without a window manager the message box leaves no window
// active, and a box left with Tab while its window is not active runs no
// check: the window the box opened over is active again once it closes.
TEST_F(EmpresasTest, AfterARefusalTheNextValueTypedIsCheckedToo)
{
    const qint64 alfa = empresa("00001", "Alfa");
    trabajador(alfa, 1, "Ana");
    auto& f = abrir(alfa);
    activar(&f);
    msg().takesActivation = true;
    const auto dosVeces = [&](QWidget* caja, const char* valor, const char* mensaje) {
        SCOPED_TRACE(valor);
        caja->setFocus();
        for (int vez = 1; vez <= 2; ++vez) {
            const auto vistos = msg().shown().size();
            QTest::keyClicks(caja, u(valor));
            QTest::keyClick(caja, Qt::Key_Tab);
            ASSERT_EQ(msg().shown().size(), vistos + 1) << "value typed " << vez << " times";
            EXPECT_EQ(msg().shown().back().text, u(mensaje));
            QApplication::processEvents(); // the program back in its event loop
            EXPECT_TRUE(caja->hasFocus());
        }
    };
    dosVeces(f.txtTelef, "12", "El valor del teléfono debe ser de nueve cifras");
    f.SSTab1->setCurrentIndex(1);
    f.cmdEditar->click();
    dosVeces(f.txtNumSS, "2801234", "Introduzca todas las cifras del campo");
    dosVeces(f.txtFechaNac, "31041985", "No es posible ese valor de día");
}

TEST_F(EmpresasTest, ARefusedValueHoldsTheTabClickAndIsTypedAgainFromTheStart)
{
    const qint64 alfa = empresa("00001", "Alfa");
    trabajador(alfa, 1, "Ana", {{u("CódPostal"), u("25001")}});
    auto& f = abrir(alfa);
    activar(&f);
    f.SSTab1->setCurrentIndex(1);
    f.cmdEditar->click();
    QTabBar* pestanas = f.SSTab1->tabBar();
    const auto pulsarEmpresa
        = [&] { QTest::mouseClick(pestanas, Qt::LeftButton, {}, pestanas->tabRect(0).center()); };
    const auto guardado = [this] {
        return columna(R"(SELECT IFNULL("CódPostal", '-') || '|' || IFNULL("NumSS", '-') || '|' ||
                                 IFNULL("FechaNacimiento", '-') AS v FROM Trabajadores)");
    };

    // The company tab clicked with a postal code the check refuses: the worker stays open and unsaved.
    f.txtCodPostalTrabaj->setFocus();
    f.txtCodPostalTrabaj->selectAll();
    QTest::keyClicks(f.txtCodPostalTrabaj, u("2500"));
    pulsarEmpresa();
    EXPECT_EQ(msg().shown().back().text, u("El valor del Código Postal debe ser de cinco cifras"));
    EXPECT_EQ(f.SSTab1->currentIndex(), 1);
    EXPECT_TRUE(isShown(f.fraDatosTrabajador));
    EXPECT_EQ(guardado(), QStringList{"25001|-|-"});

    // Wrong control digits: the dialog answers first; its manual correction is typed from the first place.
    f.txtCodPostalTrabaj->setText(u("25001"));
    f.txtNumSS->setFocus();
    QTest::keyClicks(f.txtNumSS, u("280123456700"));
    pulsarEmpresa();
    QApplication::processEvents();
    EXPECT_EQ(f.SSTab1->currentIndex(), 1);
    EXPECT_EQ(guardado(), QStringList{"25001|-|-"});
    auto* dialogo = Forms::loaded<frmValidacionSS>();
    ASSERT_NE(dialogo, nullptr);
    dialogo->cmdModificarNumero->click();
    QApplication::processEvents(); // the record window active again, with no window manager to do it
    QTest::keyClicks(f.txtNumSS, u("280123456742"));
    EXPECT_EQ(f.txtNumSS->Text(), u("28/01234567/42"));

    // So is a birth date typed again after its refusal.
    f.txtFechaNac->setFocus();
    QTest::keyClicks(f.txtFechaNac, u("31041980"));
    QTest::keyClick(f.txtFechaNac, Qt::Key_Tab);
    EXPECT_EQ(msg().shown().back().text, u("No es posible ese valor de día"));
    EXPECT_TRUE(f.txtFechaNac->hasFocus());
    QTest::keyClicks(f.txtFechaNac, u("15031980"));
    EXPECT_EQ(f.txtFechaNac->Text(), u("15/03/1980"));

    // Values that pass: the click changes the tab and the worker is saved.
    pulsarEmpresa();
    EXPECT_EQ(f.SSTab1->currentIndex(), 0);
    EXPECT_EQ(guardado(), QStringList{"25001|28/01234567/42|1980-03-15"});
}

// A masked box clicked past what it holds is typed from just after it, as a
// text box is: its digits never land in the places the click skipped.
TEST_F(EmpresasTest, AMaskedBoxClickedPastItsDigitsIsTypedOnFromThem)
{
    const qint64 alfa = empresa("00001", "Alfa");
    trabajador(alfa, 1, "Ana");
    auto& f = abrir(alfa);
    activar(&f);
    const auto pulsar = [](platform::MaskEdBox* caja, QPoint donde) {
        QTest::mouseClick(caja, Qt::LeftButton, {}, donde);
        return caja->cursorPositionAt(donde);
    };

    pulsar(f.txtNumISS, f.txtNumISS->rect().center());
    QTest::keyClicks(f.txtNumISS, u("08123456774"));
    EXPECT_EQ(f.txtNumISS->Text(), u("08/1234567/74"));
    // Inside what it holds, the click puts the cursor where it lands.
    const int dentro = pulsar(f.txtNumISS, f.txtNumISS->rect().center());
    EXPECT_GT(dentro, 0);
    EXPECT_EQ(f.txtNumISS->SelStart(), dentro);

    f.SSTab1->setCurrentIndex(1);
    f.cmdEditar->click();
    f.txtFechaNac->setFocus();
    QTest::keyClicks(f.txtFechaNac, u("15"));
    pulsar(f.txtFechaNac, QPoint(f.txtFechaNac->width() - 4, f.txtFechaNac->height() / 2));
    QTest::keyClicks(f.txtFechaNac, u("031980"));
    EXPECT_EQ(f.txtFechaNac->Text(), u("15/03/1980"));
}

TEST_F(EmpresasTest, TheKeyboardMovesOnFromEveryBox)
{
    auto& f = abrir(empresa("00001", "Alfa"));
    activar(&f);
    f.txtPaisEmpresa->setFocus();
    QTest::keyClick(f.txtPaisEmpresa, Qt::Key_F2);
    EXPECT_EQ(f.txtPaisEmpresa->text(), u("España"));
    EXPECT_TRUE(f.txtTelef->hasFocus());

    // Tab leaves the observations as it leaves any box; it types nothing there.
    f.txtObservacionesEmpresa->setFocus();
    QTest::keyClicks(f.txtObservacionesEmpresa, u("Paga"));
    QTest::keyClick(f.txtObservacionesEmpresa, Qt::Key_Tab);
    EXPECT_FALSE(f.txtObservacionesEmpresa->hasFocus());
    EXPECT_EQ(f.txtObservacionesEmpresa->toPlainText(), u("Paga"));

    msg().answer(Answer::Yes);
    f.SSTab1->setCurrentIndex(1);
    nuevoTrabajador(f, "Eva");
    f.txtNacionalidad->setFocus();
    QTest::keyClick(f.txtNacionalidad, Qt::Key_F2);
    EXPECT_EQ(f.txtNacionalidad->text(), u("Española"));
    EXPECT_TRUE(f.txtMunicipio->hasFocus());
    f.txtPais->setFocus();
    QTest::keyClick(f.txtPais, Qt::Key_F2);
    EXPECT_TRUE(f.txtObservacionesTrabajador->hasFocus());
    QTest::keyClick(f.txtObservacionesTrabajador, Qt::Key_Tab);
    EXPECT_FALSE(f.txtObservacionesTrabajador->hasFocus());
    EXPECT_TRUE(f.txtObservacionesTrabajador->toPlainText().isEmpty());
}

TEST_F(EmpresasTest, EveryTabIsScaledToOneFont)
{
    fakeScreen().setPixels(1280, 1024);
    auto& f = abrir(empresa("00001", "Alfa"));
    const qreal empresa = f.lblNombre[0]->font().pointSizeF();
    EXPECT_EQ(f.lblTrabajador[0]->font().pointSizeF(), empresa);
    EXPECT_EQ(f.chkEnvCliente->font().pointSizeF(), empresa);
    EXPECT_EQ(f.dbgTrabajadores->font().pointSizeF(), empresa);
}

TEST_F(EmpresasTest, ClauseTicksAreLinksOfTheCompanyTheMomentTheyChange)
{
    const qint64 alfa = empresa("00001", "Alfa");
    std::vector<qint64> ids;
    for (int i = 1; i <= 9; ++i)
        ids.push_back(
            insertar("Clausulas", {{"Clausula", i == 9 ? u("Cláusula 'nueve' & más") : u("Cláusula %1").arg(i)}}));
    const auto enlaces
        = [this] { return columna("SELECT IDEMPRESA || '-' || IDCLAUSULA AS v FROM EMPRESACLAUSULA ORDER BY 1"); };

    auto* f = &abrir(alfa);
    EXPECT_TRUE(isShown(f->vscClausulas));
    EXPECT_EQ(f->vscClausulas->maximum(), 1);
    f->chkClausula[0]->click();
    f->chkClausula[1]->click();
    f->chkClausula[1]->click();
    EXPECT_EQ(enlaces(), QStringList{u("1-%1").arg(ids[0])});

    f->vscClausulas->setValue(1);
    EXPECT_EQ(f->chkClausula[0]->text(), u("Cláusula 2"));
    f->chkClausula[7]->click();
    EXPECT_EQ(enlaces(), (QStringList{u("1-%1").arg(ids[0]), u("1-%1").arg(ids[8])}));
    f->vscClausulas->setValue(0);
    EXPECT_TRUE(f->chkClausula[0]->isChecked());
    EXPECT_EQ(enlaces().size(), 2) << "showing the boxes writes nothing";

    // A new company keeps its ticks through scrolling and writes them once stored.
    f->cmdListado->click();
    f = &nueva();
    EXPECT_FALSE(f->chkClausula[0]->isChecked());
    f->chkClausula[2]->click();
    f->vscClausulas->setValue(1);
    f->vscClausulas->setValue(0);
    EXPECT_TRUE(f->chkClausula[2]->isChecked());
    f->txtNombreEmpresa->setText(u("Beta"));
    f->txtNumEmpresa->setText(u("00002"));
    msg().answer(Answer::Yes);
    f->cmdSave->click();
    EXPECT_EQ(enlaces().size(), 3);
    EXPECT_TRUE(enlaces().contains(u("2-%1").arg(ids[2])));

    // Later in the day: "Contrato." for a worker of the first company, back
    // from the contract screen, the company again. A tick is still a link.
    const qint64 ana = trabajador(alfa, 1, "ANA ROS", {{"NIF14", "12345678Z"}});
    clic(f->cmdSalir);
    f = &fichaDeEmpresa(alfa);
    editarTrabajador(*f, ana);
    salirAlMenu(contratoDeLaFicha(*f));
    f = &fichaDeEmpresa(alfa);
    f->SSTab1->setCurrentIndex(2);
    clic(f->chkClausula[2]);
    EXPECT_TRUE(enlaces().contains(u("1-%1").arg(ids[2])));
}

TEST_F(EmpresasTest, TheListSearchesAsTypedSortsAndDeletesACompanyWithItsWorkers)
{
    const qint64 nandu = empresa("00030", "Ñandú 50%", {{"NIF", "B1"}});
    empresa("00010", "ÁLAMO_2");
    empresa("00020", "O'Brien", {{"NIF", "B2"}});
    const qint64 otra = empresa("00040", "Beta");
    auto& lista = Forms::show<frmEmpresas>();
    EXPECT_EQ(lista.txtNum->text(), u("4"));
    EXPECT_EQ(lista.dbgEmpresas->Id(), QString::number(nandu)) << "the first row is current";

    lista.cmdBuscar->click();
    const auto buscar = [&](platform::TextBox* caja, const char* texto) {
        // Typed as an edit of the user (keyClicks takes no accented letters).
        caja->selectAll();
        caja->insert(u(texto));
        QStringList nombres;
        for (const Row& fila : lista.dbgEmpresas->records())
            nombres << fila.text(u("NombreEmpresa"));
        EXPECT_EQ(lista.txtNum->text(), QString::number(nombres.size()));
        return nombres;
    };
    EXPECT_EQ(buscar(lista.txtNombre, "ñandú 50%"), QStringList{u("Ñandú 50%")});
    EXPECT_EQ(buscar(lista.txtNombre, "%"), QStringList{});
    EXPECT_EQ(buscar(lista.txtNombre, "álamo_"), QStringList{u("ÁLAMO_2")});
    EXPECT_EQ(buscar(lista.txtNombre, "alamo"), QStringList{}) << "accents count";
    EXPECT_EQ(buscar(lista.txtNombre, "o'b"), QStringList{u("O'Brien")});
    EXPECT_EQ(buscar(lista.txtDNI, "b"), (QStringList{u("Ñandú 50%"), u("O'Brien")}));

    emit lista.dbgEmpresas->horizontalHeader()->sectionClicked(2);
    EXPECT_EQ(lista.dbgEmpresas->Text(1), u("ÁLAMO_2"));
    EXPECT_EQ(lista.txtNum->text(), u("4"));

    for (int n = 1; n <= 3; ++n)
        trabajador(nandu, n, "Trabajador");
    trabajador(otra, 1, "Ajeno");
    const auto elegir = [&](qint64 id) {
        for (int r = 0; r < lista.dbgEmpresas->RecordCount(); ++r) {
            lista.dbgEmpresas->setRow(r);
            if (lista.dbgEmpresas->Id() == QString::number(id))
                return;
        }
    };
    elegir(nandu);
    msg().answer(Answer::No);
    lista.cmdBorrar->click();
    EXPECT_EQ(msg().shown().back().text, u("Desea eliminar la empresa"));
    EXPECT_EQ(columna("SELECT IdTrabajador AS v FROM Trabajadores").size(), 4);

    elegir(nandu);
    msg().answer(Answer::Yes);
    lista.cmdBorrar->click();
    EXPECT_EQ(columna(R"(SELECT "NombreTrabajador" AS v FROM Trabajadores)"), QStringList{"Ajeno"});
    EXPECT_EQ(lista.txtNum->text(), u("3"));
    EXPECT_EQ(fakeClock().waits, std::vector<double>{1});

    // In help mode Borrar only explains itself.
    lista.cmdAyuda->click();
    lista.cmdBorrar->click();
    EXPECT_EQ(lista.txtNum->text(), u("3"));
    EXPECT_EQ(Forms::loaded<frmAyuda>()->fraAyuda->title(), u("Botón Borrar : "));

    // Escape closes the help; Enter on a row opens its company, as a double click does.
    QTest::keyClick(Forms::loaded<frmAyuda>()->txtAyuda, Qt::Key_Escape);
    EXPECT_EQ(Forms::loaded<frmAyuda>(), nullptr);
    elegir(otra);
    QTest::keyClick(lista.dbgEmpresas, Qt::Key_Return);
    ASSERT_NE(Forms::loaded<frmEmpresa>(), nullptr);
    EXPECT_EQ(Forms::loaded<frmEmpresa>()->txtNombreEmpresa->text(), u("Beta"));
    EXPECT_EQ(Forms::loaded<frmEmpresas>(), nullptr);
}

// While "Desea eliminar la empresa" is asked the grid shows the company it
// asks about and no other; after the answer, and after a delete that
// failed, the whole list again.
TEST_F(EmpresasTest, TheDeleteQuestionShowsTheCompanyItAsksAbout)
{
    empresa("00010", "Alfa");
    empresa("00020", "Beta");
    empresa("00030", "Gamma");
    auto& lista = Forms::show<frmEmpresas>();
    QStringList trasLaPregunta;
    msg().whileShown = [&](const auto& caja) {
        if (caja.text == u("Desea eliminar la empresa"))
            trasLaPregunta = textos(lista.dbgEmpresas, 1);
    };
    const auto borrar = [&](int fila, Answer respuesta) {
        trasLaPregunta.clear();
        pulsarFila(lista.dbgEmpresas, fila);
        msg().answer(respuesta);
        clic(lista.cmdBorrar);
    };

    borrar(1, Answer::No);
    EXPECT_EQ(trasLaPregunta, QStringList{"Beta"});
    EXPECT_EQ(textos(lista.dbgEmpresas, 1), (QStringList{"Alfa", "Beta", "Gamma"}));

    borrar(1, Answer::Yes);
    EXPECT_EQ(trasLaPregunta, QStringList{"Beta"});
    EXPECT_EQ(textos(lista.dbgEmpresas, 1), (QStringList{"Alfa", "Gamma"}));
    EXPECT_EQ(lista.txtNum->text(), u("2"));

    db.exec(u("CREATE TRIGGER falla BEFORE DELETE ON Empresas BEGIN SELECT RAISE(ABORT, 'no'); END"));
    borrar(1, Answer::Yes);
    EXPECT_EQ(trasLaPregunta, QStringList{"Gamma"});
    EXPECT_EQ(msg().shown().back().style, 16);
    EXPECT_EQ(textos(lista.dbgEmpresas, 1), (QStringList{"Alfa", "Gamma"}));
    EXPECT_EQ(cuenta("Empresas"), 2);
}

TEST_F(EmpresasTest, ADatabaseErrorIsToldAndTheWindowStaysUsable)
{
    auto& f = abrir(empresa("00001", "Alfa"));
    AbrirBaseDatos().exec(u("DROP TABLE Trabajadores"));
    f.SSTab1->setCurrentIndex(1);
    EXPECT_EQ(msg().shown().back().style, 16);
    EXPECT_TRUE(msg().shown().back().text.startsWith(u("No se ha podido completar la operación")));
    EXPECT_TRUE(Forms::isLoaded(f));
    EXPECT_FALSE(programEnded);
}
