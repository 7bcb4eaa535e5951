// The marks grid of contract production: building it for the chosen model,
// prefilling it from the company and the worker, editing it from the
// keyboard, the extension's duration and end date, and the import of the
// payroll server's record.

#include "production/frmEleccionContrato.h"

#include "common/Module1.h"
#include "companies/frmEmpresa.h"
#include "exchange/ContratoImportado.h"
#include "platform/Characters.h"
#include "platform/Controls.h"
#include "platform/Database.h"
#include "platform/Files.h"
#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "platform/MaskEdBox.h"
#include "platform/MessageBoxes.h"
#include "platform/Paths.h"
#include "platform/TextBox.h"
#include "production/ContratoImportado.h"

#include <QApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScopedValueRollback>

using platform::MsgBox;

namespace {

constexpr auto kProrroga = "PRORROGA";
constexpr int kColCodigo = 0;
constexpr int kColDescripcion = 1;
constexpr int kColValor = 2;
constexpr int kColVeces = 3;

} // namespace

void frmEleccionContrato::DatosEmpresaTrabajador()
{
    const auto* ficha = platform::Forms::loaded<frmEmpresa>();
    if (!ficha)
        return;
    // A masked box left empty gives no value.
    const auto conMascara = [](const platform::MaskEdBox* caja) {
        return caja->Text() == caja->emptyText() ? QString() : caja->Text();
    };
    Empresa.Nombre = ficha->txtNombreEmpresa->text();
    Empresa.Numero = ficha->txtNumEmpresa->text();
    Empresa.NIF = ficha->mskCuenta->text();
    Empresa.Direccion = ficha->txtDireccion->text();
    Empresa.Localidad = ficha->txtLocalidad->text();
    Empresa.Provincia = ficha->txtPoblacion->text();
    Empresa.Pais = ficha->txtPaisEmpresa->text();
    Empresa.CodPostal = ficha->txtCp->text();
    Empresa.Telefono = ficha->txtTelef->text();
    Empresa.Fax = ficha->txtFax->text();
    Empresa.Actividad = ficha->txtActividad->text();
    Empresa.Cuenta = conMascara(ficha->txtNumISS);

    Trabajador.Nombre = ficha->txtNombreTrabajador->text();
    Trabajador.Numero = ficha->txtNumeroTrabajador->text();
    Trabajador.NIF = ficha->txtDNI->text();
    Trabajador.CodPostal = ficha->txtCodPostalTrabaj->text();
    Trabajador.Municipio = ficha->txtMunicipio->text();
    Trabajador.Pais = ficha->txtPais->text();
    Trabajador.Nacionalidad = ficha->txtNacionalidad->text();
    Trabajador.FechaNacimiento = conMascara(ficha->txtFechaNac);
    Trabajador.NumSS = conMascara(ficha->txtNumSS);
    Trabajador.NivelFormativo = ficha->txtNivelFormativo->text();

    if (const auto empresa = EmpresaDeNumero(Empresa.Numero))
        CopiarClausulasDeEmpresa(*empresa);
}

void frmEleccionContrato::LimpiarDatosEmpresa()
{
    Empresa = {};
}

void frmEleccionContrato::LimpiarDatosTrabajador()
{
    Trabajador = {};
    VencimientoContrato.clear();
}

void frmEleccionContrato::SituarCelda(int row, int col)
{
    QScopedValueRollback moviendo(MoviendoCelda, true);
    mshMarcas->setRow(row);
    mshMarcas->setCol(col);
}

void frmEleccionContrato::VerMarcasContrato()
{
    QScopedValueRollback moviendo(MoviendoCelda, true);
    platform::FlexGrid& g = *mshMarcas;
    static const int anchos[] = {600, 4750, 4750, 300};
    static const char* const cabeceras[] = {"Marca", "Definición Marca.", "Valor Marca.", "V"};
    g.setCols(4);
    for (int c = 0; c < 4; ++c) {
        g.setColWidth(c, anchos[c]);
        g.setTextMatrix(0, c, QString::fromUtf8(cabeceras[c]));
    }
    g.setRow(0);
    for (int c : {kColCodigo, kColDescripcion}) {
        g.setCol(c);
        g.setCellFontBold(true);
        g.setCellAlignment(1);
    }

    if (OrigenDatos != 1) {
        LimpiarDatosEmpresa();
        LimpiarDatosTrabajador();
    }

    Proteger([&] { LlenarMarcas(); });
    g.setRow(1);
    g.setCol(kColValor);
}

