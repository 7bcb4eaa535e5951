// The company and worker records of the record window: loading, saving, and the questions when a number is taken.
#include "companies/frmEmpresa.h"

#include "common/Module1.h"
#include "common/frmMensaje.h"
#include "companies/Comprobaciones.h"
#include "companies/Empresas.h"
#include "companies/frmEmpresaCajas.h"
#include "companies/frmEmpresas.h"
#include "platform/Controls.h"
#include "platform/DBGrid.h"
#include "platform/Database.h"
#include "platform/Forms.h"
#include "platform/MaskEdBox.h"
#include "platform/MessageBoxes.h"
#include "platform/TextBox.h"
#include "production/frmEleccionContrato.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>

using cajas_empresa::ponerTexto;
using cajas_empresa::textoDe;
using cajas_empresa::vacia;
using cajas_empresa::vaciar;
using platform::Answer;
using platform::Database;
using platform::Forms;
using platform::MaskEdBox;
using platform::MsgBox;
using platform::Row;
using platform::TextBox;

namespace {

// A field read into a box: dates as dd/mm/yyyy; nothing for Null or empty text.
std::optional<QString> valorDe(const Row& fila, const QString& campo, bool fecha = false)
{
    const QVariant valor = fila.value(campo);
    if (valor.isNull() || valor.toString().isEmpty())
        return std::nullopt;
    return fecha ? platform::dateText(valor) : valor.toString();
}

// Company fields, in the order they are written and shown; cajasEmpresa()
// gives their boxes in the same order.
const char* const kCamposEmpresa[] = {
    "NombreEmpresa", "NúmeroEmpresa", "NIF",  "Dirección",   "Localidad", "Actividad",     "Cuenta",
    "Provincia",     "Pais",          "CódPostal", "NúmTeléfono", "NúmFax", "Observaciones", "DirCorreoElectrónico",
};

} // namespace

// The company boxes in the order of the company's fields.
static std::array<QWidget*, 14> cajasEmpresa(const frmEmpresa& f)
{
    return {f.txtNombreEmpresa, f.txtNumEmpresa, f.mskCuenta, f.txtDireccion, f.txtLocalidad,
            f.txtActividad,     f.txtNumISS,     f.txtPoblacion, f.txtPaisEmpresa, f.txtCp,
            f.txtTelef,         f.txtFax,        f.txtObservacionesEmpresa, f.txtemail};
}

void frmEmpresa::Cargar()
{
    clausulasPendientes_.clear();
    IdEmpresaAbierta = 0;
    bool existente = false;
    bool numero = false;
    const qint64 id = IdEmpresaActual.toLongLong(&numero);
    if (numero) {
        platform::runHandler([&] {
            if (const auto empresa = empresas::Leer(AbrirBaseDatos(), id)) {
                IdEmpresaAbierta = id;
                MostrarEmpresa(*empresa);
                existente = true;
            }
        });
    }
    if (existente) {
        txtNumEmpresa->setBackColor(platform::toolTipBackColor());
    } else {
        BloquearNumero(txtNumEmpresa, false);
    }
    platform::runHandler([this] { MarcarClausulasEmpresa(); });
    VolviendoAEmpresa = true;
    IrAPestana(0);
    BotonesEmpresa();
    VolviendoAEmpresa = false;
    txtNombreEmpresa->setFocus();
}

std::optional<Row> frmEmpresa::EmpresaGuardada() const
{
    if (IdEmpresaAbierta == 0)
        return std::nullopt;
    return empresas::Leer(AbrirBaseDatos(), IdEmpresaAbierta);
}

void frmEmpresa::MostrarEmpresa(const Row& empresa)
{
    const auto cajas = cajasEmpresa(*this);
    for (std::size_t i = 0; i < cajas.size(); ++i) {
        if (const auto valor = valorDe(empresa, QString::fromUtf8(kCamposEmpresa[i])))
            ponerTexto(cajas[i], *valor);
    }
    for (int i = 0; i <= 5; ++i) {
        const QVariant valor = empresa.value(QStringLiteral("Clausula%1").arg(i + 1));
        if (!valor.isNull())
            ClausulasElegidas[static_cast<std::size_t>(i)] = valor.toInt();
    }
}

