#include "TervaloTest.h"

#include "app/frmAcercade.h"
#include "app/frmActualizacion.h"
#include "app/frmIdioma.h"
#include "app/frmMenu.h"
#include "common/Module1.h"
#include "common/frmMensaje.h"
#include "data/Configuracion.h"
#include "data/Esquema.h"
#include "platform/Controls.h"
#include "platform/Desktop.h"
#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "platform/MaskEdBox.h"
#include "platform/Registry.h"
#include "platform/WebPanel.h"

#include "LocalWebServer.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QUrlQuery>

using platform::Forms;
using platform::isShown;

namespace {

class FakeRegistry final : public platform::Registry {
public:
    std::optional<QString> value(const QString& key, const QString& name) const override
    {
        const auto it = values.find(key + QLatin1Char('|') + name);
        return it == values.end() ? std::nullopt : std::optional<QString>(it->second);
    }
    std::map<QString, QString> values;
};

} // namespace

class MenuTest : public testing_support::TervaloTest {
protected:
    MenuTest() { instalado(); }

    // Starts the program as its main does.
    frmMenu& start()
    {
        Forms::show<frmActualizacion>();
        return *Forms::loaded<frmMenu>();
    }

    static void guardarConfiguracion(const QString& avisos, const QString& dias)
    {
        ActualizarConfiguracion([&](DatosConfiguracion& d) {
            d.Avisos = avisos;
            d.DiasAviso = dias;
        });
    }

    void trabajador(const QString& nombre, const QString& duracion, const QString& inicio)
    {
        esquema::crearBasesDeDatosQueFalten();
        RutaBaseDatos();
        auto db = AbrirBaseDatos();
        db.insert(u("Trabajadores"), {{u("NombreTrabajador"), nombre},
                                                   {u("NumEmpresa"), u("00007")},
                                                   {u("Duracion"), duracion},
                                                   {u("FechaInicioProrroga"), inicio}});
    }

    ~MenuTest() override { frmMenu::setServidorActualizaciones({}); }

    // Reloads the main window as a screen's return button does.
    frmMenu& volverAlMenu()
    {
        Forms::unload<frmMenu>();
        return Forms::show<frmMenu>();
    }
};

TEST_F(MenuTest, TheBackgroundFollowsTheScreenWidth)
{
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::red);
    writeFile("C:\\Quelvan\\Dorvane\\Fondo\\.keep", {});
    ASSERT_TRUE(picture.save(host("C:\\Quelvan\\Dorvane\\Fondo\\Tervalo800600.jpg")));

    fakeScreen().setPixels(800, 1024);
    EXPECT_EQ(start().Fondo().size(), QSize(64, 48));

    fakeScreen().setPixels(1280, 960);
    EXPECT_NE(volverAlMenu().Fondo().size(), QSize(64, 48));
    fakeScreen().setPixels(1280, 1024); // listed, but its file is missing
    EXPECT_FALSE(volverAlMenu().Fondo().isNull());
}

TEST_F(MenuTest, AlertsAreShownOnceOnTheFirstLoad)
{
    guardarConfiguracion(u("Si"), u("30"));
    trabajador(u("ANA PEREZ"), u("1 Meses  "), u("2026-12-01"));
    trabajador(u("LUIS GIL"), u("6 Meses  "), u("2026-12-01"));
    trabajador(u("EVA ROS"), u("seis"), u("2026-12-01"));

    auto& menu = start();
    ASSERT_TRUE(isShown(menu.fraAvisos));
    EXPECT_TRUE(isShown(menu.shaAvisos));
    EXPECT_EQ(menu.mshAvisos->Rows(), 2);
    EXPECT_EQ(menu.mshAvisos->TextMatrix(0, 2), u("Fecha Fin"));
    EXPECT_EQ(menu.mshAvisos->TextMatrix(1, 0), u("ANA PEREZ"));
    EXPECT_EQ(menu.mshAvisos->TextMatrix(1, 1), u("00007"));
    EXPECT_EQ(menu.mshAvisos->TextMatrix(1, 2), u("01/01/2027"));
    EXPECT_EQ(menu.lblAvisos->text(), u("Trabajadores que finalizan la prórroga en menos de 30 días."));
    EXPECT_EQ(PrimeraCarga, u("No"));

    EXPECT_FALSE(isShown(volverAlMenu().fraAvisos)) << "alerts once per run";
}

