#include "Catalogo.h"

#include "platform/FlexGrid.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using platform::Forms;
using platform::isShown;

class MarcasTest : public ProduccionTest {
protected:
    // A model "M" with the given marks, chosen through the type `tipoNombre`.
    frmEleccionContrato& elegirModelo(frmEleccionContrato& form, const QString& tipoNombre = QStringLiteral("TIPO"))
    {
        pulsar(form.optTipoContrato, tipoNombre);
        pulsar(form.optContrato, QStringLiteral("100 - Con marcas"));
        return form;
    }
    int modeloConMarcas(const QString& tipoNombre = QStringLiteral("TIPO"))
    {
        const int idModelo = modelo(QStringLiteral("M"), QStringLiteral("M.doc"));
        contrato(tipo(tipoNombre), QStringLiteral("100"), QStringLiteral("Con marcas"), QStringLiteral("M"));
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
    marca(QStringLiteral("0002"), QStringLiteral("EMPRESA"), 30, QStringLiteral("FIJA"));
    marca(QStringLiteral("0020"), QStringLiteral("JORNADA"), 10, QStringLiteral("40 horas"));
    for (const char* codigo : {"0116", "0060", "0010", "0058", "0059", "0002", "0020", "0115"})
        marcaDeModelo(idModelo, QString::fromLatin1(codigo), QStringLiteral("DATO ") + QString::fromLatin1(codigo),
                      QStringLiteral("2"));
    marcaDeModelo(idModelo, QStringLiteral("0050"), QString());

    auto& form = abrirDesdeListado();
    form.OrigenDatos = 1; // as the record window leaves it after its hand-off
    form.Empresa.Nombre = QStringLiteral("TALLERES SA");
    form.Empresa.Localidad = QStringLiteral("Lleida");
    form.Empresa.Cuenta = QStringLiteral("25/1234567/89");
    form.Trabajador.NIF = QStringLiteral("12345678Z");
    elegirModelo(form);

    const auto& g = *form.mshMarcas;
    EXPECT_EQ(g.Cols(), 4);
    EXPECT_EQ(g.TextMatrix(0, 1), QStringLiteral("Definición Marca."));
    EXPECT_EQ(g.ColWidth(1), 4750);
    EXPECT_EQ(columna(g, 0), (QStringList{"0002", "0010", "0020", "0058", "0059", "0060", "0115", "0116"}))
        << "code order, and no row for a mark without description";
    EXPECT_EQ(columna(g, 2), (QStringList{"TALLERES SA", "Lleida", "40 horas", "25", "1234567", "89", "12345678Z", ""}));
    EXPECT_EQ(g.TextMatrix(1, 3), QStringLiteral("2"));
    EXPECT_EQ(form.txtLugar->text(), QStringLiteral("Lleida"));
    EXPECT_EQ(g.Col(), 2);

    // Opened from a list, only the fixed values come.
    Forms::unload(form);
    auto& lista = abrirDesdeListado();
    lista.Empresa.Nombre = QStringLiteral("TALLERES SA");
    elegirModelo(lista);
    EXPECT_EQ(columna(*lista.mshMarcas, 2), (QStringList{"FIJA", "", "40 horas", "", "", "", "", ""}));
    EXPECT_TRUE(lista.Empresa.Nombre.isEmpty());
}

TEST_F(MarcasTest, TheKeyboardEditsTheValueOfTheCurrentRow)
{
    const int idModelo = modeloConMarcas();
    marcaDeModelo(idModelo, QStringLiteral("0102"), QStringLiteral("TRABAJADOR"));
    marcaDeModelo(idModelo, QStringLiteral("0105"), QStringLiteral("MUNICIPIO"));
    auto& form = abrirDesdeListado();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    pulsar(form.optTipoContrato, QStringLiteral("TIPO"));
    QTest::mouseClick(form.optContrato[0], Qt::LeftButton, {}, QPoint(8, form.optContrato[0]->height() / 2));
    auto& g = *form.mshMarcas;
    // The choice's frame goes away with the focus; what is typed next is a value.
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Ana"));
    EXPECT_EQ(g.TextMatrix(1, 2), QStringLiteral("Ana"));
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
    teclear(&g, QStringLiteral("José Lleó Ñ"));
    EXPECT_EQ(g.TextMatrix(2, 2), QStringLiteral("José Lleó Ñ"));
    QTest::keyClick(&g, Qt::Key_Backspace);
    EXPECT_EQ(g.TextMatrix(2, 2), QStringLiteral("José Lleó "));
    QTest::keyClick(&g, Qt::Key_Up);
    teclear(&g, QStringLiteral("x"));
    EXPECT_EQ(g.TextMatrix(1, 2), QStringLiteral("x"));
    QTest::keyClick(&g, Qt::Key_Backspace);
    QTest::keyClick(&g, Qt::Key_Backspace);
    EXPECT_EQ(g.TextMatrix(1, 2), QString());
    QTest::keyClick(&g, Qt::Key_Down);
    QTest::keyClick(&g, Qt::Key_Delete);
    EXPECT_EQ(g.TextMatrix(2, 2), QString());
}

TEST_F(MarcasTest, AnExtensionTakesItsDurationAndWorksOutItsEndDate)
{
    const int idModelo = modeloConMarcas(QStringLiteral("PRORROGA"));
    marcaDeModelo(idModelo, QStringLiteral("0222"), QStringLiteral("DURACION"));
    marcaDeModelo(idModelo, QStringLiteral("0223"), QStringLiteral("INICIO"));
    marcaDeModelo(idModelo, QStringLiteral("0224"), QStringLiteral("FIN"));
    auto& form = elegirModelo(abrirDesdeListado(), QStringLiteral("PRORROGA"));
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    auto& g = *form.mshMarcas;
    EXPECT_EQ(form.cmdRealizarContrato->text(), QStringLiteral("Realizar Prórroga."));

    clickCell(g, 1, 2);
    clickCell(g, 1, 1);
    ASSERT_TRUE(isShown(form.fraDuracionProrroga));
    form.txtMesesProrroga->setText(QStringLiteral("seis"));
    form.cmdAceptarDuracion->click();
    EXPECT_EQ(msg().texts().last(), QStringLiteral("Los meses deben de ser un valor númerico."));
    EXPECT_TRUE(form.txtMesesProrroga->text().isEmpty());
    EXPECT_TRUE(isShown(form.fraDuracionProrroga));
    form.txtMesesProrroga->setText(QStringLiteral("1"));
    form.txtDiasProrroga->clear();
    form.cmdAceptarDuracion->click();
    EXPECT_EQ(g.TextMatrix(1, 2), QStringLiteral("1 Meses  "));
    EXPECT_FALSE(isShown(form.fraDuracionProrroga));
    EXPECT_EQ(QApplication::focusWidget(), &g) << "the keyboard goes on in the grid, not on a button";

    clickCell(g, 2, 2);
    EXPECT_TRUE(isShown(form.fraAyuda));
    teclear(&g, QStringLiteral("31/01/2009"));
    clickCell(g, 3, 2);
    EXPECT_EQ(g.TextMatrix(3, 2), QStringLiteral("27/02/2009"));
    EXPECT_FALSE(isShown(form.fraAyuda));

    clickCell(g, 1, 2); // 6 months and 15 days
    form.txtMesesProrroga->setText(QStringLiteral("6"));
    form.txtDiasProrroga->setText(QStringLiteral("15"));
    form.cmdAceptarDuracion->click();
    EXPECT_EQ(g.TextMatrix(1, 2), QStringLiteral("6 Meses  15 Días"));
    clickCell(g, 2, 2);
    clickCell(g, 3, 2);
    EXPECT_EQ(g.TextMatrix(3, 2), QStringLiteral("14/08/2009"));

    const std::size_t mensajes = msg().shown().size();
    clickCell(g, 2, 2);
    QTest::keyClick(&g, Qt::Key_Delete);
    teclear(&g, QStringLiteral("31/02/2009"));
    clickCell(g, 3, 2);
    EXPECT_EQ(msg().shown().size(), mensajes + 1) << "not a date: said, and no end date";
    EXPECT_EQ(g.TextMatrix(3, 2), QStringLiteral("14/08/2009"));

    clickCell(g, 2, 2);
    QTest::keyClick(&g, Qt::Key_Delete);
    clickCell(g, 3, 2);
    EXPECT_EQ(form.lblAyuda1->text(),
              QStringLiteral("Si no introduce la fecha de inicio no podremos calcular el vencimiento."));
    EXPECT_EQ(fakeClock().waits.back(), 2.0);
}

TEST_F(MarcasTest, AStartDateInTheLastRowHasNoEndDateToWrite)
{
    const int idModelo = modeloConMarcas(QStringLiteral("PRORROGA"));
    marcaDeModelo(idModelo, QStringLiteral("0222"), QStringLiteral("DURACION"));
    marcaDeModelo(idModelo, QStringLiteral("0223"), QStringLiteral("INICIO"));
    auto& form = elegirModelo(abrirDesdeListado(), QStringLiteral("PRORROGA"));
    auto& g = *form.mshMarcas;
    clickCell(g, 2, 2);
    teclear(&g, QStringLiteral("01/03/2009"));
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
        marca(QStringLiteral("0002"), QStringLiteral("EMPRESA"), 30);
        marca(QStringLiteral("0003"), QStringLiteral("NIF"), 10);
        marca(QStringLiteral("0005"), QStringLiteral("DOMICILIO"), 26);
        marca(QStringLiteral("0015"), QStringLiteral("FECHA INICIO"), 8);
        marca(QStringLiteral("0017"), QStringLiteral("FECHA FIN"), 8, QStringLiteral("INDEFINIDO"));
        marca(QStringLiteral("0018"), QStringLiteral("CATEGORIA"), 15);
        idModelo = modeloConMarcas();
        for (const char* codigo : {"0003", "0005", "0015", "0017", "0018"})
            marcaDeModelo(idModelo, QString::fromLatin1(codigo), QStringLiteral("DATO ") + QString::fromLatin1(codigo));
        marcaDeModelo(idModelo, QStringLiteral("0016"), QStringLiteral("FECHA DE ALTA"));
        db().exec(QStringLiteral("UPDATE \"MarcasCont\" SET \"DescripciónDato\" = 'FECHA INICIO' "
                                 "WHERE \"CódigoMarca\" = '0015'"));
    }