void frmEmpresa::LimpiarEmpresa()
{
    for (QWidget* caja : cajasEmpresa(*this))
        vaciar(caja);
}

// The company's fields from its boxes: a box left empty leaves its field as
// stored. The default clauses go back as they were loaded.
Row frmEmpresa::GrabarEmpresa() const
{
    Row fila;
    const auto cajas = cajasEmpresa(*this);
    for (std::size_t i = 0; i < cajas.size(); ++i) {
        if (!vacia(cajas[i]))
            fila.set(QString::fromUtf8(kCamposEmpresa[i]), textoDe(cajas[i]));
    }
    for (int i = 0; i <= 5; ++i)
        fila.set(QStringLiteral("Clausula%1").arg(i + 1), ClausulasElegidas[static_cast<std::size_t>(i)]);
    return fila;
}

qint64 frmEmpresa::GuardarEmpresaEn(Database& db, std::optional<qint64> id)
{
    const Row fila = GrabarEmpresa();
    if (!id)
        return db.insert(QStringLiteral("Empresas"), fila);
    db.update(QStringLiteral("Empresas"), QStringLiteral("IdEmpresa"), *id, fila);
    return *id;
}

bool frmEmpresa::GuardarEmpresaPorNumero()
{
    auto db = AbrirBaseDatos();
    const auto encontrada = empresas::BuscarPorNumero(db, txtNumEmpresa->text().trimmed());
    std::optional<qint64> destino;
    if (IdEmpresaAbierta != 0)
        destino = IdEmpresaAbierta;
    std::optional<qint64> liberada;
    if (encontrada) {
        const qint64 idEncontrada = encontrada->value(QStringLiteral("IdEmpresa")).toLongLong();
        const QString nombre = encontrada->text(QStringLiteral("NombreEmpresa"));
        const bool otroNombre
            = !encontrada->isNull(QStringLiteral("NombreEmpresa")) && nombre != txtNombreEmpresa->text();
        if (idEncontrada == IdEmpresaAbierta) {
            // The open company itself: saved in place.
        } else if (otroNombre) {
            const QString pregunta = QStringLiteral("El número de empresa, ") + txtNumEmpresa->text()
                + QStringLiteral(" corresponde a la empresa : ") + nombre
                + QStringLiteral(". ¿Desea eliminar dicha empresa y dar de alta una nueva empresa con estos datos?");
            if (MsgBox(pregunta, 292, QStringLiteral("Conflicto.")) != Answer::Yes)
                return false;
            liberada = idEncontrada;
        } else {
            // The same company stored under that number takes the values.
            destino = idEncontrada;
        }
    } else if (MsgBox(QStringLiteral("¿Desea guardar los datos de la empresa?"), 36, QStringLiteral("Confirmación."))
               != Answer::Yes) {
        return false;
    }
    {
        platform::Hourglass reloj(*this);
        platform::Transaction transaccion(db);
        if (liberada)
            db.update(QStringLiteral("Empresas"), QStringLiteral("IdEmpresa"), *liberada,
                      Row{{QStringLiteral("NúmeroEmpresa"), QStringLiteral("")}});
        const qint64 id = GuardarEmpresaEn(db, destino);
        for (const qint64 clausula : std::as_const(clausulasPendientes_))
            empresas::Enlazar(db, id, clausula);
        transaccion.commit();
        IdEmpresaAbierta = id;
        clausulasPendientes_.clear();
    }
    if (!GrabandoDesdePestana)
        MostrarMensaje(QStringLiteral("Datos de la empresa grabados."));
    MarcarClausulasEmpresa();
    return true;
}

