#include "EmpresasTest.h"

// Every field of the company and of the worker holds a value no other field
// holds, so that one shown in, printed from or saved from its neighbour's box
// is told apart.

namespace {

QString x(char c, int n)
{
    return QString(n, QLatin1Char(c));
}

QString texto(const QWidget* caja)
{
    if (const auto* mascara = qobject_cast<const platform::MaskEdBox*>(caja))
        return mascara->Text();
    if (const auto* linea = qobject_cast<const QLineEdit*>(caja))
        return linea->text();
    return qobject_cast<const QPlainTextEdit*>(caja)->toPlainText();
}

void poner(QWidget* caja, const QString& valor)
{
    if (auto* mascara = qobject_cast<platform::MaskEdBox*>(caja))
        mascara->setText(valor);
    else if (auto* linea = qobject_cast<platform::TextBox*>(caja))
        linea->setText(valor);
    else
        qobject_cast<QPlainTextEdit*>(caja)->setPlainText(valor);
}

// A sheet's line: the label at column 8, its value at `columna`.
QString linea(const QString& etiqueta, const QString& valor, int columna)
{
    return (QString(7, QLatin1Char(' ')) + etiqueta).leftJustified(columna - 1) + valor;
}

// A field of the table, the name of the box that shows it, the label of its
// line on the printed sheet (none when the sheet has no line for it), the
// value stored first and the value typed over it.
struct Campo {
    const char* campo;
    const char* caja;
    const char* etiqueta;
    QString guardado;
    QString tecleado;
};

QWidget* caja(const QWidget& ventana, const Campo& c)
{
    auto* w = ventana.findChild<QWidget*>(u(c.caja));
    EXPECT_NE(w, nullptr) << c.caja;
    return w;
}

// The lines of a printed sheet after its title, in the order of `etiquetas`,
// each with the value of its field.
QStringList hoja(const std::vector<Campo>& campos, std::initializer_list<const char*> etiquetas, int columna,
                 QString Campo::*valor)
{
    QStringList lineas;
    for (const char* etiqueta : etiquetas) {
        for (const Campo& c : campos) {
            if (c.etiqueta && qstrcmp(c.etiqueta, etiqueta) == 0)
                lineas << linea(u(etiqueta), c.*valor, columna);
        }
    }
    return lineas;
}

} // namespace