    static QByteArray campo(const QByteArray& valor, int longitud)
    {
        return valor.leftJustified(longitud, ' ', true) + '|';
    }

    int idModelo = 0;
};

TEST_F(ImportacionTest, EachMarkTakesItsValueFromItsPlaceInTheRecord)
{
    auto& form = elegirModelo(abrirDesdeImportados(QStringLiteral("00012"), QStringLiteral("00345")));
    EXPECT_EQ(form.OrigenDatos, 0);
    EXPECT_EQ(form.BuscarInicioMarca(QStringLiteral("0002")), 0);
    EXPECT_EQ(form.BuscarInicioMarca(QStringLiteral("0003")), 31);
    EXPECT_EQ(form.BuscarInicioMarca(QStringLiteral("0005")), 42);
    EXPECT_EQ(form.BuscarInicioMarca(QStringLiteral("0018")), 87);
    EXPECT_EQ(form.BuscarInicioMarca(QStringLiteral("9999")), std::nullopt);

    auto& g = *form.mshMarcas;
    g.setTextMatrix(5, 2, QStringLiteral("antes")); // 0017
    g.setTextMatrix(6, 2, QStringLiteral("antes")); // 0018
    writeFile("C:\\Quelvan\\Dorvane\\ContratosTemp\\0034500012",
              campo("TALLERES SA", 30) + campo("B25000001", 10) + campo("Av. Espa\xf1" "a 3", 26) +
                  campo("15032009", 8) + campo("        ", 8) + campo("000", 15));
    form.cmdImportar->click();
    EXPECT_EQ(columna(g, 0), (QStringList{"0003", "0005", "0015", "0016", "0017", "0018"}));
    EXPECT_EQ(columna(g, 2), (QStringList{"B25000001 ", "Av. España 3" + QString(14, QLatin1Char(' ')), "15/03/2009",
                                          "", "INDEFINIDO", "antes"}));
    EXPECT_FALSE(isShown(form.fraProgreso));
    EXPECT_EQ(form.fraProgreso->title(), QStringLiteral("Importando datos : "));
    EXPECT_EQ(form.ProgressBar1->value(), 699 * 6 / 7);
    EXPECT_TRUE(msg().shown().empty());

    // A short record: the marks past its end are blank and keep their values.
    writeFile("C:\\Quelvan\\Dorvane\\ContratosTemp\\0034500012", campo("X", 30) + "B2");
    g.setTextMatrix(2, 2, QStringLiteral("antes"));
    g.setTextMatrix(3, 2, QStringLiteral("antes"));
    form.cmdImportar->click();
    EXPECT_EQ(columna(g, 2).mid(0, 3), (QStringList{"B2", "antes", "antes"}));

    writeFile("C:\\Quelvan\\Dorvane\\ContratosTemp\\0034500012", campo("", 30) + campo("", 10) + campo("", 26) +
                                                                      campo("00000000", 8) + campo("31122009", 8));
    form.cmdImportar->click();
    EXPECT_EQ(g.TextMatrix(3, 2), QStringLiteral("antes")) << "no date";
    EXPECT_EQ(g.TextMatrix(5, 2), QStringLiteral("31122009")) << "a date only where the description says FECHA";
}