// Writes the worker's boxes into a worker of the open company (a new one
// when `id` is empty) and goes back to the list. A worker stored in the place
// of another drops that one's contract and extension.
void frmEmpresa::GrabarTrabajador(Database& db, std::optional<qint64> id, bool nuevoEnSuLugar)
{
    lblMensajeTrabajadores->hide();
    {
        platform::Hourglass reloj(*this);
        Row fila;
        fila.set(QStringLiteral("NombreTrabajador"), txtNombreTrabajador->text());
        fila.set(QStringLiteral("IdEmpresa"), QString::number(IdEmpresaAbierta));
        fila.set(QStringLiteral("Empresa"), txtNombreEmpresa->text());
        fila.set(QStringLiteral("NumEmpresa"), txtNumEmpresa->text());
        if (!txtDNI->text().isEmpty())
            fila.set(QStringLiteral("NIF14"), txtDNI->text());
        if (nuevoEnSuLugar) {
            for (const char* campo : {"FechaContrato", "TipoContrato", "Contrato", "IdContrato", "FechaVencimiento",
                                      "FechaInicioProrroga", "Duracion"})
                fila.set(QString::fromUtf8(campo), QVariant());
        }
        if (!vacia(txtFechaNac))
            fila.set(QStringLiteral("FechaNacimiento"), platform::dateValue(platform::toDate(txtFechaNac->Text())));
        if (!vacia(txtNumSS))
            fila.set(QStringLiteral("NumSS"), txtNumSS->Text());
        if (!vacia(mskVencimiento))
            fila.set(QStringLiteral("FechaVencimiento"), platform::dateValue(platform::toDate(mskVencimiento->Text())));
        fila.set(QStringLiteral("NúmeroTrabajador"), txtNumeroTrabajador->text().trimmed().toLongLong());
        fila.set(QStringLiteral("NivelFormativo"), txtNivelFormativo->text());
        fila.set(QStringLiteral("Nacionalidad"), txtNacionalidad->text());
        fila.set(QStringLiteral("Municipio"), txtMunicipio->text());
        fila.set(QStringLiteral("Pais"), txtPais->text());
        fila.set(QStringLiteral("Observaciones"), txtObservacionesTrabajador->toPlainText());
        fila.set(QStringLiteral("CódPostal"), txtCodPostalTrabaj->text());
        const auto marca = [](const QCheckBox* casilla) {
            return casilla->checkState() == Qt::Checked ? QStringLiteral("Si") : QStringLiteral("No");
        };
        fila.set(QStringLiteral("EnviadoCliente"), marca(chkEnvCliente));
        fila.set(QStringLiteral("RecibidoCliente"), marca(chkRecCliente));
        fila.set(QStringLiteral("EnviadoInem"), marca(chkEnvINEM));
        fila.set(QStringLiteral("RecogidoInem"), marca(chkRecINEM));
        fila.set(QStringLiteral("ReenviadoCliente"), marca(chkReeCliente));
        if (id)
            db.update(QStringLiteral("Trabajadores"), QStringLiteral("IdTrabajador"), *id, fila);
        else
            id = db.insert(QStringLiteral("Trabajadores"), fila);
        IdTrabajadorGrabado = *id;
    }
    fraTrabajadores->show();
    fraDatosTrabajador->hide();
    if (!GrabandoDesdePestana && !GrabandoParaContrato)
        MostrarMensaje(QStringLiteral("Datos del Trabajador grabados."));
    cmdGrabar->setEnabled(false);
    cmdNuevo->setEnabled(true);
    cmdCancelar->setEnabled(false);
    cmdBorrar->setEnabled(true);
    cmdContratoManual->setEnabled(true);
    cmdEditar->setEnabled(true);
    LeerTrabajadores();
    dbgTrabajadores->show();
    dbgTrabajadores->setFocus(); // not the next button, where Enter would act
}

