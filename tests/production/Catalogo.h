#pragma once

#include "TervaloTest.h"

#include "common/Module1.h"
#include "data/Configuracion.h"
#include "data/Esquema.h"
#include "platform/Controls.h"
#include "platform/Database.h"
#include "platform/Forms.h"
#include "production/frmEleccionContrato.h"

#include <QLineEdit>
#include <QTest>

// A database with the catalogue rows a case needs, and the contract window
// opened as its openers do.
class ProduccionTest : public testing_support::TervaloTest {
protected:
    ProduccionTest()
    {
        esquema::crearBasesDeDatosQueFalten();
        RutaBaseDatos();
    }

    static platform::Database db() { return AbrirBaseDatos(); }

    static qint64 insertar(const char* tabla, std::initializer_list<std::pair<QString, QVariant>> campos)
    {
        return db().insert(QString::fromUtf8(tabla), platform::Row(campos));
    }
    static int tipo(const QString& nombre)
    {
        return static_cast<int>(insertar("TipoContrato", {{QStringLiteral("TipoContrato"), nombre}}));
    }
    static int modelo(const QString& nombre, const QString& ubicacion)
    {
        return static_cast<int>(insertar(
            "Modelo", {{QStringLiteral("NombreModelo"), nombre}, {QStringLiteral("Ubicación"), ubicacion}}));
    }
    static int contrato(int idTipo, const QString& codigo, const QString& nombre, const QString& nombreModelo)
    {
        return static_cast<int>(insertar("Contrato", {{QStringLiteral("IdTipoContrato"), QString::number(idTipo)},
                                                      {QStringLiteral("Código"), codigo},
                                                      {QStringLiteral("Contrato"), nombre},
                                                      {QStringLiteral("Modelo"), nombreModelo}}));
    }
    static void marca(const QString& codigo, const QString& descripcion, int longitud, const QString& fijos = {})
    {
        insertar("Marcas", {{QStringLiteral("CódigoMarca"), codigo},
                            {QStringLiteral("DescripciónDato"), descripcion},
                            {QStringLiteral("Longitud"), longitud},
                            {QStringLiteral("ValoresFijos"), fijos}});
    }
    static void marcaDeModelo(int idModelo, const QString& codigo, const QString& descripcion,
                              const QString& veces = {})
    {
        insertar("MarcasCont", {{QStringLiteral("IdModelo"), QString::number(idModelo)},
                                {QStringLiteral("CódigoMarca"), codigo},
                                {QStringLiteral("DescripciónDato"), descripcion},
                                {QStringLiteral("Veces"), veces}});
    }
    static void configurar(const QString& idioma, const QString& firmas)
    {
        ActualizarConfiguracion([&](DatosConfiguracion& d) {
            d.Idioma = idioma;
            d.Firmas = firmas;
        });
    }

    // One type "INDEFINIDO" with the contract "100 - Ordinario" on the model
    // "ORD" ("Ordinario.doc"); returns the model's id.
    static int catalogoMinimo()
    {
        const int idModelo = modelo(QStringLiteral("ORD"), QStringLiteral("Ordinario.doc"));
        contrato(tipo(QStringLiteral("INDEFINIDO")), QStringLiteral("100"), QStringLiteral("Ordinario"),
                 QStringLiteral("ORD"));
        return idModelo;
    }

    // "Nuevo" of the saved-contracts list.
    static frmEleccionContrato& abrirDesdeListado()
    {
        auto& form = platform::Forms::show<frmEleccionContrato>();
        form.OrigenDatos = 2;
        form.AperturaDesdeListado = 2;
        return form;
    }

    // "Realizar Contrato" of the imported-records list.
    static frmEleccionContrato& abrirDesdeImportados(const QString& numTrabajador, const QString& numEmpresa)
    {
        auto& form = platform::Forms::get<frmEleccionContrato>();
        form.txtNumTrabajador->setText(numTrabajador);
        form.txtNombreTrabajador->setText(QStringLiteral("ANA ROS"));
        form.txtNumEmpresa->setText(numEmpresa);
        form.txtNombreEmpresa->setText(QStringLiteral("TALLERES SA"));
        platform::Forms::show(form);
        return form;
    }

    // Clicks the option of a list that shows `caption`.
    static void pulsar(const std::array<platform::OptionButton*, 8>& opciones, const QString& caption)
    {
        for (auto* opcion : opciones) {
            if (platform::isShown(opcion) && opcion->text() == caption) {
                opcion->click();
                return;
            }
        }
        ADD_FAILURE() << "no option " << caption.toStdString();
    }

    static void elegir(frmEleccionContrato& form, const QString& tipoContrato, const QString& contratoCaption)
    {
        pulsar(form.optTipoContrato, tipoContrato);
        pulsar(form.optContrato, contratoCaption);
    }

    // Types a text key by key, accented letters included.
    static void teclear(QWidget* w, const QString& texto)
    {
        for (const QChar c : texto)
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
    }

    static QStringList captions(const std::array<platform::OptionButton*, 8>& opciones)
    {
        QStringList shown;
        for (auto* opcion : opciones) {
            if (platform::isShown(opcion))
                shown << opcion->text();
        }
        return shown;
    }
};