TEST_F(ImportacionTest, NoRecordOrNoContractIsSaidAndTheGridIsLeftAlone)
{
    auto& form = abrirDesdeImportados(QStringLiteral("00012"), QStringLiteral("00345"));
    form.cmdImportar->click();
    EXPECT_EQ(msg().texts(),
              QStringList{QStringLiteral("Debe seleccionar un contrato para poder importar o modificar los datos.")});
    elegirModelo(form);
    form.cmdImportar->click();
    EXPECT_EQ(msg().texts().last(), QStringLiteral("No ha importado ningún contrato de ese trabajador."));
    EXPECT_FALSE(isShown(form.fraProgreso));
    EXPECT_FALSE(isShown(form.shaProgreso));

    writeFile("C:\\Quelvan\\Dorvane\\ContratosTemp\\00345", campo("ALGO", 30));
    for (const QString& numero : {QString(), QStringLiteral("../x"), QStringLiteral("1*")}) {
        form.txtNumTrabajador->setText(numero);
        form.cmdImportar->click();
        EXPECT_EQ(msg().texts().last(), QStringLiteral("No ha importado ningún contrato de ese trabajador."));
    }
    EXPECT_EQ(msg().shown().size(), 5u);
    EXPECT_EQ(form.mshMarcas->TextMatrix(1, 2), QString());
    EXPECT_EQ(form.MousePointer(), 0);
}