void frmEmpresa::LimpiarTrabajador()
{
    for (TextBox* caja : {txtNombreTrabajador, txtNumeroTrabajador, txtDNI})
        caja->setText(QString());
    vaciar(txtFechaNac);
    vaciar(txtNumSS);
    for (TextBox* caja : {txtNivelFormativo, txtNacionalidad, txtMunicipio, txtPais, txtCodPostalTrabaj})
        caja->setText(QString());
    txtObservacionesTrabajador->clear();
    for (QCheckBox* casilla : {chkEnvCliente, chkRecCliente, chkEnvINEM, chkRecINEM, chkReeCliente})
        casilla->setCheckState(Qt::Unchecked);
}

// No contract or extension of a worker shown earlier stays on show, or is
// saved into another worker.
void frmEmpresa::LimpiarContrato()
{
    txtContrato->setText(QString());
    txtTipoContrato->setText(QString());
    txtMesesProrroga->setText(QString());
    for (MaskEdBox* fecha : {mskFechaContrato, mskVencimiento, mskInicioProrroga})
        vaciar(fecha);
    for (QWidget* w : std::initializer_list<QWidget*>{shaContrato, lblContrato, fraDatosContrato, fraProrroga})
        w->hide();
}

void frmEmpresa::LeerTrabajadores(const QString& orden)
{
    dbgTrabajadores->Refresh(AbrirBaseDatos(),
                             QStringLiteral(R"(SELECT * FROM "Trabajadores" WHERE "IdEmpresa" = ?)") + orden,
                             {QString::number(IdEmpresaAbierta)});
}

void frmEmpresa::RefrescarTrabajadores()
{
    LeerTrabajadores();
    const bool hay = dbgTrabajadores->RecordCount() != 0;
    cmdNuevo->setEnabled(true);
    cmdEditar->setEnabled(hay);
    cmdBorrar->setEnabled(hay);
    cmdContratoManual->setEnabled(hay);
    cmdImprimir->setEnabled(true);
    cmdCancelar->setEnabled(false);
    cmdGrabar->setEnabled(false);
    cmdSave->setEnabled(false);
    cmdListado->setEnabled(false);
}

// ---------------------------------------------------------------------------
// Saves on changing tab, and the number conflicts

void frmEmpresa::EntrarEnTrabajadores()
{
    const auto volver = [this](const QString& mensaje, QWidget* foco) {
        VolviendoAEmpresa = true;
        IrAPestana(0);
        VolviendoAEmpresa = false;
        BotonesEmpresa();
        if (!mensaje.isEmpty())
            MsgBox(mensaje, platform::style::Information);
        foco->setFocus();
    };
    if (txtNombreEmpresa->text().isEmpty()) {
        volver(QStringLiteral("Para poder editar o crear una ficha de trabajador es necesario elegir una empresa."),
               txtNombreEmpresa);
        return;
    }
    if (txtNumEmpresa->text().isEmpty()) {
        volver(QStringLiteral("Debe introducir el Número de empresa.!"), txtNumEmpresa);
        return;
    }
    const bool guardada = GuardarEmpresaPorNumero();
    if (IdEmpresaAbierta == 0) {
        // A new company not stored has no workers to show.
        volver(QString(), txtNombreEmpresa);
        return;
    }
    if (!guardada) {
        // Changes declined: the boxes show the company as stored.
        if (const auto empresa = EmpresaGuardada()) {
            LimpiarEmpresa();
            MostrarEmpresa(*empresa);
        }
    }
    LeerTrabajadores();
    for (QPushButton* b : {cmdNuevo, cmdEditar, cmdBorrar, cmdImprimir, cmdCancelar, cmdGrabar, cmdContratoManual})
        b->show();
    cmdSave->hide();
    cmdListado->hide();
    const bool hay = dbgTrabajadores->RecordCount() != 0;
    dbgTrabajadores->setVisible(hay);
    if (hay) {
        lblMensajeTrabajadores->hide();
    } else {
        lblMensajeTrabajadores->setText(QStringLiteral("No hay trabajadres dados de alta en esta empresa."));
        lblMensajeTrabajadores->show();
    }
    cmdNuevo->setEnabled(true);
    cmdImprimir->setEnabled(true);
    cmdEditar->setEnabled(hay);
    cmdBorrar->setEnabled(hay);
    if (!hay)
        cmdContratoManual->setEnabled(false);
    cmdCancelar->setEnabled(false);
    cmdGrabar->setEnabled(false);
    cmdSave->setEnabled(false);
    cmdListado->setEnabled(false);
}