TEST_F(MenuTest, NoCandidateGivesTheNoAlertsNoticeAndAHiddenPanel)
{
    guardarConfiguracion(u("Si"), u("15"));
    bool avisoVisto = false;
    fakeClock().duringWait = [&](double) {
        if (auto* m = Forms::loaded<frmMensaje>())
            avisoVisto |= m->lblMensaje->text() == u("No hay Avisos.");
    };
    auto& menu = start();
    EXPECT_TRUE(avisoVisto);
    EXPECT_FALSE(isShown(menu.fraAvisos));
}

TEST_F(MenuTest, PanelsReplaceEachOther)
{
    auto& menu = start();
    menu.cmdConfigurar->click();
    EXPECT_TRUE(isShown(menu.fraConfigurar));
    EXPECT_TRUE(isShown(menu.CmdGuardar));
    menu.cmdTablas->click();
    EXPECT_TRUE(isShown(menu.fraMantenimientos));
    EXPECT_FALSE(isShown(menu.fraConfigurar));
    EXPECT_FALSE(isShown(menu.cmdCerrar));

    menu.shaResultados->show();
    menu.fraResultadosE->show();
    menu.cmdCerrarResultados->show();
    menu.cmdConfigurar->click();
    EXPECT_FALSE(isShown(menu.fraResultadosE));
    EXPECT_FALSE(isShown(menu.shaResultados));
    EXPECT_FALSE(isShown(menu.fraMantenimientos));

    menu.fraActualizacion->show();
    menu.cmdEsconder->click();
    EXPECT_FALSE(isShown(menu.fraActualizacion));
}