TEST_F(EmpresasTest, EveryCompanyFieldIsShownPrintedAndSavedInItsOwnPlace)
{
    const std::vector<Campo> campos = {
        {"NombreEmpresa", "txtNombreEmpresa", "Nombre de la empresa :", x('A', 30), x('a', 30)},
        {"NúmeroEmpresa", "txtNumEmpresa", "Número de la empresa :", u("98765"), u("56789")},
        {"NIF", "mskCuenta", "N.I.F. :", u("B98765432"), u("A12345678")},
        {"Dirección", "txtDireccion", "Dirección :", x('D', 30), x('d', 30)},
        {"Localidad", "txtLocalidad", "Localidad :", x('L', 30), x('l', 30)},
        {"Actividad", "txtActividad", "Actividad. :", x('T', 30), x('t', 30)},
        {"Cuenta", "txtNumISS", "Cuenta. :", u("25/1234567/89"), u("08/7654321/01")},
        {"Provincia", "txtPoblacion", "Provincia :", x('V', 30), x('v', 30)},
        {"Pais", "txtPaisEmpresa", nullptr, x('P', 30), x('p', 30)},
        {"CódPostal", "txtCp", "Código Postal :", u("25001"), u("08002")},
        {"NúmTeléfono", "txtTelef", "Teléfono :", u("973111222"), u("933444555")},
        {"NúmFax", "txtFax", "Fax :", u("973666777"), u("933888999")},
        {"Observaciones", "txtObservacionesEmpresa", "Observaciones :", x('O', 30), x('o', 30)},
        {"DirCorreoElectrónico", "txtemail", "Correo Electrónico :", x('M', 30), x('m', 30)},
    };
    platform::Row fila;
    for (const Campo& c : campos)
        fila.set(u(c.campo), c.guardado);
    for (int k = 1; k <= 6; ++k)
        fila.set(u("Clausula%1").arg(k), 30 + k);
    const qint64 id = insertar("Empresas", fila);

    auto& ficha = abrir(id);
    for (const Campo& c : campos)
        EXPECT_EQ(texto(caja(ficha, c)), c.guardado) << c.campo;
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(ClausulasElegidas[static_cast<std::size_t>(k)], 31 + k) << k;
    ficha.cmdImprimir->click();
    EXPECT_EQ(fakePrinter().page().mid(5),
              hoja(campos,
                   {"Nombre de la empresa :", "Número de la empresa :", "N.I.F. :", "Actividad. :", "Cuenta. :",
                    "Dirección :", "Localidad :", "Código Postal :", "Provincia :", "Teléfono :", "Fax :",
                    "Correo Electrónico :", "Observaciones :"},
                   34, &Campo::guardado));

    for (const Campo& c : campos)
        poner(caja(ficha, c), c.tecleado);
    msg().answer(Answer::Yes); // the number is new: save?
    ficha.cmdSave->click();
    const auto guardada = db.first(u("SELECT * FROM Empresas WHERE IdEmpresa = ?"), {id});
    ASSERT_TRUE(guardada);
    for (const Campo& c : campos)
        EXPECT_EQ(guardada->text(u(c.campo)), c.tecleado) << c.campo;
    for (int k = 1; k <= 6; ++k)
        EXPECT_EQ(guardada->value(u("Clausula%1").arg(k)).toInt(), 30 + k) << k;

    // The company list shows its name and its number in their columns.
    auto* lista = Forms::loaded<frmEmpresas>();
    ASSERT_NE(lista, nullptr);
    EXPECT_EQ(testing_support::textos(lista->dbgEmpresas, 0), QStringList{QString::number(id)});
    EXPECT_EQ(testing_support::textos(lista->dbgEmpresas, 1), QStringList{x('a', 30)});
    EXPECT_EQ(testing_support::textos(lista->dbgEmpresas, 2), QStringList{u("56789")});
}

