#include "Catalogo.h"

#include <QInputMethodEvent>

class MarcasTest : public ProduccionTest {
protected:
    // A model "M" with the given marks, chosen through the type `tipoNombre`.
    frmEleccionContrato& elegirModelo(frmEleccionContrato& form, const QString& tipoNombre = u("TIPO"))
    {
        pulsar(form.optTipoContrato, tipoNombre);
        pulsar(form.optContrato, u("100 - Con marcas"));
        return form;
    }
    int modeloConMarcas(const QString& tipoNombre = u("TIPO"))
    {
        const int idModelo = modelo(u("M"), u("M.doc"));
        contrato(tipo(tipoNombre), u("100"), u("Con marcas"), u("M"));
        return idModelo;
    }
    static QStringList columna(const platform::FlexGrid& g, int col)
    {
        QStringList textos;
        for (int r = 1; r < g.Rows(); ++r)
            textos << g.TextMatrix(r, col);
        return textos;
    }
    void clickCell(platform::FlexGrid& g, int row, int col)
    {
        const QPoint centro = g.visualRect(g.model()->index(row, col)).center();
        QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, centro);
    }
};

TEST_F(MarcasTest, TheGridListsTheModelsMarksWithFixedAndHandedOverValues)
{
    const int idModelo = modeloConMarcas();
    marca(u("0002"), u("EMPRESA"), 30, u("FIJA"));
    marca(u("0020"), u("JORNADA"), 10, u("40 horas"));
    for (const char* codigo : {"0116", "0060", "0010", "0058", "0059", "0002", "0020", "0115"})
        marcaDeModelo(idModelo, u(codigo), u("DATO ") + codigo, u("2"));
    marcaDeModelo(idModelo, u("0050"), QString());

    auto& form = abrirDesdeListado();
    form.OrigenDatos = 1; // as the record window leaves it after its hand-off
    form.Empresa.Nombre = u("TALLERES SA");
    form.Empresa.Localidad = u("Lleida");
    form.Empresa.Cuenta = u("25/1234567/89");
    form.Trabajador.NIF = u("12345678Z");
    elegirModelo(form);

    const auto& g = *form.mshMarcas;
    EXPECT_EQ(columna(g, 0), (QStringList{"0002", "0010", "0020", "0058", "0059", "0060", "0115", "0116"}))
        << "code order, and no row for a mark without description";
    EXPECT_EQ(columna(g, 2),
              (QStringList{"TALLERES SA", "Lleida", "40 horas", "25", "1234567", "89", "12345678Z", ""}));
    EXPECT_EQ(g.TextMatrix(1, 3), u("2"));
    EXPECT_EQ(form.txtLugar->text(), u("Lleida"));
    EXPECT_EQ(g.Col(), 2);

    // Opened from a list, only the fixed values come.
    Forms::unload(form);
    auto& lista = abrirDesdeListado();
    lista.Empresa.Nombre = u("TALLERES SA");
    elegirModelo(lista);
    EXPECT_EQ(columna(*lista.mshMarcas, 2), (QStringList{"FIJA", "", "40 horas", "", "", "", "", ""}));
    EXPECT_TRUE(lista.Empresa.Nombre.isEmpty());
}