TEST_F(MenuTest, ServerAccessPanelTypedAsAUserRoundTripsThroughTheRecord)
{
    ActualizarConfiguracion([](DatosConfiguracion& d) {
        d.Ip = u("10.1.1.1");
        d.Idioma = u("2");
        d.Firmas = u("1");
    });
    auto& menu = start();
    // A click into the box, then each character as the keyboard gives it.
    const auto teclear = [](QLineEdit* caja, const QString& texto) {
        QTest::mouseClick(caja, Qt::LeftButton);
        for (const QChar c : texto) {
            QKeyEvent pulsada(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QKeyEvent soltada(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(caja, &pulsada);
            QApplication::sendEvent(caja, &soltada);
        }
    };
    QTest::mouseClick(menu.cmdConfigurar, Qt::LeftButton);
    teclear(menu.txtUsuario, u("admin"));
    teclear(menu.txtPassword, u("secreto"));
    teclear(menu.txtClaveUsuario, u("AB"));
    QTest::mouseClick(menu.CmdGuardar, Qt::LeftButton);

    EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\config").left(48),
              QByteArray("10.1.1.1       secreto        admin          2AB"));
    EXPECT_EQ(LeerConfiguracion().Firmas, u("1")) << "the other fields as they were";
    EXPECT_FALSE(isShown(menu.fraConfigurar));
    EXPECT_EQ(menu.focusWidget(), menu.cmdConfigurar) << "Enter opens the panel again, and no other window";
    EXPECT_EQ(fakeClock().waits.back(), 1.0) << "the saved notice";
    EXPECT_EQ(Forms::loaded<frmMensaje>(), nullptr) << "and gone after its second";

    QTest::mouseClick(menu.cmdConfigurar, Qt::LeftButton);
    EXPECT_EQ(menu.txtUsuario->text(), u("admin"));
    EXPECT_EQ(menu.txtPassword->text(), u("secreto"));
    EXPECT_EQ(menu.txtClaveUsuario->text(), u("AB"));
    EXPECT_EQ(menu.txtIp->text(), u("10.1.1.1"));

    // No more than a field holds, and only what the record's code page can.
    menu.txtUsuario->clear();
    teclear(menu.txtUsuario, u("usuario_demasiado_largo"));
    EXPECT_EQ(menu.txtUsuario->text(), u("usuario_demasia"));
    menu.txtPassword->clear();
    teclear(menu.txtPassword, u("añoΩ€"));
    EXPECT_EQ(menu.txtPassword->text(), u("año€"));
    menu.txtIp->setText(u("..."));
    QTest::mouseClick(menu.CmdGuardar, Qt::LeftButton);
    const DatosConfiguracion d = LeerConfiguracion();
    EXPECT_EQ(d.Usuario, u("usuario_demasia"));
    EXPECT_EQ(d.Password, u("año€           "));
    EXPECT_EQ(d.Ip, QString(15, QLatin1Char(' '))) << "empty octets are no address";
}

TEST_F(MenuTest, TheTwoWritersDoNotRevertEachOther)
{
    auto& menu = start();
    menu.optIdioma->click();
    auto* parametros = Forms::loaded<frmIdioma>();
    ASSERT_NE(parametros, nullptr);
    EXPECT_FALSE(menu.isHidden()) << "the parameters open over the main window";

    menu.cmdConfigurar->click();
    menu.txtUsuario->setText(u("root"));
    menu.CmdGuardar->click();
    parametros->optCatalan->click();
    parametros->cmdCerrar->click();
    EXPECT_EQ(LeerConfiguracion().Usuario.trimmed(), u("root"));
    EXPECT_EQ(LeerConfiguracion().Idioma, u("2"));

    // And the other way round: the panel was opened before the parameters changed.
    menu.cmdConfigurar->click();
    menu.optIdioma->click();
    Forms::get<frmIdioma>().optCastellano->click();
    Forms::get<frmIdioma>().cmdCerrar->click();
    menu.CmdGuardar->click();
    EXPECT_EQ(LeerConfiguracion().Idioma, u("1"));
}

TEST_F(MenuTest, ParametersRoundTripThroughTheRecord)
{
    ActualizarConfiguracion([](DatosConfiguracion& d) {
        d.Idioma = u("2");
        d.Avisos = u("Si");
        d.DiasAviso = u("60");
        d.SistemaOperativo = u("2");
        d.Firmas = u(" ");
    });
    auto& menu = start();
    menu.optIdioma->click();
    auto& p = *Forms::loaded<frmIdioma>();
    EXPECT_TRUE(p.optCatalan->value());
    EXPECT_TRUE(p.optSi->value());
    EXPECT_TRUE(p.optDias3->value());
    EXPECT_TRUE(isShown(p.fraDias));
    EXPECT_TRUE(p.optXP->value());
    EXPECT_FALSE(p.optFirmas[0]->value() || p.optFirmas[1]->value());

    p.cmdCerrar->click();
    EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\config").mid(45), QByteArray("2  Si602 "));
    EXPECT_FALSE(menu.optIdioma->value()) << "closing clears the option so it opens again";

    menu.optIdioma->click();
    auto& q = *Forms::loaded<frmIdioma>();
    q.optNo->click();
    EXPECT_FALSE(isShown(q.fraDias));
    q.opt98->click();
    q.optFirmas[0]->click();
    q.cmdCerrar->click();
    EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\config").mid(45), QByteArray("2  No6010")) << "No keeps the days";

    menu.optIdioma->click();
    auto& r = *Forms::loaded<frmIdioma>();
    r.optSi->click();
    EXPECT_FALSE(r.optDias1->value() || r.optDias2->value() || r.optDias3->value());
    r.cmdCerrar->click();
    EXPECT_EQ(LeerConfiguracion().DiasAviso, u("  "));

    menu.optIdioma->click();
    Forms::get<frmIdioma>().optCastellano->click();
    Forms::get<frmIdioma>().close();
    EXPECT_EQ(LeerConfiguracion().Idioma, u("2")) << "the close box saves nothing";

    // The signatures load onto their own option.
    for (const auto& [firmas, elegida] : {std::pair{"0", 0}, std::pair{"1", 1}}) {
        ActualizarConfiguracion([firmas = firmas](DatosConfiguracion& d) { d.Firmas = u(firmas); });
        menu.optIdioma->click();
        auto& p = Forms::get<frmIdioma>();
        EXPECT_TRUE(p.optFirmas[elegida]->value() && !p.optFirmas[1 - elegida]->value()) << firmas;
        p.cmdCerrar->click();
        EXPECT_EQ(LeerConfiguracion().Firmas, u(firmas));
    }
}

// Every field of the record full and unlike the others: each window shows its
// own fields from their own bytes and writes them back there, the rest byte
// for byte as they were.
TEST_F(MenuTest, EachWindowShowsAndWritesItsOwnFieldsOfTheRecordAndKeepsTheOthers)
{
    const QByteArray servidor("111.122.133.144PPPPPPPPPPPPPPpUUUUUUUUUUUUUUu");
    writeFile("C:\\Quelvan\\Dorvane\\config", servidor + "2KkNo6010");
    auto& menu = start();
    menu.cmdConfigurar->click();
    EXPECT_EQ((QStringList{menu.txtIp->text(), menu.txtPassword->text(), menu.txtUsuario->text(),
                           menu.txtClaveUsuario->text()}),
              (QStringList{u("111.122.133.144"), u("PPPPPPPPPPPPPPp"), u("UUUUUUUUUUUUUUu"), u("Kk")}));
    menu.txtIp->setText(u("155.166.177.188"));
    menu.txtPassword->setText(u("qqqqqqqqqqqqqqQ"));
    menu.txtUsuario->setText(u("vvvvvvvvvvvvvvV"));
    menu.txtClaveUsuario->setText(u("Zz"));
    menu.CmdGuardar->click();
    const QByteArray nuevoServidor("155.166.177.188qqqqqqqqqqqqqqQvvvvvvvvvvvvvvV");
    EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\config"), nuevoServidor + "2ZzNo6010");

    // The parameters, twice, so that no two of them ever hold the same value unnoticed.
    menu.optIdioma->click();
    auto* p = Forms::loaded<frmIdioma>();
    EXPECT_TRUE(p->optCatalan->value() && p->optNo->value() && p->opt98->value() && p->optFirmas[0]->value());
    p->optCastellano->click();
    p->optSi->click();
    p->optDias1->click();
    p->optXP->click();
    p->optFirmas[1]->click();
    p->cmdCerrar->click();
    EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\config"), nuevoServidor + "1ZzSi1521");

    menu.optIdioma->click();
    p = Forms::loaded<frmIdioma>();
    EXPECT_TRUE(p->optCastellano->value() && p->optSi->value() && p->optDias1->value() && p->optXP->value()
                && p->optFirmas[1]->value());
    p->optCatalan->click();
    p->optDias2->click();
    p->opt98->click();
    p->optFirmas[0]->click();
    p->cmdCerrar->click();
    EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\config"), nuevoServidor + "2ZzSi3010");
}

// Warnings switched off in the parameters keep their days in the record; the
// next start shows no alert, not even the loading notice.
TEST_F(MenuTest, WarningsSwitchedOffShowNoAlertsThoughTheirDaysAreKept)
{
    guardarConfiguracion(u("Si"), u("30"));
    trabajador(u("ANA PEREZ"), u("1 Meses  "), u("2026-12-01"));
    auto& menu = start();
    ASSERT_TRUE(isShown(menu.fraAvisos));
    menu.optIdioma->click();
    Forms::loaded<frmIdioma>()->optNo->click();
    Forms::loaded<frmIdioma>()->cmdCerrar->click();
    EXPECT_EQ(LeerConfiguracion().Avisos + LeerConfiguracion().DiasAviso, u("No30"));

    PrimeraCarga.clear(); // the next run
    fakeClock().waits.clear();
    EXPECT_FALSE(isShown(volverAlMenu().fraAvisos));
    EXPECT_TRUE(fakeClock().waits.empty());
    EXPECT_EQ(PrimeraCarga, u("No"));
}

TEST_F(MenuTest, AlertsStayOffWithYesButNoDays)
{
    guardarConfiguracion(u("Si"), u("  "));
    trabajador(u("ANA PEREZ"), u("1 Meses  "), u("2026-12-01"));
    auto& menu = start();
    EXPECT_FALSE(isShown(menu.fraAvisos));
    EXPECT_TRUE(fakeClock().waits.empty()) << "not even the loading notice";
    EXPECT_EQ(PrimeraCarga, u("No"));
}

TEST_F(MenuTest, ALoadThatFailsHalfWayLeavesTheStartUpPassForTheNextLoad)
{
    guardarConfiguracion(u("Si"), u("30"));
    esquema::crearBasesDeDatosQueFalten();
    // Nothing to read the alerts from.
    platform::Database::open(host(kRutaBaseDatos)).exec(u("DROP TABLE Trabajadores"));
    auto& menu = start();
    EXPECT_FALSE(isShown(menu.fraAvisos));
    EXPECT_TRUE(PrimeraCarga.isEmpty());
    EXPECT_EQ(menu.MousePointer(), 0);
    EXPECT_TRUE(msg().shown().empty()) << "silently";

    QFile::remove(host(kRutaBaseDatos));
    trabajador(u("ANA PEREZ"), u("1 Meses  "), u("2026-12-01"));
    EXPECT_TRUE(isShown(volverAlMenu().fraAvisos));
    EXPECT_EQ(PrimeraCarga, u("No"));
}

TEST_F(MenuTest, TheAlertsShowWholeDatesAndHeadingsOnALargeScreen)
{
    fakeScreen().setPixels(1280, 1024);
    guardarConfiguracion(u("Si"), u("30"));
    trabajador(u("ANA PEREZ"), u("1 Meses  "), u("2026-12-01"));
    auto& menu = start();
    const platform::FlexGrid& grid = *menu.mshAvisos;
    const QFontMetrics letra(grid.font());
    for (int col : {1, 2}) {
        for (int fila : {0, 1})
            EXPECT_LT(letra.horizontalAdvance(grid.TextMatrix(fila, col)) + 6, grid.columnWidth(col))
                << grid.TextMatrix(fila, col).toStdString();
    }
    EXPECT_EQ(grid.ColWidth(2), 1300) << "the width set is read back as set";
}

TEST_F(MenuTest, SmallWindowsOpenCentredOnTheMainWindow)
{
    auto& menu = start();
    const auto centrada = [&menu](const QWidget& ventana) {
        return (ventana.frameGeometry().center() - menu.frameGeometry().center()).manhattanLength() <= 2;
    };
    menu.optIdioma->click();
    EXPECT_TRUE(centrada(*Forms::loaded<frmIdioma>()));
    Forms::loaded<frmIdioma>()->cmdCerrar->click();

    menu.mnuAcerca->trigger();
    auto* acerca = Forms::loaded<frmAcercade>();
    EXPECT_TRUE(centrada(*acerca));
    EXPECT_EQ(platform::messageBoxOwner(), acerca) << "a message box opens over the window in use";
    acerca->cmdOK->click();
    EXPECT_EQ(platform::messageBoxOwner(), &menu);

    bool avisoCentrado = false;
    fakeClock().duringWait = [&](double) {
        if (auto* aviso = Forms::loaded<frmMensaje>())
            avisoCentrado = centrada(*aviso);
    };
    menu.cmdConfigurar->click();
    menu.CmdGuardar->click();
    EXPECT_TRUE(avisoCentrado);
}

TEST_F(MenuTest, ClosingTheMainWindowBeforeTheParametersLeavesNoProgramBehind)
{
    auto& menu = start();
    menu.optIdioma->click();
    menu.close(); // its close box
    EXPECT_FALSE(programEnded) << "the parameters are still open";
    Forms::loaded<frmIdioma>()->close();
    EXPECT_EQ(Forms::loaded<frmMenu>(), nullptr);
    EXPECT_TRUE(programEnded);
}

TEST_F(MenuTest, SalirFromTheMenuEndsTheProgram)
{
    start().mnuSalir->trigger();
    EXPECT_TRUE(programEnded);
    EXPECT_EQ(Forms::loaded<frmMenu>(), nullptr);
}

TEST_F(MenuTest, TheUpdatePageOpensInItsPanel)
{
    EXPECT_EQ(frmMenu::PaginaActualizaciones().scheme(), u("https")) << "never over plain http";

    testing_support::LocalWebServer servidor("<p>Versión 5.2 disponible</p>");
    frmMenu::setServidorActualizaciones(servidor.root());
    auto& menu = start();
    QSignalSpy cargada(menu.WebBrowser1, &platform::WebPanel::loaded);
    menu.cmdActualizar->click();
    EXPECT_TRUE(isShown(menu.WebBrowser1));
    EXPECT_TRUE(isShown(menu.cmdCerrarInternet));
    const QUrl url = menu.WebBrowser1->LocationURL();
    EXPECT_EQ(url.path(), u("/index.php"));
    EXPECT_EQ(QUrlQuery(url).queryItemValue(u("id_soft")), u("6/"));
    ASSERT_TRUE(cargada.wait(5000));
    EXPECT_TRUE(menu.WebBrowser1->toPlainText().contains(u("Versión 5.2")));
    menu.cmdCerrarInternet->click();
    EXPECT_FALSE(isShown(menu.WebBrowser1));
    EXPECT_FALSE(isShown(menu.cmdCerrarInternet));
}

TEST_F(MenuTest, AboutBoxStartsTheSystemInformationWhereThereIsOne)
{
    platform::ScopedService<platform::Registry> registry(platform::registrySlot(), std::make_unique<FakeRegistry>());
    auto& fake = static_cast<FakeRegistry&>(*registry);

    start().mnuAcerca->trigger();
    auto& about = *Forms::loaded<frmAcercade>();
    EXPECT_EQ(about.windowTitle(), u("Acerca de Tervalo"));
    EXPECT_TRUE(about.imgAcerca->pixmap().isNull()) << "a missing logo leaves the picture empty";
    EXPECT_FALSE(Forms::loaded<frmMenu>()->isHidden());

    about.cmdSysInfo->click();
    EXPECT_EQ(msg().texts(), QStringList{u("La información del sistema no está disponible en este momento")});

    fake.values[u("SOFTWARE\\Microsoft\\Shared Tools Location|MSINFO")] = u("C:\\Info");
    about.cmdSysInfo->click();
    EXPECT_EQ(msg().shown().size(), 2u) << "the folder holds no MSINFO32.EXE";

    writeFile("C:\\Info\\MSINFO32.EXE", "x");
    about.cmdSysInfo->click();
    EXPECT_EQ(fakeLauncher().started, QStringList{host("C:\\Info\\MSINFO32.EXE")});

    fake.values[u("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO|PATH")] = u("/usr/bin/hardinfo");
    about.cmdSysInfo->click();
    EXPECT_EQ(fakeLauncher().started.last(), u("/usr/bin/hardinfo"));

    about.cmdOK->click();
    EXPECT_EQ(Forms::loaded<frmAcercade>(), nullptr);
}

// The server address typed into its masked box: each octet checked as it is
// typed, the box as it reads after the keys (cursor too), the messages shown,
// and what the address box holds once the masked one is left.
TEST_F(MenuTest, TheMaskedAddressChecksEachOctetAsItIsTyped)
{
    auto& menu = start();
    menu.cmdConfigurar->click();
    menu.txtIp_DblClick();
    EXPECT_EQ(menu.mskIp->Text(), u("___.___.___.___"));
    const QString superio = u("No es posible un valor de campo superio a 255");
    const struct {
        const char* pegado; // put there without the key checks, as a paste would
        const char* teclas;
        const char* caja;
        int cursor;
        QStringList mensajes;
        const char* direccion; // once the box is left; nullptr: not left
    } casos[] = {
        {nullptr, "300", "___.___.___.___", 0, {superio}, nullptr},
        {nullptr, "1.256", "1  .___.___.___", 4, {u("No es posible un valor de campo superior a 255")}, nullptr},
        {nullptr, "1.2.300", "1  .2  .___.___", 8, {superio}, nullptr},
        {nullptr, "1.2.3.256", "1  .2  .3  .___", 12, {superio}, nullptr},
        {nullptr, "1a9x2.16-8.1.5", "192.168.1  .5  ", -1, {}, "192.168.1.5"},
        {"192.999.1  .5__", "", "192.___.1  .5  ", -1, {}, "192..1.5"},
        {nullptr, "", "___.___.___.___", -1, {}, "..."},
        {nullptr, "   ", "   .___.___.___", -1, {}, "..."},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.teclas);
        menu.txtIp_DblClick();
        menu.mskIp->setText(caso.pegado ? u(caso.pegado) : menu.mskIp->emptyText());
        menu.mskIp->setSelStart(0);
        const auto antes = msg().texts().size();
        for (const char* k = caso.teclas; *k; ++k)
            menu.mskIp->typeKey(static_cast<unsigned char>(*k));
        EXPECT_EQ(msg().texts().mid(antes), caso.mensajes);
        if (caso.cursor >= 0) {
            EXPECT_EQ(menu.mskIp->SelStart(), caso.cursor);
        }
        if (caso.direccion) {
            ASSERT_TRUE(menu.mskIp->leaveFocus());
            EXPECT_EQ(menu.txtIp->text(), u(caso.direccion));
            EXPECT_TRUE(isShown(menu.txtIp) && !isShown(menu.mskIp));
        }
        EXPECT_EQ(menu.mskIp->Text(), u(caso.caja));
    }
    EXPECT_EQ(msg().shown().front().style, 16);

    // A refused octet is cleared once: the next key goes in without a message.
    menu.txtIp_DblClick();
    menu.mskIp->setText(menu.mskIp->emptyText());
    menu.mskIp->setSelStart(0);
    for (const char k : std::string("3009"))
        menu.mskIp->typeKey(static_cast<unsigned char>(k));
    EXPECT_EQ(msg().shown().size(), 5u);
    // The last dot moves on to the user name.
    menu.mskIp->setText(menu.mskIp->emptyText());
    menu.mskIp->setSelStart(0);
    for (const char k : std::string("10.0.0.7."))
        menu.mskIp->typeKey(static_cast<unsigned char>(k));
    EXPECT_FALSE(isShown(menu.mskIp));
    EXPECT_EQ(menu.txtIp->text(), u("10.0.0.7"));
}

