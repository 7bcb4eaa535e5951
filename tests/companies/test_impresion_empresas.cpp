#include "EmpresasTest.h"

namespace {

QString tres(int n)
{
    return u("%1").arg(n, 3, 10, QLatin1Char('0'));
}

// A label at column 8 and its value at `columna`, as a sheet prints them.
QString campo(const char* etiqueta, const QString& valor, int columna)
{
    const QString linea = QString(7, QLatin1Char(' ')) + u(etiqueta);
    return valor.isEmpty() ? linea : linea.leftJustified(columna - 1) + valor;
}

} // namespace

class ImpresionEmpresasTest : public EmpresasTest {
protected:
    // The workers tab, the company saved on the way as the user agrees.
    void trabajadores(frmEmpresa& ficha)
    {
        msg().answer(Answer::Yes);
        ficha.SSTab1->setCurrentIndex(1);
    }
};

TEST_F(ImpresionEmpresasTest, TheCompanyListPrintsWhatTheGridShowsInItsOrderOverPages)
{
    {
        for (int n = 99; n >= 1; --n)
            insertar("Empresas", {{"NombreEmpresa", u("Empresa %1").arg(tres(n))}});
    }
    empresa({}, u("Alfarería Peñas"));
    auto& lista = Forms::show<frmEmpresas>();
    emit lista.dbgEmpresas->horizontalHeader()->sectionClicked(1);
    fakePrinter().pdfPath = driveC.filePath(u("empresas.pdf"));
    lista.cmdImprimir->click();

    EXPECT_EQ(fakePrinter().dialogs, 1);
    EXPECT_EQ(lista.MousePointer(), 0);
    EXPECT_TRUE(fakeClock().waits.empty());
    const QStringList primera = fakePrinter().page(1);
    ASSERT_GT(primera.size(), 20);
    EXPECT_EQ(primera.mid(0, 8),
              (QStringList{{}, {}, u("           LISTADO DE EMPRESAS:"), {}, {},
                           u("       Núm.        Nombre de la Empresa."),
                           u("         1         Alfarería Peñas"), u("         2         Empresa 001")}));
    EXPECT_EQ(primera[17], u("        12         Empresa 011"));
    EXPECT_EQ(fakePrinter().find(u("LISTADO DE EMPRESAS:"))->font, (platform::PrintFont{"Arial", 11, true, true}));
    EXPECT_EQ(fakePrinter().find(u("Nombre de la Empresa."))->font, (platform::PrintFont{"Arial", 11, true, false}));
    EXPECT_EQ(fakePrinter().find(u("Empresa 001"))->font, (platform::PrintFont{"Arial", 11}));
    // No page heading: the next page goes on with the next row.
    EXPECT_EQ(fakePrinter().printouts.back().pages, 2);
    const int enLaPrimera = static_cast<int>(primera.size()) - 6;
    EXPECT_EQ(fakePrinter().page(2).first(),
              u("%1         Empresa %2").arg(enLaPrimera + 1, 10).arg(tres(enLaPrimera)));
    EXPECT_EQ(fakePrinter().page(2).last(), u("       100         Empresa 099"));

    const QString pdf = testing_support::pdfText(fakePrinter().pdfPath);
    qsizetype desde = 0;
    for (const char* texto : {"LISTADO DE EMPRESAS:", "Núm.", "Nombre de la Empresa.", "Alfarería Peñas",
                              "Empresa 001", "Empresa 099"}) {
        const qsizetype donde = pdf.indexOf(u(texto), desde);
        EXPECT_GE(donde, desde) << texto << " in order in:\n" << pdf.toStdString();
        desde = std::max(desde, donde);
    }

    // A search prints only the companies found.
    lista.cmdBuscar->click();
    lista.txtNombre->insert(u("alf"));
    lista.cmdImprimir->click();
    EXPECT_EQ(fakePrinter().page().mid(6), QStringList{u("         1         Alfarería Peñas")});

    // In help mode the button explains itself; the next click prints.
    lista.cmdAyuda->click();
    lista.cmdImprimir->click();
    EXPECT_EQ(fakePrinter().printouts.size(), 2u);
    EXPECT_EQ(Forms::loaded<frmAyuda>()->fraAyuda->title(), u("Botón Imprimir : "));
    lista.cmdImprimir->click();
    EXPECT_EQ(fakePrinter().printouts.size(), 3u);
}

