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

// Every box of the record window holds a value no other box holds: each
// reaches its own value of the hand-over and its own marks.
TEST_F(EntregaTest, EveryBoxOfTheRecordWindowReachesItsOwnValueAndMarks)
{
    const auto x = [](char c) { return QString(30, QLatin1Char(c)); };
    db.update(u("Empresas"), u("IdEmpresa"), idEmpresa,
              {{u("NombreEmpresa"), x('A')},
               {u("NIF"), u("B25123456")},
               {u("Dirección"), x('D')},
               {u("Localidad"), x('L')},
               {u("Provincia"), x('V')},
               {u("Pais"), x('P')},
               {u("CódPostal"), u("25001")},
               {u("NúmTeléfono"), u("973111222")},
               {u("NúmFax"), u("973333444")},
               {u("Actividad"), x('T')},
               {u("Cuenta"), u("25/1234567/89")}});
    const int idModelo = catalogoMinimo();
    const std::pair<const char*, QString> marcas[] = {
        {"0002", x('A')},         {"0003", u("B25123456")},  {"0005", x('D')},
        {"0010", x('L')},         {"0011", u("25001")},      {"0018", x('T')},
        {"0038", x('T')},         {"0058", u("25")},         {"0059", u("1234567")},
        {"0060", u("89")},        {"0076", QString()},       {"0102", u("ANA ROS")},
        {"0105", x('M')},         {"0106", u("08002")},      {"0111", u("08/12345678/90")},
        {"0115", u("12345678Z")}, {"0116", u("15/03/1980")}, {"0136", x('F')},
        {"0380", x('N')},         {"0460", x('P')},          {"0462", x('p')},
    };
    for (const auto& [codigo, valor] : marcas)
        marcaDeModelo(idModelo, u(codigo), u("DATO ") + u(codigo), u("2"));

    auto& ficha = fichaConTrabajador();
    ficha.txtCodPostalTrabaj->setText(u("08002"));
    ficha.txtMunicipio->setText(x('M'));
    ficha.txtPais->setText(x('p'));
    ficha.txtNacionalidad->setText(x('N'));
    ficha.txtNumSS->setText(u("08/12345678/90"));
    ficha.txtNivelFormativo->setText(x('F'));
    msg().answer(Answer::Yes);
    ficha.cmdContratoManual->click();
    auto* form = Forms::loaded<frmEleccionContrato>();
    ASSERT_NE(form, nullptr);

    const DatosEmpresaContrato& e = form->Empresa;
    EXPECT_EQ((QStringList{e.Nombre, e.Numero, e.NIF, e.Direccion, e.Localidad, e.Provincia, e.Pais, e.CodPostal,
                           e.Telefono, e.Fax, e.Actividad, e.Cuenta}),
              (QStringList{x('A'), u("00012"), u("B25123456"), x('D'), x('L'), x('V'), x('P'), u("25001"),
                           u("973111222"), u("973333444"), x('T'), u("25/1234567/89")}));
    const DatosTrabajadorContrato& t = form->Trabajador;
    EXPECT_EQ((QStringList{t.Nombre, t.Numero, t.NIF, t.CodPostal, t.Municipio, t.Pais, t.Nacionalidad,
                           t.FechaNacimiento, t.NumSS, t.NivelFormativo}),
              (QStringList{u("ANA ROS"), u("00002"), u("12345678Z"), u("08002"), x('M'), x('p'), x('N'),
                           u("15/03/1980"), u("08/12345678/90"), x('F')}));

    elegir(*form, u("INDEFINIDO"), u("100 - Ordinario"));
    ASSERT_EQ(form->mshMarcas->Rows(), static_cast<int>(std::size(marcas)) + 1);
    for (int r = 1; r < form->mshMarcas->Rows(); ++r) {
        const auto& [codigo, valor] = marcas[r - 1];
        QStringList fila;
        for (int c = 0; c < 4; ++c)
            fila << form->mshMarcas->TextMatrix(r, c);
        EXPECT_EQ(fila, (QStringList{u(codigo), u("DATO ") + u(codigo), valor, u("2")}));
    }
    EXPECT_EQ(form->txtLugar->text(), x('L'));
}
