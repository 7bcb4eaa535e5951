// Documents shown by a real LibreOffice while the program's windows are on an
// X display with a window manager (tests/support/en_x11.sh gives it one):
// what the desktop shows, not what the doubles record.
#include "../production/Generador.h"

#include "listings/frmListadoContratos.h"
#include "platform/Clock.h"
#include "platform/DesktopWindows.h"
#include "platform/Office.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>

#include <xcb/xcb.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <map>

using namespace testing_support;

namespace {

xcb_connection_t* conexionX()
{
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

xcb_window_t raiz()
{
    return xcb_setup_roots_iterator(xcb_get_setup(conexionX())).data->root;
}

xcb_atom_t atomo(const char* nombre)
{
    xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(
        conexionX(), xcb_intern_atom(conexionX(), 0, static_cast<uint16_t>(strlen(nombre)), nombre), nullptr);
    const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(r);
    return a;
}

// The 32-bit items of a window's property (atoms, windows).
std::vector<uint32_t> propiedad(xcb_window_t ventana, const char* nombre)
{
    xcb_get_property_reply_t* r = xcb_get_property_reply(
        conexionX(), xcb_get_property(conexionX(), 0, ventana, atomo(nombre), XCB_GET_PROPERTY_TYPE_ANY, 0, 64),
        nullptr);
    std::vector<uint32_t> items;
    if (r && r->format == 32) {
        const auto* v = static_cast<const uint32_t*>(xcb_get_property_value(r));
        items.assign(v, v + xcb_get_property_value_length(r) / 4);
    }
    free(r);
    return items;
}

// The environments of the LibreOffice processes started on a profile folder
// (XDG_CONFIG_HOME), by process id.
std::map<int, QByteArrayList> libreOfficeDelPerfil(const QString& carpeta)
{
    std::map<int, QByteArrayList> procesos;
    for (const QString& pid : QDir(u("/proc")).entryList(QDir::Dirs)) {
        QFile nombre(u("/proc/%1/comm").arg(pid)), entorno(u("/proc/%1/environ").arg(pid));
        if (!nombre.open(QIODevice::ReadOnly) || nombre.readAll().trimmed() != "soffice.bin"
            || !entorno.open(QIODevice::ReadOnly))
            continue;
        const QByteArrayList variables = entorno.readAll().split('\0');
        if (variables.contains("XDG_CONFIG_HOME=" + carpeta.toUtf8()))
            procesos[pid.toInt()] = variables;
    }
    return procesos;
}

// An environment variable set while it lives.
class Variable {
public:
    Variable(const char* nombre, const QByteArray& valor) : nombre_(nombre), antes_(qgetenv(nombre))
    {
        qputenv(nombre, valor);
    }
    ~Variable()
    {
        if (antes_.isNull())
            qunsetenv(nombre_);
        else
            qputenv(nombre_, antes_);
    }

private:
    const char* nombre_;
    QByteArray antes_;
};

} // namespace

class DocumentoEnPantallaTest : public GeneradorTest {
protected:
    static constexpr const char* kContrato = "C:\\Quelvan\\Dorvane\\Contratos\\0001200001.doc";

    void SetUp() override
    {
        if (QGuiApplication::platformName() != u"xcb")
            GTEST_SKIP() << "needs the windows on an X display: run through tests/support/en_x11.sh";
        ASSERT_TRUE(QTest::qWaitFor([] { return !propiedad(raiz(), "_NET_SUPPORTING_WM_CHECK").empty(); }, 10000))
            << "no window manager on the display";
        soffice = QStandardPaths::findExecutable(u("soffice"));
        if (soffice.isEmpty())
            GTEST_SKIP() << "LibreOffice is not installed";
    }

    void TearDown() override
    {
        for (const auto& proceso : libreOfficeDelPerfil(perfil.path()))
            ::kill(proceso.first, SIGKILL);
        EXPECT_TRUE(QTest::qWaitFor([this] { return libreOfficeDelPerfil(perfil.path()).empty(); }, 10000));
    }

    // A LibreOffice profile of the case's own, made ready as the program
    // would find the user's, with no tip shown at its start.
    void prepararLibreOffice()
    {
        const QString carpeta = perfil.filePath(u("libreoffice/4"));
        ASSERT_TRUE(platform::prepareLibreOfficeProfile(*platform::makeSystemPrograms(), soffice, carpeta));
        QFile ajustes(carpeta + u("/user/registrymodifications.xcu"));
        ASSERT_TRUE(ajustes.open(QIODevice::ReadWrite));
        QByteArray xcu = ajustes.readAll();
        xcu.replace("</oor:items>",
                    "<item oor:path=\"/org.openoffice.Office.Common/Misc\"><prop "
                    "oor:name=\"ShowTipOfTheDay\" oor:op=\"fuse\"><value>false</value></prop>"
                    "</item></oor:items>");
        ajustes.resize(0);
        ajustes.write(xcu);
    }