TEST_F(MarcasTest, TheKeyboardEditsTheValueOfTheCurrentRow)
{
    const int idModelo = modeloConMarcas();
    marcaDeModelo(idModelo, u("0102"), u("TRABAJADOR"));
    marcaDeModelo(idModelo, u("0105"), u("MUNICIPIO"));
    marcaDeModelo(idModelo, u("0222"), u("DURACION"));
    auto& form = abrirDesdeListado();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    pulsar(form.optTipoContrato, u("TIPO"));
    QTest::mouseClick(form.optContrato[0], Qt::LeftButton, {}, QPoint(8, form.optContrato[0]->height() / 2));
    auto& g = *form.mshMarcas;
    // The choice's frame goes away with the focus; what is typed next is a value.
    QTest::keyClicks(QApplication::focusWidget(), u("Ana"));
    EXPECT_EQ(g.TextMatrix(1, 2), u("Ana"));
    QTest::keyClick(&g, Qt::Key_Delete);
    int celdas = 0;
    const auto anterior = g.EnterCell;
    g.EnterCell = [&] {
        ++celdas;
        anterior();
    };

    clickCell(g, 2, 0);
    EXPECT_EQ(g.Row(), 2);
    EXPECT_EQ(g.Col(), 2) << "the value column stays current";
    EXPECT_LE(celdas, 3) << "the window's own moves do not loop";
    teclear(&g, u("José Lleó Ñ"));
    EXPECT_EQ(g.TextMatrix(2, 2), u("Jos Lle Ñ")) << "accented vowels are not typed";
    QTest::keyClick(&g, Qt::Key_Backspace);
    EXPECT_EQ(g.TextMatrix(2, 2), u("Jos Lle "));
    g.setTextMatrix(2, 2, u("Lleó 👍🏽"));
    QTest::keyClick(&g, Qt::Key_Backspace);
    EXPECT_EQ(g.TextMatrix(2, 2), u("Lleó ")) << "an emoji goes whole";
    QTest::keyClick(&g, Qt::Key_Up);
    teclear(&g, u("x"));
    EXPECT_EQ(g.TextMatrix(1, 2), u("x"));
    QTest::keyClick(&g, Qt::Key_Backspace);
    QTest::keyClick(&g, Qt::Key_Backspace);
    EXPECT_EQ(g.TextMatrix(1, 2), QString());
    QTest::keyClick(&g, Qt::Key_Down);
    QTest::keyClick(&g, Qt::Key_Delete);
    EXPECT_EQ(g.TextMatrix(2, 2), QString());

    // The duration of a contract that is no extension is typed like any value.
    clickCell(g, 3, 2);
    EXPECT_FALSE(isShown(form.fraDuracionProrroga));
    teclear(&g, u("6"));
    EXPECT_EQ(g.TextMatrix(3, 2), u("6"));
}

// Typed into a value: the plain characters, and of the others Ç, Ñ, ç and ñ
// only; an accented vowel adds nothing, from a key or composed with a dead
// key. A value the grid was given keeps its accents.
TEST_F(MarcasTest, TypingTakesPlainCharactersAndCedillasAndEnyesButNoAccentedVowels)
{
    const int idModelo = modeloConMarcas();
    marca(u("0020"), u("JORNADA"), 30, u("Según convenio"));
    marcaDeModelo(idModelo, u("0020"), u("JORNADA"));
    marcaDeModelo(idModelo, u("0102"), u("TRABAJADOR"));
    auto& form = elegirModelo(abrirDesdeListado());
    auto& g = *form.mshMarcas;
    ASSERT_EQ(g.TextMatrix(1, 2), u("Según convenio"));

    clickCell(g, 1, 2);
    teclear(&g, u("á"));
    EXPECT_EQ(g.TextMatrix(1, 2), u("Según convenio")) << "typing á adds nothing";
    teclear(&g, u("ñ"));
    EXPECT_EQ(g.TextMatrix(1, 2), u("Según convenioñ"));

    clickCell(g, 2, 2);
    teclear(&g, u("Ç ç Ñ ñ éíóúàüÁÉ ¿¡€ºª őŁ ~"));
    EXPECT_EQ(g.TextMatrix(2, 2), u("Ç ç Ñ ñ    ~")) << "a letter of no Windows-1252 code is no \"?\"";
    QInputMethodEvent compuesto;
    compuesto.setCommitString(u("óñéő"));
    QApplication::sendEvent(&g, &compuesto);
    EXPECT_EQ(g.TextMatrix(2, 2), u("Ç ç Ñ ñ    ~ñ"));
}

