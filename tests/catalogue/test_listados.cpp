#include "CatalogoTest.h"

// The character column (from 1) where `texto` starts on a printed line; 0 when it is not there.
static int columnaDe(const QString& linea, const QString& texto)
{
    return static_cast<int>(linea.indexOf(texto)) + 1;
}

class ListadosTest : public CatalogoTest {
protected:
    // The printed lines after the title and its blank lines.
    QStringList trasElTitulo() { return fakePrinter().page().mid(5); }
};

TEST_F(ListadosTest, ContractsPrintNumberedWithTheTypeHeadingFurtherRight)
{
    for (int i = 1; i <= 10; ++i)
        insertar("Contrato", {{"Contrato", u("Obra %1").arg(i)}, {"TipoContrato", "Temporal"}, {"Código", "401"},
                              {"Modelo", "T01"}});
    auto& w = abrir<frmManContrato>();
    bool bloqueada = false;
    fakeClock().duringWait = [&](double) { bloqueada = !w.isEnabled(); };
    clic(w.cmdImprimir);

    const QStringList pagina = fakePrinter().page();
    EXPECT_EQ(columnaDe(pagina.at(2), u("LISTADO DE CONTRATOS:")), 12);
    const QStringList lineas = trasElTitulo();
    ASSERT_EQ(lineas.size(), 11);
    EXPECT_EQ(columnaDe(lineas[0], u("Núm.")), 8);
    EXPECT_EQ(columnaDe(lineas[0], u("TipoContrato")), 35);
    EXPECT_EQ(columnaDe(lineas[0], u("Código.")), 75);
    EXPECT_EQ(columnaDe(lineas[1], u("Temporal")), 30);
    EXPECT_EQ(columnaDe(lineas[1], u("T01")), 55);
    EXPECT_EQ(columnaDe(lineas[1], u("401")), 75);
    EXPECT_EQ(lineas[1].left(10), u("         1"));
    EXPECT_EQ(lineas[10].left(10), u("        10"));
    EXPECT_EQ(fakePrinter().find(u("Obra 1"))->font, (platform::PrintFont{"Arial", 11}));
    EXPECT_EQ(fakeClock().waits, std::vector<double>{2.0});
    EXPECT_TRUE(bloqueada) << "no clicks during the listing's pause";
    EXPECT_EQ(w.MousePointer(), 0);

    // Cancelled in the printer dialog: nothing printed, no pause.
    fakePrinter().cancel = true;
    clic(w.cmdImprimir);
    EXPECT_EQ(fakePrinter().printouts.size(), 1u);
    EXPECT_EQ(fakeClock().waits.size(), 1u);
}

TEST_F(ListadosTest, EveryValueStaysInItsColumn)
{
    // About as long as their boxes take (120 and 100 characters).
    const QString nombre = u("Contrato de trabajo en prácticas para titulados universitarios o de formación "
                             "profesional de grado medio o superior (CT)");
    const QString tipo = u("Contratos temporales de duración determinada para la formación y el aprendizaje en "
                           "empresa usuaria.");
    insertar("Contrato", {{"Contrato", nombre}, {"TipoContrato", tipo}, {"Código", "520"}, {"Modelo", "ORDINARIO"}});
    clic(abrir<frmManContrato>().cmdImprimir);

    // Where each text stands, in points from the left margin, and where it ends.
    const auto en = [&](const QString& texto) {
        const platform::PrintedText* impreso = fakePrinter().find(texto);
        return impreso ? *impreso : platform::PrintedText{};
    };
    const auto fin = [](const platform::PrintedText& t) { return t.x + t.width; };
    // The bold headings stand where their values start.
    EXPECT_TRUE(en(u("Modelo.")).font.bold);
    EXPECT_NEAR(en(u("Modelo.")).x, en(u("ORDINARIO")).x, 0.01);
    EXPECT_NEAR(en(u("Código.")).x, en(u("520")).x, 0.01);
    EXPECT_EQ(en(u("ORDINARIO")).line, en(u("520")).line);

    // A value longer than its column goes on under itself, up to the next column.
    const auto trozos = [&](int columna) {
        std::vector<platform::PrintedText> enColumna;
        for (const auto& t : fakePrinter().texts())
            if (t.column == columna && t.line >= en(u("520")).line)
                enColumna.push_back(t);
        return enColumna;
    };
    const auto delNombre = trozos(14);
    const auto delTipo = trozos(30);
    ASSERT_GT(delNombre.size(), 1u);
    ASSERT_GT(delTipo.size(), 1u);
    QStringList lineas;
    for (const auto& t : delNombre) {
        lineas << t.text;
        EXPECT_NEAR(t.x, en(u("Contrato.")).x, 0.01) << t.text.toStdString();
        EXPECT_LE(fin(t), delTipo.front().x) << t.text.toStdString();
    }
    EXPECT_EQ(lineas.join(QLatin1Char(' ')), nombre);
    lineas.clear();
    for (const auto& t : delTipo) {
        lineas << t.text;
        EXPECT_NEAR(t.x, delTipo.front().x, 0.01) << t.text.toStdString();
        EXPECT_LE(fin(t), en(u("ORDINARIO")).x) << t.text.toStdString();
    }
    EXPECT_EQ(lineas.join(QLatin1Char(' ')), tipo);
}