    // Runs what shows a document and asks about it; the seconds from
    // LibreOffice having the document (its lock file in the folder) to the
    // program's first question.
    double segundosHastaLaPregunta(const QString& carpeta, const std::function<void()>& mostrar)
    {
        QElapsedTimer reloj;
        reloj.start();
        qint64 abierto = -1;
        qint64 pregunta = -1;
        QTimer mirar;
        QObject::connect(&mirar, &QTimer::timeout, [&] {
            if (abierto < 0 && !QDir(carpeta).entryList({u(".~lock.*#")}, QDir::Files | QDir::Hidden).isEmpty())
                abierto = reloj.elapsed();
        });
        mirar.start(50);
        msg().whileShown = [&](const ScriptedMessageBoxes::Shown&) {
            if (pregunta < 0)
                pregunta = reloj.elapsed();
        };
        mostrar();
        msg().whileShown = nullptr;
        EXPECT_GE(abierto, 0) << "LibreOffice never had the document";
        EXPECT_GE(pregunta, abierto) << "nothing asked once it had it";
        return (pregunta - abierto) / 1000.0;
    }

    QTemporaryDir perfil; // XDG_CONFIG_HOME for every LibreOffice of the case
    const Variable configuracion{"XDG_CONFIG_HOME", perfil.path().toUtf8()};
    QString soffice;
    platform::ScopedService<platform::Clock> relojReal{platform::clockSlot(), nullptr};
    platform::ScopedService<platform::DesktopWindows> escritorio{platform::desktopWindowsSlot(), nullptr};
};

// LibreOffice on another display (as on Wayland while the program runs
// through XWayland) gets the document the program gives it: the program
// cannot bring its window forward, and asks as soon as LibreOffice has the
// document, in contract production and in the saved-contracts list.
TEST_F(DocumentoEnPantallaTest, ADocumentShownOnAnotherDisplayIsAskedAboutAsSoonAsLibreOfficeHasIt)
{
    ASSERT_NO_FATAL_FAILURE(prepararLibreOffice());
    QProcess otraPantalla;
    otraPantalla.start(u("Xvfb"),
                       {u("-displayfd"), u("1"), u("-screen"), u("0"), u("1280x1024x24"), u("-nolisten"), u("tcp")});
    const auto cerrar = qScopeGuard([&] {
        otraPantalla.terminate();
        otraPantalla.waitForFinished();
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return otraPantalla.canReadLine(); }, 10000)) << "Xvfb did not start";
    writeFile("C:\\Espera.rtf", "{\\rtf1\\ansi ESPERA\\par}");
    QProcess libreOffice;
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert(u("DISPLAY"), u(":") + QString::fromLatin1(otraPantalla.readLine().trimmed()));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            xcb_connection_t* prueba = xcb_connect(entorno.value(u("DISPLAY")).toLatin1().constData(), nullptr);
            const bool abierta = !xcb_connection_has_error(prueba);
            xcb_disconnect(prueba);
            return abierta;
        },
        10000));
    libreOffice.setProcessEnvironment(entorno);
    libreOffice.setProcessChannelMode(QProcess::MergedChannels);
    libreOffice.start(soffice, {u("--writer"), u("--norestore"), u("--nologo"), host("C:\\Espera.rtf")});
    const auto soltar = qScopeGuard([&] {
        libreOffice.kill(); // its office process goes at the end of the case
        libreOffice.waitForFinished();
    });
    // A first start on a new machine may take long.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return exists("C:\\.~lock.Espera.rtf#") || libreOffice.state() == QProcess::NotRunning; }, 180000));
    ASSERT_TRUE(exists("C:\\.~lock.Espera.rtf#")) << libreOffice.readAll().toStdString();

    platform::ScopedService<platform::Office> real(platform::officeSlot(), platform::makeLibreOffice());
    for (Answer a : {Answer::No, Answer::Yes, Answer::No})
        msg().answer(a); // not printed, stored, no copia básica
    const double enProduccion = segundosHastaLaPregunta(driveC.filePath(u("Temp")), [] {
        auto& form = abrirDesdeListado();
        QTest::keyClicks(form.txtNumEmpresa, u("00012"));
        QTest::keyClicks(form.txtNumTrabajador, u("00001"));
        elegir(form, u("TEMPORAL"), u("401 - Obra"));
        clic(form.cmdRealizarContrato);
        clic(form.cmdSalir);
    });
    ASSERT_TRUE(exists(kContrato));
    msg().answer(Answer::No);
    msg().answer(Answer::No);
    const double enLista = segundosHastaLaPregunta(host("C:\\Quelvan\\Dorvane\\Contratos"), [] {
        clic(Forms::show<frmMenu>().cmdContratos);
        clic(Forms::loaded<frmListadoContratos>()->cmdEditar);
    });

    EXPECT_EQ(msg().texts(),
              (QStringList{u("¿Desea Imprimir el contrato?"), u("¿Desea guardar el contrato en la base de datos?"),
                           u("¿Desea copia básica?"), u("¿Desea Imprimir el contrato?"), u("¿Desea copia básica?")}));
    EXPECT_LT(enProduccion, 5);
    EXPECT_LT(enLista, 5);
}