// The rows of the chosen model's marks, with their fixed values and the
// company's and worker's values.
void frmEleccionContrato::LlenarMarcas()
{
    platform::FlexGrid& g = *mshMarcas;
    auto db = AbrirBaseDatos();
    QHash<QString, QString> fijos;
    for (const auto& marca : db.select(QStringLiteral(
             "SELECT \"CódigoMarca\", \"ValoresFijos\" FROM \"Marcas\" ORDER BY \"IdMarca\""))) {
        const QString codigo = marca.text(QStringLiteral("CódigoMarca"));
        if (!fijos.contains(codigo))
            fijos.insert(codigo, marca.text(QStringLiteral("ValoresFijos")));
    }
    const QHash<QString, QString> previos = {
        {QStringLiteral("0002"), Empresa.Nombre},
        {QStringLiteral("0003"), Empresa.NIF},
        {QStringLiteral("0005"), Empresa.Direccion},
        {QStringLiteral("0010"), Empresa.Localidad},
        {QStringLiteral("0011"), Empresa.CodPostal},
        {QStringLiteral("0018"), Empresa.Actividad},
        {QStringLiteral("0038"), Empresa.Actividad},
        {QStringLiteral("0058"), Empresa.Cuenta.mid(0, 2)},
        {QStringLiteral("0059"), Empresa.Cuenta.mid(3, 7)},
        {QStringLiteral("0060"), Empresa.Cuenta.mid(11, 2)},
        {QStringLiteral("0076"), VencimientoContrato},
        {QStringLiteral("0102"), Trabajador.Nombre},
        {QStringLiteral("0105"), Trabajador.Municipio},
        {QStringLiteral("0106"), Trabajador.CodPostal},
        {QStringLiteral("0111"), Trabajador.NumSS},
        {QStringLiteral("0115"), Trabajador.NIF},
        {QStringLiteral("0116"), Trabajador.FechaNacimiento},
        {QStringLiteral("0136"), Trabajador.NivelFormativo},
        {QStringLiteral("0380"), Trabajador.Nacionalidad},
        {QStringLiteral("0460"), Empresa.Pais},
        {QStringLiteral("0462"), Trabajador.Pais},
    };
    const QPalette paleta = QApplication::palette();

    // One row per mark of the model; a mark without a description has
    // nothing to show and no code for the document, so it gets no row.
    int k = 0;
    for (const auto& marca : db.select(QStringLiteral("SELECT * FROM \"MarcasCont\" WHERE \"IdModelo\" = ? "
                                                      "ORDER BY \"CódigoMarca\", \"IdMarca\""),
                                       {IdModeloElegido})) {
        const QString descripcion = marca.text(QStringLiteral("DescripciónDato"));
        if (descripcion.isEmpty())
            continue;
        ++k;
        g.setRows(k + 1);
        const QString codigo = marca.text(QStringLiteral("CódigoMarca"));
        g.setTextMatrix(k, kColCodigo, codigo);
        g.setTextMatrix(k, kColDescripcion, descripcion);
        const QString veces = marca.text(QStringLiteral("Veces"));
        if (!veces.isEmpty())
            g.setTextMatrix(k, kColVeces, veces);
        const QString fijo = fijos.value(codigo);
        if (!fijo.isEmpty())
            g.setTextMatrix(k, kColValor, fijo);

        g.setRow(k);
        g.setCol(kColCodigo);
        g.setCellAlignment(1);
        g.setCol(kColDescripcion);
        g.setCellFontBold(true);
        g.setCellBackColor(paleta.color(QPalette::ToolTipBase));
        g.setCellForeColor(paleta.color(QPalette::Highlight));

        const QString previo = previos.value(codigo);
        if (!previo.isEmpty()) {
            g.setTextMatrix(k, kColValor, previo);
            if (codigo == QLatin1String("0010"))
                txtLugar->setText(previo);
        }
        g.setCol(kColValor);
        g.setCellAlignment(0);
    }
}