TEST_F(ListadosTest, MarksPrintTheirCodesAndLengthsRightAligned)
{
    marca(u("0001"), u("NOMBRE"), 120);
    marca(u("12"), u("SIN LONGITUD"), QVariant());
    insertar("MarcasCont", {{"IdModelo", QString::number(modelo(u("T01")))}, {"CódigoMarca", "0001"},
                            {"DescripciónDato", "NOMBRE"}});
    modelo(u("T02"));

    auto& marcas = abrir<frmMarcas>();
    clic(marcas.cmdImprimir);
    QStringList lineas = trasElTitulo();
    ASSERT_EQ(lineas.size(), 3);
    EXPECT_EQ(columnaDe(lineas[0], u("Longitud.")), 70);
    EXPECT_EQ(columnaDe(lineas[1], u("0001")), 16);
    EXPECT_EQ(columnaDe(lineas[1], u("NOMBRE")), 27);
    EXPECT_EQ(columnaDe(lineas[1], u("120")), 76) << "its last digit under the heading's end";
    EXPECT_EQ(columnaDe(lineas[2], u("12")), 18);
    EXPECT_TRUE(lineas[2].endsWith(u("SIN LONGITUD")));
    clic(marcas.cmdSalir);

    // The marks of a model, under the counter's label; no pause after them.
    fakeClock().waits.clear();
    auto& modelos = abrir<frmModelos>();
    clic(modelos.cmdImprimir);
    EXPECT_EQ(columnaDe(trasElTitulo().value(1), u("T01")), 14) << "the models view lists the models";
    pulsarFila(modelos.dbgModelos, 0);
    clic(modelos.cmdAñadirMarcas);
    clic(modelos.cmdImprimir);
    const QStringList pagina = fakePrinter().page();
    EXPECT_EQ(columnaDe(pagina.at(2), u("LISTADO DE MARCAS ACTIVAS EN EL CONTRATO:")), 12);
    lineas = pagina.mid(3);
    ASSERT_EQ(lineas.size(), 5);
    EXPECT_EQ(columnaDe(lineas[1], u("Número de registros : ")), 8);
    EXPECT_EQ(columnaDe(lineas[3], u("Descripción Marca")), 30);
    EXPECT_EQ(columnaDe(lineas[4], u("0001")), 16);
    EXPECT_EQ(columnaDe(lineas[4], u("NOMBRE")), 30);
    EXPECT_TRUE(fakeClock().waits.empty());

    // A model without marks: the headings, then the message.
    dobleClic(modelos.dbgMarcasSeleccionadas, 0);
    clic(modelos.cmdImprimir);
    EXPECT_EQ(fakePrinter().page().size(), 7);
    EXPECT_EQ(ultimoMensaje(), u("No hay ningun registro a imprimir"));
}

TEST_F(ListadosTest, ClausesPrintInSlicesOfSeventyCharacters)
{
    const auto texto = [](int largo) {
        QString t;
        for (int i = 0; i < largo; ++i)
            t += QChar(QLatin1Char('a' + (i / 70) % 26));
        return t;
    };
    for (int largo : {70, 71, 105, 140, 175})
        insertar("Clausulas", {{"Clausula", texto(largo)}});
    insertar("Clausulas", {{"Clausula", u("Primera línea.\r\nSegunda línea.")}});
    auto& w = abrir<frmClausulas>();
    clic(w.cmdImprimir);

    const QStringList lineas = trasElTitulo();
    const QString a70 = QString(70, QLatin1Char('a'));
    const QString b70 = QString(70, QLatin1Char('b'));
    const QString numerada = u("         %1   ");
    const QString sangrada = QString(14, QLatin1Char(' '));
    EXPECT_EQ(lineas, (QStringList{
                          u("       Núm.  Clausula."),
                          numerada.arg(1) + a70,
                          numerada.arg(2) + a70, sangrada + u("b"),
                          numerada.arg(3) + a70, sangrada + QString(35, QLatin1Char('b')), QString(),
                          numerada.arg(4) + a70, sangrada + b70, QString(),
                          numerada.arg(5) + a70, sangrada + b70, sangrada + QString(35, QLatin1Char('c')),
                          numerada.arg(6) + u("Primera línea."), QString(13, QLatin1Char(' ')) + u("Segunda línea."),
                      }));
    EXPECT_EQ(fakePrinter().find(a70)->font, (platform::PrintFont{"Courier", 11}));
    EXPECT_EQ(fakeClock().waits, std::vector<double>{2.0});
}