// A LibreOffice the program starts shows its windows on the program's X
// display, whatever the desktop's toolkits would choose (here Wayland, as on
// a desktop on Wayland): the document comes to the front there, maximised,
// not full-screen.
TEST_F(DocumentoEnPantallaTest, ALibreOfficeTheProgramStartsShowsTheDocumentOnItsDisplayMaximised)
{
    ASSERT_NO_FATAL_FAILURE(prepararLibreOffice());
    const Variable wayland("WAYLAND_DISPLAY", "wayland-tervalo");
    const Variable gtk("GDK_BACKEND", "wayland");
    writeFile(kContrato, "{\\rtf1\\ansi CONTRATO\\par}");
    platform::ScopedService<platform::Office> real(platform::officeSlot(), platform::makeLibreOffice());
    platform::showDocument(host(kContrato));

    const auto procesos = libreOfficeDelPerfil(perfil.path());
    ASSERT_EQ(procesos.size(), 1u);
    const QByteArrayList& entorno = procesos.begin()->second;
    EXPECT_TRUE(entorno.contains("GDK_BACKEND=x11"));
    EXPECT_FALSE(std::any_of(entorno.begin(), entorno.end(),
                             [](const QByteArray& v) { return v.startsWith("WAYLAND_DISPLAY="); }));
    const auto activa = propiedad(raiz(), "_NET_ACTIVE_WINDOW");
    ASSERT_EQ(activa.size(), 1u);
    EXPECT_EQ(propiedad(activa[0], "_NET_WM_PID"), std::vector<uint32_t>{uint32_t(procesos.begin()->first)});
    const auto estado = propiedad(activa[0], "_NET_WM_STATE");
    for (const char* maximizada : {"_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ"})
        EXPECT_TRUE(std::count(estado.begin(), estado.end(), atomo(maximizada))) << maximizada;
    EXPECT_FALSE(std::count(estado.begin(), estado.end(), atomo("_NET_WM_STATE_FULLSCREEN")));
}

// Of two windows of files of one name, the one brought forward is that of
// the file shown, which comes after the file is given to the word processor.
// A window manager known only by its selection (no EWMH check on the root)
// is still asked, and sizes the window itself.
TEST_F(DocumentoEnPantallaTest, TheWindowBroughtForwardIsThatOfTheFileShownAndOnlyTheWindowManagerSizesIt)
{
    QWidget otra;
    QWidget nueva;
    QWidget tercera;
    otra.setWindowTitle(u("0001200001.doc - LibreOffice Writer"));
    nueva.setWindowTitle(otra.windowTitle());
    tercera.setWindowTitle(u("0001200002.doc - LibreOffice Writer"));
    otra.show();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const auto clientes = propiedad(raiz(), "_NET_CLIENT_LIST");
            return std::count(clientes.begin(), clientes.end(), otra.winId()) == 1;
        },
        5000));
    QWidget* siguiente = &nueva;
    fakeOffice().onCall = [&](const FakeOffice::Call&) { QTimer::singleShot(500, siguiente, &QWidget::show); };
    platform::showDocument(driveC.filePath(u("b/0001200001.doc")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return nueva.isMaximized(); }, 3000));
    EXPECT_FALSE(otra.isMaximized());
    EXPECT_EQ(QApplication::activeWindow(), &nueva);

    const auto comprobacion = propiedad(raiz(), "_NET_SUPPORTING_WM_CHECK");
    xcb_delete_property(conexionX(), raiz(), atomo("_NET_SUPPORTING_WM_CHECK"));
    const auto devolver = qScopeGuard([&] {
        xcb_change_property(conexionX(), XCB_PROP_MODE_REPLACE, raiz(), atomo("_NET_SUPPORTING_WM_CHECK"),
                            XCB_ATOM_WINDOW, 32, 1, comprobacion.data());
        xcb_flush(conexionX());
    });
    siguiente = &tercera;
    platform::showDocument(driveC.filePath(u("0001200002.doc")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return tercera.isMaximized(); }, 3000));
}