TEST_F(MarcasTest, AnExtensionTakesItsDurationAndWorksOutItsEndDate)
{
    const int idModelo = modeloConMarcas(u("PRORROGA"));
    marcaDeModelo(idModelo, u("0222"), u("DURACION"));
    marcaDeModelo(idModelo, u("0223"), u("INICIO"));
    marcaDeModelo(idModelo, u("0224"), u("FIN"));
    auto& form = elegirModelo(abrirDesdeListado(), u("PRORROGA"));
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    auto& g = *form.mshMarcas;
    EXPECT_EQ(form.cmdRealizarContrato->text(), u("Realizar Prórroga."));

    clickCell(g, 1, 2);
    clickCell(g, 1, 1);
    ASSERT_TRUE(isShown(form.fraDuracionProrroga));
    form.txtMesesProrroga->setText(u("seis"));
    form.cmdAceptarDuracion->click();
    EXPECT_EQ(msg().texts().last(), u("Los meses deben de ser un valor númerico."));
    EXPECT_TRUE(form.txtMesesProrroga->text().isEmpty());
    EXPECT_TRUE(isShown(form.fraDuracionProrroga));
    form.txtMesesProrroga->setText(u("1"));
    form.txtDiasProrroga->clear();
    QTest::keyClick(form.txtMesesProrroga, Qt::Key_Return);
    EXPECT_EQ(g.TextMatrix(1, 2), u("1 Meses  ")) << "Enter accepts the duration";
    EXPECT_FALSE(isShown(form.fraDuracionProrroga));
    EXPECT_EQ(QApplication::focusWidget(), &g) << "the keyboard goes on in the grid, not on a button";

    clickCell(g, 2, 2);
    EXPECT_TRUE(isShown(form.fraAyuda));
    teclear(&g, u("31/01/2009"));
    clickCell(g, 3, 2);
    EXPECT_EQ(g.TextMatrix(3, 2), u("27/02/2009"));
    EXPECT_FALSE(isShown(form.fraAyuda));

    clickCell(g, 1, 2); // 6 months and 15 days
    form.txtMesesProrroga->setText(u("6"));
    form.txtDiasProrroga->setText(u("15"));
    form.cmdAceptarDuracion->click();
    EXPECT_EQ(g.TextMatrix(1, 2), u("6 Meses  15 Días"));
    clickCell(g, 2, 2);
    clickCell(g, 3, 2);
    EXPECT_EQ(g.TextMatrix(3, 2), u("14/08/2009"));

    const std::size_t mensajes = msg().shown().size();
    clickCell(g, 2, 2);
    QTest::keyClick(&g, Qt::Key_Delete);
    teclear(&g, u("31/02/2009"));
    clickCell(g, 3, 2);
    EXPECT_EQ(msg().shown().size(), mensajes + 1) << "not a date: said, and no end date";
    EXPECT_EQ(g.TextMatrix(3, 2), u("14/08/2009"));

    clickCell(g, 2, 2);
    QTest::keyClick(&g, Qt::Key_Delete);
    clickCell(g, 3, 2);
    EXPECT_EQ(form.lblAyuda1->text(),
              u("Si no introduce la fecha de inicio no podremos calcular el vencimiento."));
    EXPECT_EQ(fakeClock().waits.back(), 2.0);
}

TEST_F(MarcasTest, AStartDateInTheLastRowHasNoEndDateToWrite)
{
    const int idModelo = modeloConMarcas(u("PRORROGA"));
    marcaDeModelo(idModelo, u("0222"), u("DURACION"));
    marcaDeModelo(idModelo, u("0223"), u("INICIO"));
    auto& form = elegirModelo(abrirDesdeListado(), u("PRORROGA"));
    auto& g = *form.mshMarcas;
    clickCell(g, 2, 2);
    teclear(&g, u("01/03/2009"));
    clickCell(g, 1, 2);
    EXPECT_EQ(g.Rows(), 3);
    EXPECT_EQ(g.TextMatrix(1, 2), QString());
    EXPECT_TRUE(msg().shown().empty());
}

// The import of a payroll-server record into the grid.
class ImportacionTest : public MarcasTest {
protected:
    ImportacionTest()
    {
        // The catalogue's marks in code order, with offsets 0, 31, 42, 69, 78 and 87.
        marca(u("0002"), u("EMPRESA"), 30);
        marca(u("0003"), u("NIF"), 10);
        marca(u("0005"), u("DOMICILIO"), 26);
        marca(u("0015"), u("FECHA INICIO"), 8);
        marca(u("0017"), u("FECHA FIN"), 8, u("INDEFINIDO"));
        marca(u("0018"), u("CATEGORIA"), 15);
        idModelo = modeloConMarcas();
        for (const char* codigo : {"0003", "0005", "0015", "0017", "0018"})
            marcaDeModelo(idModelo, u(codigo), u("DATO ") + codigo);
        marcaDeModelo(idModelo, u("0016"), u("FECHA DE ALTA"));
        db.exec(u("UPDATE MarcasCont SET DescripciónDato = 'FECHA INICIO' WHERE CódigoMarca = '0015'"));
    }

    static QByteArray campo(const QByteArray& valor, int longitud)
    {
        return valor.leftJustified(longitud, ' ', true) + '|';
    }

    int idModelo = 0;
};