// A clause never starts at the foot of a page and goes on at the top of the
// next: with nineteen clauses, the four lines of the fifteenth stay together
// on page 2 when only two are left on page 1.
TEST_F(ListadosTest, AClauseOfSeveralLinesIsNotSplitByAPageBreak)
{
    // How many lines of the listing's font a page holds.
    platform::PrintJob medida;
    medida.setFontName(u("Courier"));
    medida.setFontSize(11);
    for (int i = 0; i < 200; ++i)
        medida.printRow({{1, u("x")}});
    ASSERT_TRUE(medida.endDoc());
    const int porPagina = static_cast<int>(fakePrinter().page(1).size());

    // A clause of `lineas` lines, all of its letter.
    const auto clausula = [](int k, int lineas) {
        return QString(lineas == 1 ? 60 : 70 * (lineas - 1) + 10, QLatin1Char('a' + k - 1));
    };
    // Title and headings take six lines; the first fourteen clauses leave two.
    const int lineas = porPagina - 6 - 2;
    ASSERT_GE(lineas, 14);
    ASSERT_LE(lineas, 14 * 5);
    std::vector<int> reparto(14, lineas / 14);
    for (int k = 0; k < lineas % 14; ++k)
        ++reparto[static_cast<std::size_t>(k)];
    reparto.insert(reparto.end(), {4, 1, 1, 1, 1}); // the fifteenth has four lines, the last four one
    for (int k = 1; k <= 19; ++k)
        insertar("Clausulas", {{"Clausula", clausula(k, reparto[static_cast<std::size_t>(k - 1)])}});
    auto& w = abrir<frmClausulas>();
    clic(w.cmdImprimir);

    const QString o70 = QString(70, QLatin1Char('o'));
    const QString sangrada = QString(14, QLatin1Char(' '));
    EXPECT_EQ(fakePrinter().page(1).size(), porPagina - 2);
    EXPECT_EQ(fakePrinter().page(1).back(), sangrada + QString(10, QLatin1Char('n')));
    EXPECT_EQ(fakePrinter().page(2),
              (QStringList{u("        15   ") + o70, sangrada + o70, sangrada + o70,
                           sangrada + QString(10, QLatin1Char('o')), u("        16   ") + QString(60, QLatin1Char('p')),
                           u("        17   ") + QString(60, QLatin1Char('q')),
                           u("        18   ") + QString(60, QLatin1Char('r')),
                           u("        19   ") + QString(60, QLatin1Char('s'))}));
}

// Help on Imprimir in the clause window ends as its listing does: the pause,
// with the window held, and the default pointer; nothing goes to the printer.
// Its other help, and the other windows' help on Imprimir, end with the help.
TEST_F(ListadosTest, ClauseHelpOnImprimirEndsWithTheListingsPauseWithoutPrinting)
{
    insertar("Clausulas", {{"Clausula", u("Una cláusula.")}});
    auto& w = abrir<frmClausulas>();
    bool bloqueada = false;
    fakeClock().duringWait = [&](double) { bloqueada = !w.isEnabled(); };
    clic(w.cmdAyuda);
    clic(w.cmdImprimir);
    EXPECT_EQ(Forms::get<frmAyuda>().fraAyuda->title(), u("Botón Imprimir : "));
    EXPECT_EQ(Forms::get<frmAyuda>().txtAyuda->toPlainText(),
              u("Imprimira un listado con un indice y la definición de la clausula."));
    EXPECT_FALSE(frmAyuda::ModoAyuda);
    EXPECT_EQ(fakeClock().waits, std::vector<double>{2.0});
    EXPECT_TRUE(bloqueada) << "no clicks during the pause";
    EXPECT_TRUE(w.isEnabled());
    EXPECT_EQ(w.MousePointer(), 0);
    EXPECT_EQ(fakePrinter().dialogs, 0);
    EXPECT_TRUE(fakePrinter().printouts.empty());

    clic(w.cmdAyuda);
    clic(w.cmdNuevo);
    EXPECT_FALSE(isShown(w.fraClausula));
    EXPECT_EQ(fakeClock().waits.size(), 1u);

    auto& tipos = abrir<frmManContratos>();
    clic(tipos.cmdAyuda);
    clic(tipos.cmdImprimir);
    EXPECT_EQ(Forms::get<frmAyuda>().txtAyuda->toPlainText(),
              u("Imprimira un listado con todos los tipos de contratos activos."));
    EXPECT_EQ(fakeClock().waits.size(), 1u);
    EXPECT_TRUE(fakePrinter().printouts.empty());
}
