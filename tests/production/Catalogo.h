#pragma once

#include "Jornada.h"

#include "app/frmMenu.h"
#include "common/Module1.h"
#include "common/frmAyuda.h"
#include "companies/frmEmpresa.h"
#include "data/Configuracion.h"
#include "platform/Controls.h"
#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "platform/MaskEdBox.h"
#include "platform/TextBox.h"
#include "production/frmEleccionContrato.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>

using platform::Answer;
using platform::Forms;
using platform::isShown;

// A database with the catalogue rows a case needs, and the contract window
// opened as its openers do.
class ProduccionTest : public testing_support::JornadaTest {
protected:
    int tipo(const QString& nombre) { return static_cast<int>(insertar("TipoContrato", {{"TipoContrato", nombre}})); }
    int modelo(const QString& nombre, const QString& ubicacion)
    {
        return static_cast<int>(insertar("Modelo", {{"NombreModelo", nombre}, {"Ubicación", ubicacion}}));
    }
    int contrato(int idTipo, const QString& codigo, const QString& nombre, const QString& nombreModelo)
    {
        return static_cast<int>(insertar("Contrato", {{"IdTipoContrato", QString::number(idTipo)},
                                                      {"Código", codigo},
                                                      {"Contrato", nombre},
                                                      {"Modelo", nombreModelo}}));
    }
    void marca(const QString& codigo, const QString& descripcion, int longitud, const QString& fijos = {})
    {
        insertar("Marcas", {{"CódigoMarca", codigo},
                            {"DescripciónDato", descripcion},
                            {"Longitud", longitud},
                            {"ValoresFijos", fijos}});
    }
    void marcaDeModelo(int idModelo, const QString& codigo, const QString& descripcion, const QString& veces = {})
    {
        insertar("MarcasCont", {{"IdModelo", QString::number(idModelo)},
                                {"CódigoMarca", codigo},
                                {"DescripciónDato", descripcion},
                                {"Veces", veces}});
    }

    // One type "INDEFINIDO" with the contract "100 - Ordinario" on the model
    // "ORD" ("Ordinario.doc"); returns the model's id.
    int catalogoMinimo()
    {
        const int idModelo = modelo(u("ORD"), u("Ordinario.doc"));
        contrato(tipo(u("INDEFINIDO")), u("100"), u("Ordinario"), u("ORD"));
        return idModelo;
    }

    // "Nuevo" of the saved-contracts list.
    static frmEleccionContrato& abrirDesdeListado()
    {
        auto& form = Forms::show<frmEleccionContrato>();
        form.OrigenDatos = 2;
        form.AperturaDesdeListado = 2;
        return form;
    }

    // "Realizar Contrato" of the imported-records list.
    static frmEleccionContrato& abrirDesdeImportados(const QString& numTrabajador, const QString& numEmpresa)
    {
        auto& form = Forms::get<frmEleccionContrato>();
        form.txtNumTrabajador->setText(numTrabajador);
        form.txtNombreTrabajador->setText(u("ANA ROS"));
        form.txtNumEmpresa->setText(numEmpresa);
        form.txtNombreEmpresa->setText(u("TALLERES SA"));
        Forms::show(form);
        return form;
    }

    // Clicks the option of a list that shows `caption`.
    static void pulsar(const std::array<platform::OptionButton*, 8>& opciones, const QString& caption)
    {
        for (auto* opcion : opciones) {
            if (isShown(opcion) && platform::caption(opcion) == caption) {
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
            if (isShown(opcion))
                shown << platform::caption(opcion);
        }
        return shown;
    }
};
