#pragma once

#include "Copias.h"
#include "DocumentFiles.h"
#include "Jornada.h"

#include "app/frmMenu.h"
#include "common/Module1.h"
#include "common/frmAyuda.h"
#include "companies/frmEmpresa.h"
#include "companies/frmEmpresas.h"
#include "platform/Controls.h"
#include "platform/DBGrid.h"
#include "platform/Forms.h"
#include "platform/MaskEdBox.h"
#include "platform/TextBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

using platform::Answer;
using platform::Forms;
using platform::isShown;
using platform::Row;

// The company list and record window on a fresh database.
class EmpresasTest : public testing_support::JornadaTest {
protected:
    qint64 empresa(const QString& numero, const QString& nombre, Row datos = {})
    {
        datos.set(u("NúmeroEmpresa"), numero);
        datos.set(u("NombreEmpresa"), nombre);
        return insertar("Empresas", datos);
    }
    qint64 trabajador(qint64 idEmpresa, int numero, const QString& nombre, Row extra = {})
    {
        extra.set(u("IdEmpresa"), QString::number(idEmpresa));
        extra.set(u("NúmeroTrabajador"), numero);
        extra.set(u("NombreTrabajador"), nombre);
        if (!extra.has(u("NIF14")))
            extra.set(u("NIF14"), u("1X"));
        return insertar("Trabajadores", extra);
    }

    // The record window on a stored company, as the list's "Editar" leaves it.
    static frmEmpresa& abrir(qint64 id)
    {
        EditandoEmpresa = true;
        IdEmpresaActual = QString::number(id);
        auto& ficha = Forms::show<frmEmpresa>();
        ficha.Cargar();
        return ficha;
    }
    static frmEmpresa& nueva()
    {
        Forms::show<frmEmpresas>().cmdNuevo->click();
        return *Forms::loaded<frmEmpresa>();
    }
    // A new worker with the proposed number, its name and NIF typed.
    void nuevoTrabajador(frmEmpresa& f, const char* nombre, const char* nif = "11111111H")
    {
        msg().answer(Answer::Yes);
        f.cmdNuevo->click();
        f.txtNombreTrabajador->setText(u(nombre));
        f.txtDNI->setText(u(nif));
    }
};