TEST_F(ImportacionTest, EachMarkTakesItsValueFromItsPlaceInTheRecord)
{
    auto& form = elegirModelo(abrirDesdeImportados(u("00012"), u("00345")));
    EXPECT_EQ(form.OrigenDatos, 0);
    for (const auto& [codigo, inicio] : {std::pair{"0002", 0}, {"0003", 31}, {"0005", 42}, {"0018", 87}})
        EXPECT_EQ(form.BuscarInicioMarca(u(codigo)), inicio);
    EXPECT_EQ(form.BuscarInicioMarca(u("9999")), std::nullopt);

    auto& g = *form.mshMarcas;
    g.setTextMatrix(5, 2, u("antes")); // 0017
    g.setTextMatrix(6, 2, u("antes")); // 0018
    // The file as fetched, printer codes included: they take no place.
    writeFile("C:\\Quelvan\\Dorvane\\ContratosTemp\\0034500012",
              "\x0f" + campo("TALLERES SA", 30) + "\x1b" "E" + campo("B25000001", 10) + "\x1b" "F" +
                  campo("Av. Espa\xf1" "a 3", 26) + campo("15032009", 8) + campo("        ", 8) + campo("000", 15) +
                  "\x12");
    form.cmdImportar->click();
    EXPECT_EQ(columna(g, 0), (QStringList{"0003", "0005", "0015", "0016", "0017", "0018"}));
    EXPECT_EQ(columna(g, 2), (QStringList{"B25000001 ", "Av. España 3" + QString(14, QLatin1Char(' ')), "15/03/2009",
                                          "", "INDEFINIDO", "antes"}));
    EXPECT_FALSE(isShown(form.fraProgreso));
    EXPECT_EQ(form.ProgressBar1->value(), 699 * 6 / 7);
    EXPECT_TRUE(msg().shown().empty());

    // A short record: the marks past its end are blank and keep their values.
    writeFile("C:\\Quelvan\\Dorvane\\ContratosTemp\\0034500012", campo("X", 30) + "B2");
    g.setTextMatrix(2, 2, u("antes"));
    g.setTextMatrix(3, 2, u("antes"));
    form.cmdImportar->click();
    EXPECT_EQ(columna(g, 2).mid(0, 3), (QStringList{"B2", "antes", "antes"}));

    writeFile("C:\\Quelvan\\Dorvane\\ContratosTemp\\0034500012", campo("", 30) + campo("", 10) + campo("", 26) +
                                                                      campo("00000000", 8) + campo("31122009", 8));
    form.cmdImportar->click();
    EXPECT_EQ(g.TextMatrix(3, 2), u("antes")) << "no date";
    EXPECT_EQ(g.TextMatrix(5, 2), u("31122009")) << "a date only where the description says FECHA";
}

// A date mark is laid out from what the record holds, unchecked: the user
// sees it in the grid and corrects it there.
TEST_F(ImportacionTest, ADateMarkIsLaidOutFromWhatTheRecordHolds)
{
    auto& form = elegirModelo(abrirDesdeImportados(u("00012"), u("00345")));
    const QByteArray antes = campo("", 30) + campo("", 10) + campo("", 26);
    const std::pair<QByteArray, QString> fechas[] = {
        {campo("150309  ", 8), u("15/03/09  ")},
        {campo("15-03-09", 8), u("15/-0/3-09")},
        {campo("31022009", 8), u("31/02/2009")},
        {campo("1 031970", 8), u("1 /03/1970")},
        {"3112", u("31/12/")}, // the record ends four places into the mark
    };
    for (const auto& [fecha, esperado] : fechas) {
        form.mshMarcas->setTextMatrix(3, 2, u("antes"));
        writeFile("C:\\Quelvan\\Dorvane\\ContratosTemp\\0034500012", antes + fecha);
        form.cmdImportar->click();
        EXPECT_EQ(form.mshMarcas->TextMatrix(3, 2), esperado) << fecha.constData();
    }
    EXPECT_TRUE(msg().shown().empty());
}

TEST_F(ImportacionTest, NoRecordOrNoContractIsSaidAndTheGridIsLeftAlone)
{
    auto& form = abrirDesdeImportados(u("00012"), u("00345"));
    form.cmdImportar->click();
    EXPECT_EQ(msg().texts(),
              QStringList{u("Debe seleccionar un contrato para poder importar o modificar los datos.")});
    elegirModelo(form);
    form.cmdImportar->click();
    EXPECT_EQ(msg().texts().last(), u("No ha importado ningún contrato de ese trabajador."));
    EXPECT_FALSE(isShown(form.fraProgreso) || isShown(form.shaProgreso));

    writeFile("C:\\Quelvan\\Dorvane\\ContratosTemp\\00345", campo("ALGO", 30));
    for (const QString& numero : {QString(), u("../x"), u("1*")}) {
        form.txtNumTrabajador->setText(numero);
        form.cmdImportar->click();
        EXPECT_EQ(msg().texts().last(), u("No ha importado ningún contrato de ese trabajador."));
    }
    EXPECT_EQ(msg().shown().size(), 5u);
    EXPECT_EQ(form.mshMarcas->TextMatrix(1, 2), QString());
    EXPECT_EQ(form.MousePointer(), 0);
}