TEST_F(EmpresasTest, EveryWorkerFieldAndFlagIsShownPrintedAndSavedInItsOwnPlace)
{
    // Fields without a typed value are shown only: saving leaves them as stored.
    const std::vector<Campo> campos = {
        {"NombreTrabajador", "txtNombreTrabajador", "Nombre del trabajador :", x('A', 30), x('A', 30)},
        {"NIF14", "txtDNI", "N.I.F. :", u("12345678Z1234X"), u("X7654321Z4321Y")},
        {"FechaNacimiento", "txtFechaNac", "Fecha de Nacimiento :", u("15/03/1980"), u("16/04/1981")},
        {"NumSS", "txtNumSS", "Nº Afiliación a la S.S. :", u("08/12345678/90"), u("25/87654321/09")},
        {"NivelFormativo", "txtNivelFormativo", "Nivel Formativo :", x('F', 30), x('f', 30)},
        {"Nacionalidad", "txtNacionalidad", "Nacionalidad :", x('N', 30), x('n', 30)},
        {"Municipio", "txtMunicipio", "Municipio :", x('M', 30), x('m', 30)},
        {"Pais", "txtPais", "Pais :", x('P', 30), x('p', 30)},
        {"Observaciones", "txtObservacionesTrabajador", "Observaciones :", x('O', 30), x('o', 30)},
        {"CódPostal", "txtCodPostalTrabaj", nullptr, u("25001"), u("08002")},
        {"NúmeroTrabajador", "txtNumeroTrabajador", "Número del trabajador :", u("00007"), u("00007")},
        {"FechaVencimiento", "mskVencimiento", nullptr, u("31/12/2027"), u("30/11/2028")},
        {"Contrato", "txtContrato", nullptr, u("401 - Obra"), {}},
        {"TipoContrato", "txtTipoContrato", nullptr, u("TEMPORAL"), {}},
        {"FechaContrato", "mskFechaContrato", nullptr, u("01/02/2026"), {}},
        {"FechaInicioProrroga", "mskInicioProrroga", nullptr, u("03/04/2026"), {}},
        {"Duracion", "txtMesesProrroga", nullptr, u("6 Meses  "), {}},
    };
    // As stored: a date day first is stored the current way, the number as a number.
    const auto enLaBase = [](const QString& valor) {
        const QDate fecha = QDate::fromString(valor, u("dd/MM/yyyy"));
        return fecha.isValid() ? fecha.toString(Qt::ISODate) : valor == u("00007") ? u("7") : valor;
    };
    // The flags, each with a check box of its own; in round r a flag is "Si"
    // when bit r of its place (from 1) is set, so no two flags go alike
    // through the three rounds.
    const std::pair<const char*, const char*> marcas[] = {{"EnviadoCliente", "chkEnvCliente"},
                                                          {"RecibidoCliente", "chkRecCliente"},
                                                          {"EnviadoInem", "chkEnvINEM"},
                                                          {"RecogidoInem", "chkRecINEM"},
                                                          {"ReenviadoCliente", "chkReeCliente"}};
    const auto marcada = [](int ronda, int i) { return ((i + 1) >> ronda & 1) != 0; };

    const qint64 idEmpresa = empresa(u("00001"), u("Alfa"));
    platform::Row fila;
    fila.set(u("IdEmpresa"), QString::number(idEmpresa));
    for (const Campo& c : campos)
        fila.set(u(c.campo), enLaBase(c.guardado));
    for (int i = 0; i < 5; ++i)
        fila.set(u(marcas[i].first), marcada(0, i) ? u("No") : u("Si"));
    const qint64 id = insertar("Trabajadores", fila);

    auto& ficha = abrir(idEmpresa);
    ficha.SSTab1->setCurrentIndex(1);
    EXPECT_EQ(testing_support::textos(ficha.dbgTrabajadores, 0), QStringList{QString::number(id)});
    EXPECT_EQ(testing_support::textos(ficha.dbgTrabajadores, 1), QStringList{x('A', 30)});
    EXPECT_EQ(testing_support::textos(ficha.dbgTrabajadores, 2), QStringList{u("00007")});
    // Opens the worker; its flags as in round `ronda`, or the opposite.
    const auto abrirTrabajador = [&](int ronda, bool opuestas = false) {
        testing_support::pulsarFila(ficha.dbgTrabajadores, 0);
        ficha.cmdEditar->click();
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(ficha.findChild<QCheckBox*>(u(marcas[i].second))->isChecked(), marcada(ronda, i) != opuestas)
                << marcas[i].second << " in round " << ronda;
    };
    abrirTrabajador(0, true);
    for (const Campo& c : campos)
        EXPECT_EQ(texto(caja(ficha, c)), c.guardado) << c.campo;
    ficha.cmdImprimir->click();
    EXPECT_EQ(fakePrinter().page().mid(5),
              hoja(campos,
                   {"Nombre del trabajador :", "Número del trabajador :", "N.I.F. :", "Nº Afiliación a la S.S. :",
                    "Fecha de Nacimiento :", "Municipio :", "Nacionalidad :", "Pais :", "Nivel Formativo :",
                    "Observaciones :"},
                   37, &Campo::guardado));

    for (const Campo& c : campos) {
        if (!c.tecleado.isEmpty())
            poner(caja(ficha, c), c.tecleado);
    }
    for (int ronda = 0; ronda < 3; ++ronda) {
        for (int i = 0; i < 5; ++i)
            ficha.findChild<QCheckBox*>(u(marcas[i].second))->setChecked(marcada(ronda, i));
        ficha.cmdGrabar->click();
        const auto guardado = db.first(u("SELECT * FROM Trabajadores WHERE IdTrabajador = ?"), {id});
        ASSERT_TRUE(guardado);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(guardado->text(u(marcas[i].first)), marcada(ronda, i) ? u("Si") : u("No"))
                << marcas[i].first << " in round " << ronda;
        if (ronda == 0) {
            for (const Campo& c : campos)
                EXPECT_EQ(guardado->text(u(c.campo)), enLaBase(c.tecleado.isEmpty() ? c.guardado : c.tecleado))
                    << c.campo;
            EXPECT_EQ(guardado->text(u("IdEmpresa")) + guardado->text(u("NumEmpresa")) + guardado->text(u("Empresa")),
                      QString::number(idEmpresa) + u("00001Alfa"));
        }
        abrirTrabajador(ronda);
    }
    EXPECT_TRUE(msg().shown().empty()) << "the worker of its own number and name is saved without a question";
}