bool frmEmpresa::GuardarTrabajadorAlSalir()
{
    const auto quedarse = [this](const std::function<void()>& aviso) {
        VolviendoATrabajadores = true;
        IrAPestana(1);
        VolviendoATrabajadores = false;
        aviso();
        return false;
    };
    const bool sinNumero = txtNumeroTrabajador->text().isEmpty();
    if (sinNumero || txtDNI->text().isEmpty()) {
        const QString texto = sinNumero
            ? QStringLiteral("Sin Número de trabajador no podemos grabar los datos trabajador")
            : QStringLiteral("Sin el NIF no podemos grabar los datos del trabajador.");
        if (MsgBox(texto, 65, QStringLiteral("Operación no valida.")) == Answer::Ok)
            return quedarse([&] { (sinNumero ? txtNumeroTrabajador : txtDNI)->setFocus(); });
        DescartarTrabajador();
        return true;
    }
    if (!TrabajadorCorrecto(false))
        return quedarse([this] { TrabajadorCorrecto(true); });

    auto db = AbrirBaseDatos();
    const auto encontrado = TrabajadorConNumero(db);
    if (!encontrado) {
        GrabarTrabajador(db, std::nullopt, false);
    } else {
        const qint64 id = encontrado->value(QStringLiteral("IdTrabajador")).toLongLong();
        if (!MismoNombre(*encontrado)) {
            if (MsgBox(PreguntaConflictoTrabajador(*encontrado), 292, QStringLiteral("Conflicto.")) == Answer::Yes)
                GrabarTrabajador(db, id, true);
        } else {
            GrabarTrabajador(db, id, false);
        }
    }
    return true;
}

void frmEmpresa::DescartarTrabajador()
{
    fraTrabajadores->show();
    fraDatosTrabajador->hide();
    cmdGrabar->setEnabled(false);
    cmdCancelar->setEnabled(false);
    for (QPushButton* b : {cmdNuevo, cmdBorrar, cmdContratoManual, cmdEditar})
        b->setEnabled(true);
    LeerTrabajadores();
}

// The worker's number is a whole number and its dates exist. With `avisar`
// a refusal is told and the focus goes to the box.
bool frmEmpresa::TrabajadorCorrecto(bool avisar)
{
    const auto rechazo = [&](const QString& texto, QWidget* caja) {
        if (avisar) {
            MsgBox(texto, platform::style::Critical, QStringLiteral("Error"));
            caja->setFocus();
        }
        return false;
    };
    if (!comprobaciones::EsEntero(txtNumeroTrabajador->text().trimmed()))
        return rechazo(QStringLiteral("El Número de trabajador debe ser un número entero."), txtNumeroTrabajador);
    if (!vacia(txtFechaNac) && !platform::toDate(txtFechaNac->Text()).isValid())
        return rechazo(QStringLiteral("El valor introducido como Fecha de Nacimiento no es correcto."), txtFechaNac);
    if (!vacia(mskVencimiento) && !platform::toDate(mskVencimiento->Text()).isValid())
        return rechazo(
            QStringLiteral("El valor introducido como Fecha de Vencimiento no es correcto."), mskVencimiento);
    return true;
}

std::optional<Row> frmEmpresa::TrabajadorConNumero(const Database& db) const
{
    return db.first(
        QStringLiteral(
            R"(SELECT * FROM "Trabajadores" WHERE "NúmeroTrabajador" = ? AND "IdEmpresa" = ? ORDER BY "IdTrabajador")"),
        {txtNumeroTrabajador->text().trimmed().toLongLong(), QString::number(IdEmpresaAbierta)});
}

