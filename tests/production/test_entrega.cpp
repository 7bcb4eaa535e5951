#include "Catalogo.h"

#include "platform/DBGrid.h"

// "Contrato." of the record window hands the company and the worker over.
class EntregaTest : public ProduccionTest {
protected:
    EntregaTest()
    {
        for (int i = 1; i <= 6; ++i)
            clausulas.push_back(static_cast<int>(insertar("Clausulas", {{u("Clausula"),
                                                                          u("Cláusula %1.").arg(i)}})));
        idEmpresa = insertar("Empresas", {{"NúmeroEmpresa", "00012"},
                                          {"NombreEmpresa", "TALLERES SA"},
                                          {"Localidad", "Lleida"},
                                          {"Clausula1", clausulas[3]}});
        for (int i : {1, 4})
            insertar("EMPRESACLAUSULA", {{"IDEMPRESA", idEmpresa},
                                         {"IDCLAUSULA", clausulas[static_cast<std::size_t>(i)]}});
        insertar("Trabajadores", {{"IdEmpresa", QString::number(idEmpresa)},
                                  {"NúmeroTrabajador", 1},
                                  {"NombreTrabajador", "LUIS GIL"},
                                  {"NIF14", "11111111H"}});
        // The same number and NIF in another company, stored first.
        const qint64 otra = insertar("Empresas", {{"NúmeroEmpresa", "00099"}});
        insertar("Trabajadores", {{"IdEmpresa", QString::number(otra)},
                                  {"NúmeroTrabajador", 2},
                                  {"NIF14", "12345678Z"}});
    }

    // The record window on the company with a new worker typed in.
    frmEmpresa& fichaConTrabajador()
    {
        IdEmpresaActual = QString::number(idEmpresa);
        auto& ficha = Forms::show<frmEmpresa>();
        ficha.Cargar();
        ficha.SSTab1->setCurrentIndex(1);
        msg().answer(Answer::Yes); // the proposed number 2
        ficha.cmdNuevo->click();
        ficha.txtNombreTrabajador->setText(u("ANA ROS"));
        ficha.txtDNI->setText(u("12345678Z"));
        ficha.txtFechaNac->setText(u("15/03/1980"));
        return ficha;
    }

    std::vector<int> clausulas;
    qint64 idEmpresa = 0;
};

TEST_F(EntregaTest, TheWorkerIsSavedAndTheContractWindowTakesCompanyWorkerAndClauses)
{
    const int idModelo = catalogoMinimo();
    for (const char* codigo : {"0002", "0010", "0102", "0111", "0115", "0116"})
        marcaDeModelo(idModelo, QString::fromLatin1(codigo), u("DATO"));
    auto& ficha = fichaConTrabajador();
    msg().answer(Answer::Yes);
    ficha.cmdContratoManual->click();
    EXPECT_EQ(msg().texts().last(), u("¿Desea guardar los datos del trabajador?"));
    EXPECT_EQ(msg().unusedAnswers(), 0u);

    EXPECT_EQ(Forms::loaded<frmEmpresa>(), nullptr);
    auto* form = Forms::loaded<frmEleccionContrato>();
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(form->isHidden());
    EXPECT_EQ(form->OrigenDatos, 1);
    EXPECT_EQ(form->txtNumEmpresa->text(), u("00012"));
    EXPECT_EQ(form->txtNombreEmpresa->text(), u("TALLERES SA"));
    EXPECT_EQ(form->txtNumTrabajador->text(), u("00002"));
    EXPECT_EQ(form->txtNombreTrabajador->text(), u("ANA ROS"));
    const auto guardado = db.first(u("SELECT \"IdTrabajador\" FROM \"Trabajadores\" WHERE "
                                                    "\"NombreTrabajador\" = 'ANA ROS'"));
    ASSERT_TRUE(guardado);
    EXPECT_EQ(IdTrabajadorContrato.toLongLong(), guardado->value(u("IdTrabajador")).toLongLong())
        << "the worker of this company, not the one with the same number and NIF elsewhere";
    EXPECT_EQ(IdTrabajadorGrabado, IdTrabajadorContrato);
    EXPECT_TRUE(TrabajadorGrabadoParaContrato);
    EXPECT_EQ(ClausulasElegidas[0], clausulas[3]);
    EXPECT_EQ(form->ClausulaElegida, (std::vector<int>{0, 1, 0, 0, 1, 0})) << "the company's clauses come ticked";

    elegir(*form, u("INDEFINIDO"), u("100 - Ordinario"));
    QStringList valores;
    for (int r = 1; r < form->mshMarcas->Rows(); ++r)
        valores << form->mshMarcas->TextMatrix(r, 2);
    EXPECT_EQ(valores, (QStringList{"TALLERES SA", "Lleida", "ANA ROS", "", "12345678Z", "15/03/1980"}));
    EXPECT_EQ(form->txtLugar->text(), u("Lleida"));
}

// Until the worker is saved the record window stays open; from the list
// the worker handed over is the one in the boxes, not the row selected.
TEST_F(EntregaTest, ASaveDeclinedOrRefusedLeavesTheRecordWindowOpenAndTheListHandsOverTheBoxes)
{
    auto& ficha = fichaConTrabajador();
    msg().answer(Answer::No);
    ficha.cmdContratoManual->click();
    EXPECT_EQ(msg().unusedAnswers(), 0u);
    EXPECT_EQ(Forms::loaded<frmEmpresa>(), &ficha);
    EXPECT_EQ(Forms::loaded<frmEleccionContrato>(), nullptr);
    EXPECT_FALSE(TrabajadorGrabadoParaContrato);
    EXPECT_FALSE(IdTrabajadorContrato.isValid());

    ficha.txtNumeroTrabajador->setText(u("1b"));
    ficha.cmdContratoManual->click();
    EXPECT_EQ(msg().texts().last(), u("El Número de trabajador debe ser un número entero."));
    EXPECT_EQ(Forms::loaded<frmEleccionContrato>(), nullptr);

    ficha.txtDNI->clear();
    ficha.cmdContratoManual->click();
    EXPECT_EQ(msg().texts().last(), u("Es necesario introducir el NIF del trabajador."));
    EXPECT_EQ(db.select(u("SELECT * FROM \"Trabajadores\"")).size(), 2u) << "nothing was saved";

    ficha.txtDNI->setText(u("12345678Z"));
    ficha.txtNumeroTrabajador->setText(u("00002"));
    msg().answer(Answer::Yes);
    ficha.cmdGrabar->click();
    ASSERT_TRUE(isShown(ficha.fraTrabajadores));
    ficha.dbgTrabajadores->setRow(0);
    ASSERT_EQ(ficha.dbgTrabajadores->Text(1), u("LUIS GIL"));
    ficha.cmdContratoManual->click();
    auto* form = Forms::loaded<frmEleccionContrato>();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->txtNumTrabajador->text() + u(" ") + form->txtNombreTrabajador->text(), u("00002 ANA ROS"));
    EXPECT_EQ(Forms::loaded<frmEmpresa>(), nullptr);
}
