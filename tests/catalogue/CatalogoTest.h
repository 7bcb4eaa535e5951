#pragma once

#include "TervaloTest.h"

#include "app/frmMenu.h"
#include "catalogue/frmClausulas.h"
#include "catalogue/frmListaContratos.h"
#include "catalogue/frmManContrato.h"
#include "catalogue/frmManContratos.h"
#include "catalogue/frmMarcas.h"
#include "catalogue/frmModelos.h"
#include "common/frmAyuda.h"
#include "common/frmMensaje.h"
#include "platform/Controls.h"
#include "platform/DBGrid.h"
#include "platform/Forms.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using platform::Answer;
using platform::Forms;
using platform::isShown;
using testing_support::dobleClic;
using testing_support::pulsarFila;
using testing_support::textos;

// Each case starts on a fresh database and opens the windows as the main
// window's maintenance panel does.
class CatalogoTest : public testing_support::BaseDatosTest {
protected:
    template <class F>
    F& abrir()
    {
        F& ventana = Forms::show<F>();
        activar(&ventana);
        return ventana;
    }
    qint64 marca(const QString& codigo, const QString& descripcion, const QVariant& longitud)
    {
        return insertar("Marcas",
                        {{"CódigoMarca", codigo}, {"DescripciónDato", descripcion}, {"Longitud", longitud}});
    }
    qint64 modelo(const QString& nombre, const QVariant& ubicacion = u("modelo.rtf"))
    {
        return insertar("Modelo", {{"NombreModelo", nombre}, {"Ubicación", ubicacion}});
    }
    qint64 marcaDeModelo(const QString& idModelo, const QString& codigo, const QVariant& veces = {})
    {
        return insertar("MarcasCont", {{"IdModelo", idModelo}, {"CódigoMarca", codigo}, {"Veces", veces}});
    }

    // The text of the last message box shown.
    QString ultimoMensaje() { return msg().shown().empty() ? QString() : msg().shown().back().text; }
    // Sets what the next pause sees: the text of the deletion notice then shown.
    void anotarAviso(QString& aviso)
    {
        fakeClock().duringWait = [&aviso](double) { aviso = Forms::get<frmMensaje>().lblMensaje->text(); };
    }
    static void clicCabecera(platform::DBGrid* rejilla, int columna)
    {
        QHeaderView* cabecera = rejilla->horizontalHeader();
        const int x = cabecera->sectionViewportPosition(columna) + cabecera->sectionSize(columna) / 2;
        QTest::mouseClick(cabecera->viewport(), Qt::LeftButton, {}, QPoint(x, cabecera->height() / 2));
    }
};