// A stored worker without a name counts as the same one.
bool frmEmpresa::MismoNombre(const Row& trabajador) const
{
    return trabajador.isNull(QStringLiteral("NombreTrabajador"))
        || trabajador.text(QStringLiteral("NombreTrabajador")) == txtNombreTrabajador->text();
}

QString frmEmpresa::PreguntaConflictoTrabajador(const Row& encontrado) const
{
    return QStringLiteral("El número de trabajador, ") + txtNumeroTrabajador->text()
        + QStringLiteral(" corresponde al Trabajador : ") + encontrado.text(QStringLiteral("NombreTrabajador"))
        + QStringLiteral(". ¿Desea eliminar dicho trabajador y dar de alta un nuevo trabajador con estos datos?");
}

// ---------------------------------------------------------------------------
// Buttons

void frmEmpresa::cmdSave_Click()
{
    if (txtNumEmpresa->text().isEmpty()) {
        MsgBox(QStringLiteral("No podemos grabar los datos sin número de empresa."), platform::style::Information);
        txtNumEmpresa->setFocus();
        return;
    }
    GrabandoDesdePestana = false;
    GuardarEmpresaPorNumero();
    auto& lista = Forms::show<frmEmpresas>();
    lista.VerEmpresas();
    lista.cmdEditar->setEnabled(true);
    Forms::unload(*this);
}

void frmEmpresa::cmdNuevo_Click()
{
    int ultimo = 0;
    {
        platform::Hourglass reloj(*this);
        fraDatosTrabajador->show();
        fraTrabajadores->hide();
        cmdNuevo->setEnabled(false);
        cmdBorrar->setEnabled(false);
        cmdEditar->setEnabled(false);
        cmdCancelar->setEnabled(true);
        cmdGrabar->setEnabled(true);
        LimpiarTrabajador();
        LimpiarContrato();
        BloquearNumero(txtNumeroTrabajador, true);
        const auto fila = AbrirBaseDatos().first(
            QStringLiteral(R"(SELECT MAX("NúmeroTrabajador") AS "Ultimo" FROM "Trabajadores" WHERE "IdEmpresa" = ?)"),
            {QString::number(IdEmpresaAbierta)});
        if (fila)
            ultimo = fila->value(QStringLiteral("Ultimo")).toInt();
    }
    const QString pregunta = ultimo > 0
        ? QStringLiteral("El ultimo número de trabajador de la empresa es el : %1 . ¿Desea que el número : %2 sea el "
                         "del nuevo trabajador?")
              .arg(ultimo)
              .arg(ultimo + 1)
        : QStringLiteral("No hay dado de alta ningún trabajador en la empresa. ¿Desea que el número 1 corresponda al "
                         "nuevo trabajador?");
    if (MsgBox(pregunta, platform::style::YesNo, QStringLiteral("Número Trabajador")) == Answer::Yes)
        txtNumeroTrabajador->setText(comprobaciones::ConCeros(QString::number(ultimo + 1)));
    else
        BloquearNumero(txtNumeroTrabajador, false);
    txtNombreTrabajador->setFocus();
}