// The focus moves without the masked box being told while the window is not
// active (after a message, on a desktop without a window manager): Guardar
// saves the address the masked box shows, and nothing typed there reaches
// the other boxes.
TEST_F(MenuTest, TheMaskedAddressIsSavedAsShownWhateverTheFocusDid)
{
    ActualizarConfiguracion([](DatosConfiguracion& d) {
        d.Ip = u("192.168.1.5");
        d.Usuario = u("oficina");
    });
    auto& menu = start();
    activar(&menu);
    const QString superio = u("No es posible un valor de campo superio a 255");
    const auto direccion = [] { return LeerConfiguracion().Ip.trimmed(); };
    clic(menu.cmdConfigurar);
    QTest::mouseDClick(menu.txtIp, Qt::LeftButton);
    QTest::keyClicks(menu.mskIp, u("300"));
    EXPECT_EQ(msg().texts(), QStringList{superio});
    testing_support::takeActivationAway();
    QTest::keyClicks(menu.mskIp, u("10.0.0.2"));
    QTest::mouseClick(menu.txtPassword, Qt::LeftButton);
    clic(menu.CmdGuardar);
    EXPECT_EQ(direccion(), u("10.0.0.2"));
    EXPECT_EQ(LeerConfiguracion().Usuario.trimmed(), u("oficina"));

    // Opened again: the address as saved, and a double click starts an empty mask.
    activar(&menu);
    clic(menu.cmdConfigurar);
    EXPECT_TRUE(isShown(menu.txtIp) && !isShown(menu.mskIp));
    EXPECT_EQ(menu.txtIp->text(), u("10.0.0.2"));
    QTest::mouseDClick(menu.txtIp, Qt::LeftButton);
    EXPECT_EQ(menu.mskIp->Text(), u("___.___.___.___"));
    QTest::keyClicks(menu.mskIp, u("10.0.0.3"));
    // A click on another box while the window is not active: the entry ends
    // when the window gets the activation back with the focus there.
    testing_support::takeActivationAway();
    QTest::mouseClick(menu.txtUsuario, Qt::LeftButton);
    activar(&menu);
    EXPECT_TRUE(isShown(menu.txtIp) && !isShown(menu.mskIp));
    EXPECT_EQ(menu.txtIp->text(), u("10.0.0.3"));
    EXPECT_EQ(menu.txtUsuario->text(), u("oficina"));

    // An octet above 255 put there without a key (a paste by the mouse) and
    // never left: Guardar refuses it, and nothing is saved.
    QTest::mouseDClick(menu.txtIp, Qt::LeftButton);
    menu.mskIp->setText(u("999.1  .1  .1  "));
    testing_support::takeActivationAway();
    clic(menu.CmdGuardar);
    EXPECT_EQ(msg().texts().last(), superio);
    EXPECT_EQ(direccion(), u("10.0.0.2"));
    EXPECT_EQ(menu.mskIp->Text(), u("___.1  .1  .1  "));
    EXPECT_EQ(menu.focusWidget(), menu.mskIp);

    // Cerrar ends the entry with the panel; nothing is saved.
    clic(menu.cmdCerrar);
    clic(menu.cmdConfigurar);
    EXPECT_TRUE(isShown(menu.txtIp) && !isShown(menu.mskIp));
    EXPECT_EQ(menu.txtIp->text(), u("10.0.0.2"));
}