// ---------------------------------------------------------------------------
// Editing: what is typed goes into the value column of the current row.

void frmEleccionContrato::mshMarcas_GotFocus()
{
    if (!MoviendoCelda)
        SituarCelda(mshMarcas->Row(), kColValor);
}

// A typed value takes plain characters and, of the others, only Ç, Ñ, ç and
// ñ: an accented vowel typed is left out. (127 is the Delete key's, whose
// release empties the cell.)
void frmEleccionContrato::mshMarcas_KeyPress(int& KeyAscii)
{
    const bool llana = KeyAscii >= 32 && KeyAscii < 127;
    const bool cedillaOEnie = KeyAscii == 199 || KeyAscii == 209 || KeyAscii == 231 || KeyAscii == 241;
    if (!llana && !cedillaOEnie)
        return;
    mshMarcas->setText(mshMarcas->Text() + platform::fromCp1252(QByteArray(1, static_cast<char>(KeyAscii))));
}

void frmEleccionContrato::mshMarcas_KeyUp(int KeyCode, int)
{
    if (KeyCode == 46) {
        mshMarcas->setText(QString());
    } else if (KeyCode == 8) {
        // The last character goes whole, an emoji or a letter with its accent
        // too.
        QString texto = mshMarcas->Text();
        texto.truncate(platform::characterStart(texto, texto.size() - 1));
        mshMarcas->setText(texto);
    }
}

void frmEleccionContrato::mshMarcas_EnterCell()
{
    if (MoviendoCelda)
        return;
    const int fila = mshMarcas->Row();
    const QString codigo = mshMarcas->TextMatrix(fila, kColCodigo);
    if (txtTipoContrato->text() == QLatin1String(kProrroga)) {
        if (codigo == QLatin1String("0222")) {
            FilaDuracion = fila;
            fraDuracionProrroga->show();
            txtMesesProrroga->setFocus();
        } else if (codigo == QLatin1String("0223")) {
            fraAyuda->show();
            lblAyuda1->setText(QStringLiteral("Recuerde de Introducir la fecha como dd/mm/aaaa"));
        }
    }
    SituarCelda(fila, kColValor);
}

// Leaving the extension's start date works out its end: the start plus the
// months and days of the duration, less one day, in the row that follows.
void frmEleccionContrato::mshMarcas_LeaveCell()
{
    if (MoviendoCelda)
        return;
    const int fila = mshMarcas->Row();
    if (mshMarcas->TextMatrix(fila, kColCodigo) != QLatin1String("0223")
        || txtTipoContrato->text() != QLatin1String(kProrroga))
        return;
    const QString inicio = mshMarcas->TextMatrix(fila, kColValor);
    if (inicio.size() == 10) {
        const QDate fecha = QDate::fromString(inicio, QStringLiteral("dd/MM/yyyy"));
        if (!fecha.isValid()) {
            MsgBox(QStringLiteral("La fecha de inicio de la prórroga, %1, no es una fecha válida: no podremos "
                                  "calcular el vencimiento.")
                       .arg(inicio),
                   platform::style::Critical);
        } else if (fila + 1 < mshMarcas->Rows()) {
            mshMarcas->setTextMatrix(
                fila + 1, kColValor,
                platform::formatDate(fecha.addMonths(MesesProrroga).addDays(DiasProrroga - 1)));
        }
    } else {
        lblAyuda1->setText(QStringLiteral("Si no introduce la fecha de inicio no podremos calcular el vencimiento."));
        lblAyuda1->repaint();
        Esperar(2);
    }
    fraAyuda->hide();
}