void frmEmpresa::cmdEditar_Click()
{
    platform::Hourglass reloj(*this);
    LimpiarTrabajador();
    LimpiarContrato();
    fraDatosTrabajador->show();
    fraTrabajadores->hide();
    const QString id = dbgTrabajadores->Id();
    if (id.isEmpty()) {
        MsgBox(QStringLiteral("No ha seleccionado ningún trabajador a editar."), platform::style::Information);
        return;
    }
    const auto trabajador = empresas::LeerTrabajador(AbrirBaseDatos(), id.toLongLong());
    if (!trabajador)
        return;
    const auto poner = [&](const char* campo, QWidget* caja, bool fecha = false) {
        if (const auto valor = valorDe(*trabajador, QString::fromUtf8(campo), fecha))
            ponerTexto(caja, *valor);
    };
    poner("NombreTrabajador", txtNombreTrabajador);
    poner("NIF14", txtDNI);
    poner("FechaNacimiento", txtFechaNac, true);
    poner("NumSS", txtNumSS);
    poner("NivelFormativo", txtNivelFormativo);
    poner("Nacionalidad", txtNacionalidad);
    poner("Municipio", txtMunicipio);
    poner("Pais", txtPais);
    poner("Observaciones", txtObservacionesTrabajador);
    poner("CódPostal", txtCodPostalTrabaj);
    poner("NúmeroTrabajador", txtNumeroTrabajador);
    txtNumeroTrabajador->setText(comprobaciones::ConCeros(txtNumeroTrabajador->text()));
    if (const auto contrato = valorDe(*trabajador, QStringLiteral("Contrato"))) {
        for (QWidget* w : std::initializer_list<QWidget*>{shaContrato, lblContrato, fraDatosContrato})
            w->show();
        txtContrato->setText(*contrato);
    }
    if (const auto inicio = valorDe(*trabajador, QStringLiteral("FechaInicioProrroga"), true)) {
        fraProrroga->show();
        mskInicioProrroga->setText(*inicio);
        txtMesesProrroga->setText(valorDe(*trabajador, QStringLiteral("Duracion")).value_or(QString()));
    }
    poner("TipoContrato", txtTipoContrato);
    poner("FechaContrato", mskFechaContrato, true);
    poner("FechaVencimiento", mskVencimiento, true);
    const std::pair<const char*, QCheckBox*> marcas[] = {
        {"EnviadoCliente", chkEnvCliente}, {"RecibidoCliente", chkRecCliente}, {"EnviadoInem", chkEnvINEM},
        {"RecogidoInem", chkRecINEM},      {"ReenviadoCliente", chkReeCliente},
    };
    for (const auto& [campo, casilla] : marcas)
        casilla->setChecked(trabajador->text(QString::fromUtf8(campo)) == QLatin1String("Si"));
    cmdNuevo->setEnabled(false);
    cmdEditar->setEnabled(false);
    cmdBorrar->setEnabled(false);
    cmdCancelar->setEnabled(true);
    cmdGrabar->setEnabled(true);
    txtNombreTrabajador->setFocus();
}

void frmEmpresa::cmdGrabar_Click()
{
    GuardarTrabajador();
}

bool frmEmpresa::GuardarTrabajador()
{
    if (txtNumeroTrabajador->text().isEmpty()) {
        MsgBox(
            QStringLiteral("Sin Número de trabajador no podemos grabar el trabajador"), platform::style::Information);
        txtNumeroTrabajador->setFocus();
        return false;
    }
    if (txtDNI->text().isEmpty()) {
        MsgBox(
            QStringLiteral("Sin el NIF del trabajador no podemos grabar el trabajador"), platform::style::Information);
        txtDNI->setFocus();
        return false;
    }
    if (!TrabajadorCorrecto(true))
        return false;
    auto db = AbrirBaseDatos();
    const auto encontrado = TrabajadorConNumero(db);
    std::optional<qint64> id;
    bool enSuLugar = false;
    if (!encontrado) {
        if (MsgBox(QStringLiteral("¿Desea guardar los datos del trabajador?"), 36, QStringLiteral("Confirmación."))
            != Answer::Yes)
            return false;
    } else {
        id = encontrado->value(QStringLiteral("IdTrabajador")).toLongLong();
        if (!MismoNombre(*encontrado)) {
            if (MsgBox(PreguntaConflictoTrabajador(*encontrado), 292, QStringLiteral("Conflicto.")) != Answer::Yes)
                return false;
            enSuLugar = true;
        }
    }
    GrabandoDesdePestana = false;
    GrabarTrabajador(db, id, enSuLugar);
    return true;
}

