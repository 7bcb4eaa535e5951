#pragma once

#include "TervaloTest.h"

#include <functional>

class frmEleccionContrato;
class frmEmpresa;
class frmMenu;

namespace testing_support {

// A user's day in one run of the program: the windows are reached from the
// main window by their own buttons, one after another, so that what a
// window leaves behind (Module1's flags, windows kept loaded, notices
// reused) meets the next one as it does in use. The payroll server is a
// FakeFtp.
class JornadaTest : public BaseDatosTest {
protected:
    JornadaTest();

    // The main window: the one on the screen, or the program's first one on
    // a finished installation whose server is configured (abrirMenu).
    frmMenu& menu();
    // The main window on a finished installation, the server's address,
    // account and key configured.
    static frmMenu& abrirMenu(const QString& ip = u("127.0.0.1"), const QString& usuario = u("tervalo"),
                              const QString& password = u("clave"), const QString& clave = u("AB"));
    // "Empresas." of the main window, the company's row of the list, "Editar".
    frmEmpresa& fichaDeEmpresa(qint64 idEmpresa);
    // The tab "Trabajadores." of the record window, the worker's row, "Editar".
    static void editarTrabajador(frmEmpresa& ficha, qint64 idTrabajador);
    // "Contrato." of the record window, its save questions already scripted.
    static frmEleccionContrato& contratoDeLaFicha(frmEmpresa& ficha);
    // "Menu Principal." of the contract screen.
    static frmMenu& salirAlMenu(frmEleccionContrato& contrato);
    // "Listado" of the main window, the row of the waiting record of these
    // numbers (its file in ContratosTemp, its worker stored), "Realizar
    // Contrato".
    frmEleccionContrato& contratoDeImportado(const QString& numEmpresa, int numTrabajador);
    // "Importar" of the main window; `mientras` runs while the server is read.
    void importar(const std::function<void()>& mientras = {});

    FakeFtp& servidor() { return static_cast<FakeFtp&>(*ftp_); }

private:
    platform::ScopedService<platform::Ftp> ftp_;
};

} // namespace testing_support