TEST_F(ImpresionEmpresasTest, TheRecordWindowPrintsTheSheetOfWhatItShows)
{
    const qint64 id = empresa(u("00007"), u("Talleres Ruiz"), {{"NIF", "B25123456"},
                                                {u("Localidad"), u("Lleida")},
                                                {u("Observaciones"), u("Paga a 30 días\nCliente antiguo")}});
    trabajador(id, 3, u("Ana Ruiz"), {{"NIF14", "12345678Z"}, {"Municipio", "Lleida"}});
    auto& ficha = abrir(id);
    std::vector<int> punteros;
    fakeClock().duringWait = [&](double) { punteros.push_back(ficha.MousePointer()); };

    ficha.cmdImprimir->click();
    const QStringList empresaImpresa = fakePrinter().page();
    EXPECT_EQ(empresaImpresa.mid(2, 3), (QStringList{u("           DATOS DE LA EMPRESA:"), {}, {}}));
    EXPECT_EQ(empresaImpresa.mid(5),
              (QStringList{campo("Nombre de la empresa :", u("Talleres Ruiz"), 34),
                           campo("Número de la empresa :", u("00007"), 34),
                           campo("N.I.F. :", u("B25123456"), 34), campo("Actividad. :", {}, 34),
                           campo("Cuenta. :", u("__/_______/__"), 34), campo("Dirección :", {}, 34),
                           campo("Localidad :", u("Lleida"), 34), campo("Código Postal :", {}, 34),
                           campo("Provincia :", {}, 34), campo("Teléfono :", {}, 34), campo("Fax :", {}, 34),
                           campo("Correo Electrónico :", {}, 34),
                           campo("Observaciones :", u("Paga a 30 días"), 34),
                           QString(33, QLatin1Char(' ')) + u("Cliente antiguo")}));
    EXPECT_EQ(fakePrinter().find(u("DATOS DE LA EMPRESA:"))->font, (platform::PrintFont{"Arial", 11, true, true}));
    EXPECT_EQ(punteros, std::vector<int>{11});
    EXPECT_EQ(ficha.MousePointer(), 0);

    trabajadores(ficha);
    ficha.cmdImprimir->click();
    EXPECT_EQ(fakePrinter().page().mid(2),
              (QStringList{u("           LISTADO DE TRABAJADORES:"), {}, {},
                           u("       Núm.        Nombre del trabajador."),
                           u("         1         Ana Ruiz")}));

    ficha.cmdEditar->click();
    ASSERT_FALSE(ficha.fraDatosTrabajador->isHidden());
    ficha.cmdImprimir->click();
    EXPECT_EQ(fakePrinter().page().mid(2),
              (QStringList{u("           DATOS DEL TRABAJADOR :"), {}, {},
                           campo("Nombre del trabajador :", u("Ana Ruiz"), 37),
                           campo("Número del trabajador :", u("00003"), 37),
                           campo("N.I.F. :", u("12345678Z"), 37),
                           campo("Nº Afiliación a la S.S. :", u("__/________/__"), 37),
                           campo("Fecha de Nacimiento :", u("__/__/____"), 37), campo("Municipio :", u("Lleida"), 37),
                           campo("Nacionalidad :", {}, 37), campo("Pais :", {}, 37),
                           campo("Nivel Formativo :", {}, 37), campo("Observaciones :", {}, 37)}));

    // The clauses tab prints the opening lines only.
    msg().answer(Answer::Yes);
    ficha.SSTab1->setCurrentIndex(2);
    ficha.cmdImprimir->click();
    EXPECT_EQ(fakePrinter().printouts.size(), 4u);
    EXPECT_TRUE(fakePrinter().texts().empty());
    EXPECT_EQ(fakeClock().waits, (std::vector<double>{2, 2, 2, 2}));

    // The printer's queue shows each job by its title, one without a title by the window's caption.
    QStringList nombres;
    for (const auto& impreso : fakePrinter().printouts)
        nombres << impreso.title;
    EXPECT_EQ(
        nombres,
        (QStringList{u("DATOS DE LA EMPRESA"), u("LISTADO DE TRABAJADORES"), u("DATOS DEL TRABAJADOR"), u("Empresa")}));
}

TEST_F(ImpresionEmpresasTest, ACompanyWithoutWorkersPrintsTheHeadingsThenSaysThereIsNothing)
{
    auto& ficha = abrir(empresa(u("00009"), u("Sin Plantilla")));
    trabajadores(ficha);
    ficha.cmdImprimir->click();
    EXPECT_EQ(msg().shown().back().text, u("No hay ningun registro a imprimir"));
    EXPECT_EQ(fakePrinter().page().last(), u("       Núm.        Nombre del trabajador."));

    fakePrinter().cancel = true;
    ficha.cmdImprimir->click();
    EXPECT_EQ(fakePrinter().printouts.size(), 1u);

    ficha.cmdAyuda->click();
    ficha.cmdImprimir->click();
    EXPECT_EQ(Forms::loaded<frmAyuda>()->fraAyuda->title(), u("Botón Imprimir : "));
    EXPECT_EQ(fakePrinter().dialogs, 2);
}