void frmEmpresa::cmdBorrar_Click()
{
    const QString id = dbgTrabajadores->Id();
    if (id.isEmpty()) {
        MsgBox(QStringLiteral("No ha seleccionado ningún trabajador a borrar."), platform::style::Information);
    } else {
        auto db = AbrirBaseDatos();
        if (empresas::LeerTrabajador(db, id.toLongLong())
            && MsgBox(QStringLiteral("Desea eliminar el Trabajador."), 292, QStringLiteral("Confirmación."))
                == Answer::Yes) {
            platform::Hourglass reloj(*this);
            db.remove(QStringLiteral("Trabajadores"), QStringLiteral("IdTrabajador"), id.toLongLong());
            MostrarMensaje(QStringLiteral("Trabajador Eliminado."));
            RefrescarTrabajadores();
        }
    }
    LeerTrabajadores();
    cmdCancelar->setEnabled(false);
}

// The contract of the worker held in the detail boxes: the worker is saved
// first, with the questions of "Grabar.", then the contract window takes the
// company and the worker and this window closes. A save refused or declined
// leaves this window open and the contract window unloaded.
void frmEmpresa::cmdContratoManual_Click()
{
    if (txtNumeroTrabajador->text().isEmpty()) {
        MsgBox(QStringLiteral("Es necesario introducir el Número de trabajador."), platform::style::Information);
        return;
    }
    if (txtDNI->text().isEmpty()) {
        MsgBox(QStringLiteral("Es necesario introducir el NIF del trabajador."), platform::style::Information);
        return;
    }
    const QString nif = txtDNI->text();
    bool entregado = false;
    platform::runHandler([&] {
        const auto empresa = EmpresaGuardada();
        const auto guardado = [&](const char* campo) {
            return empresa ? empresa->text(QString::fromUtf8(campo)) : QString();
        };
        // Touching its boxes loads the contract window while this one still shows the company.
        auto& contrato = Forms::get<frmEleccionContrato>();
        if (!guardado("NúmeroEmpresa").isEmpty())
            contrato.txtNumEmpresa->setText(guardado("NúmeroEmpresa"));
        if (!txtNumeroTrabajador->text().isEmpty())
            contrato.txtNumTrabajador->setText(comprobaciones::ConCeros(txtNumeroTrabajador->text()));
        if (!txtNombreTrabajador->text().isEmpty())
            contrato.txtNombreTrabajador->setText(txtNombreTrabajador->text());
        if (!guardado("NombreEmpresa").isEmpty())
            contrato.txtNombreEmpresa->setText(guardado("NombreEmpresa"));

        bool grabado = false;
        {
            QScopedValueRollback paraContrato(GrabandoParaContrato, true);
            grabado = GuardarTrabajador();
        }
        if (!grabado)
            return;
        TrabajadorGrabadoParaContrato = true;
        const auto trabajador = AbrirBaseDatos().first(
            QStringLiteral(R"(SELECT "IdTrabajador", "NúmeroTrabajador" FROM "Trabajadores" )"
                           R"(WHERE "NIF14" = ? AND "NúmeroTrabajador" = ? AND "IdEmpresa" = ? ORDER BY "IdTrabajador")"),
            {nif, txtNumeroTrabajador->text().trimmed().toLongLong(), QString::number(IdEmpresaAbierta)});
        if (!trabajador)
            return;
        IdTrabajadorContrato = trabajador->value(QStringLiteral("IdTrabajador"));
        contrato.txtNumEmpresa->setText(guardado("NúmeroEmpresa"));
        contrato.txtNumTrabajador->setText(
            comprobaciones::ConCeros(trabajador->text(QStringLiteral("NúmeroTrabajador"))));
        contrato.DatosEmpresaTrabajador();
        Forms::show(contrato);
        contrato.OrigenDatos = 1;
        entregado = true;
    });
    if (!entregado) {
        Forms::unload<frmEleccionContrato>();
        return;
    }
    Forms::unload(*this);
}
