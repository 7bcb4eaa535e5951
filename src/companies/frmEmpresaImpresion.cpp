// The record window's printout: the company's sheet, the open worker's sheet or the list of workers.
#include "companies/frmEmpresa.h"

#include "common/ImprimirListado.h"
#include "platform/DBGrid.h"
#include "platform/MaskEdBox.h"
#include "platform/TextBox.h"

#include <QPlainTextEdit>
#include <QTabWidget>

// Prints what the window shows: the company's sheet, the open worker's
// sheet or the list of the company's workers. The clauses tab prints no
// more than the opening lines.
void frmEmpresa::cmdImprimir_Click()
{
    using namespace listado;
    const int pestana = SSTab1->currentIndex();
    Imprimir(
        *this,
        [&](platform::PrintJob& job) {
            Apertura(job);
            if (pestana == 0) {
                Titulo(job, QStringLiteral("DATOS DE LA EMPRESA:"));
                Ficha(job, kColumnaValorEmpresa,
                      {{QStringLiteral("Nombre de la empresa :"), txtNombreEmpresa->text()},
                       {QStringLiteral("Número de la empresa :"), txtNumEmpresa->text()},
                       {QStringLiteral("N.I.F. :"), mskCuenta->text()},
                       {QStringLiteral("Actividad. :"), txtActividad->text()},
                       {QStringLiteral("Cuenta. :"), txtNumISS->Text()},
                       {QStringLiteral("Dirección :"), txtDireccion->text()},
                       {QStringLiteral("Localidad :"), txtLocalidad->text()},
                       {QStringLiteral("Código Postal :"), txtCp->text()},
                       {QStringLiteral("Provincia :"), txtPoblacion->text()},
                       {QStringLiteral("Teléfono :"), txtTelef->text()},
                       {QStringLiteral("Fax :"), txtFax->text()},
                       {QStringLiteral("Correo Electrónico :"), txtemail->text()},
                       {QStringLiteral("Observaciones :"), txtObservacionesEmpresa->toPlainText()}});
            } else if (pestana == 1 && TrabajadorAbierto()) {
                Titulo(job, QStringLiteral("DATOS DEL TRABAJADOR :"));
                Ficha(job, kColumnaValorTrabajador,
                      {{QStringLiteral("Nombre del trabajador :"), txtNombreTrabajador->text()},
                       {QStringLiteral("Número del trabajador :"), txtNumeroTrabajador->text()},
                       {QStringLiteral("N.I.F. :"), txtDNI->text()},
                       {QStringLiteral("Nº Afiliación a la S.S. :"), txtNumSS->Text()},
                       {QStringLiteral("Fecha de Nacimiento :"), txtFechaNac->Text()},
                       {QStringLiteral("Municipio :"), txtMunicipio->text()},
                       {QStringLiteral("Nacionalidad :"), txtNacionalidad->text()},
                       {QStringLiteral("Pais :"), txtPais->text()},
                       {QStringLiteral("Nivel Formativo :"), txtNivelFormativo->text()},
                       {QStringLiteral("Observaciones :"), txtObservacionesTrabajador->toPlainText()}});
            } else if (pestana == 1) {
                Titulo(job, QStringLiteral("LISTADO DE TRABAJADORES:"));
                Lista(job, {{kColumnaNombre, QStringLiteral("Nombre del trabajador.")}},
                      Filas(dbgTrabajadores->records(), {{kColumnaNombre, QStringLiteral("NombreTrabajador")}}));
            }
        },
        2);
}