void frmEleccionContrato::cmdAceptarDuracion_Click()
{
    // A box holds a whole number or nothing; anything else is refused with
    // its message and the box is emptied for another try.
    const auto leer = [](QLineEdit* caja, const QString& mensaje, const QString& unidad, int& valor,
                         QString& parte) {
        const QString texto = caja->text().trimmed();
        if (texto.isEmpty()) {
            valor = 0;
            parte.clear();
            return true;
        }
        bool numerico = false;
        const short numero = texto.toShort(&numerico);
        if (!numerico) {
            MsgBox(mensaje, platform::style::Critical);
            caja->clear();
            caja->setFocus();
            return false;
        }
        valor = numero;
        parte = QString::number(numero) + unidad;
        return true;
    };
    QString meses;
    QString dias;
    if (!leer(txtMesesProrroga, QStringLiteral("Los meses deben de ser un valor númerico."),
              QStringLiteral(" Meses  "), MesesProrroga, meses))
        return;
    if (!leer(txtDiasProrroga, QStringLiteral("Los días deben de ser un valor númerico."), QStringLiteral(" Días"),
              DiasProrroga, dias))
        return;
    mshMarcas->setTextMatrix(FilaDuracion, kColValor, meses + dias);
    CerrarDuracion();
}

void frmEleccionContrato::cmdCancelarProrroga_Click()
{
    CerrarDuracion();
}

// The duration's frame goes, and the keyboard goes on in the grid rather
// than on whichever button comes next.
void frmEleccionContrato::CerrarDuracion()
{
    fraDuracionProrroga->hide();
    mshMarcas->setFocus();
}

// ---------------------------------------------------------------------------
// The payroll server's record.

std::optional<int> frmEleccionContrato::BuscarInicioMarca(const QString& codigo)
{
    try {
        const auto disposicion = exchange::Disposicion::leer(AbrirBaseDatos());
        if (const auto* marca = disposicion.buscar(codigo))
            return marca->inicio;
    } catch (const std::exception&) {
        // A catalogue that cannot be read holds no mark.
    }
    return std::nullopt;
}

void frmEleccionContrato::cmdImportar_Click()
{
    if (ContratoElegido.isEmpty()) {
        MsgBox(QStringLiteral("Debe seleccionar un contrato para poder importar o modificar los datos."),
               platform::style::Critical);
        return;
    }
    platform::Hourglass reloj(*this);
    ImportarDatosUnix();
}

void frmEleccionContrato::ImportarDatosUnix()
{
    ProgressBar1->setValue(0);
    shaProgreso->show();
    fraProgreso->setTitle(QStringLiteral("Importando datos : "));
    fraProgreso->show();
    Esperar(0.25);
    const auto terminar = [this] {
        shaProgreso->hide();
        fraProgreso->hide();
    };

    const auto ruta = contrato_importado::RutaRegistro(txtNumEmpresa->text(), txtNumTrabajador->text());
    const QString fichero = ruta ? platform::hostPath(*ruta) : QString();
    if (!ruta || !QFileInfo(fichero).isFile()) {
        MsgBox(QStringLiteral("No ha importado ningún contrato de ese trabajador."), platform::style::Critical);
        terminar();
        return;
    }
    try {
        // Printer codes removed, as the import reads it; of a file longer
        // than a record (the import refuses it) only what a record can hold.
        const auto disposicion = exchange::Disposicion::leer(AbrirBaseDatos());
        const QString registro =
            exchange::LeerRegistro(fichero, exchange::LongitudMaxima(disposicion)).texto();
        const double paso = 699.0 / mshMarcas->Rows();
        double progreso = 0;
        for (int i = 1; i < mshMarcas->Rows(); ++i) {
            const QString codigo = mshMarcas->TextMatrix(i, kColCodigo);
            if (const auto* marca = disposicion.buscar(codigo)) {
                if (const auto valor =
                        contrato_importado::Valor(registro, *marca, mshMarcas->TextMatrix(i, kColDescripcion)))
                    mshMarcas->setTextMatrix(i, kColValor, *valor);
            }
            if (progreso < 674) {
                progreso += paso;
                ProgressBar1->setValue(static_cast<int>(progreso));
            }
        }
    } catch (const std::exception& error) {
        terminar();
        MsgBox(QStringLiteral("La importación de los datos del contrato no se ha completado.\n%1")
                   .arg(QString::fromStdString(error.what())),
               platform::style::Critical);
        return;
    }
    terminar();
}
