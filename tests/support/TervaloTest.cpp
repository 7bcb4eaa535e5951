#include "TervaloTest.h"

#include "common/Module1.h"
#include "common/frmAyuda.h"
#include "data/Esquema.h"
#include "platform/DBGrid.h"
#include "platform/Forms.h"
#include "platform/Paths.h"
#include "platform/SingleInstance.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

namespace testing_support {

FileSizeLimit::FileSizeLimit(long long bytes)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    previous_ = static_cast<long long>(limit.rlim_cur);
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = static_cast<rlim_t>(previous_);
    setrlimit(RLIMIT_FSIZE, &limit);
}

TervaloTest::TervaloTest()
    : messages(platform::messageBoxesSlot(), std::make_unique<ScriptedMessageBoxes>()),
      clock(platform::clockSlot(), std::make_unique<FakeClock>(QDateTime(QDate(2026, 12, 6), QTime(10, 0)))),
      screen(platform::screenSlot(), std::make_unique<FakeScreen>(1024, 768)),
      launcher(platform::launcherSlot(), std::make_unique<FakeLauncher>()),
      officeSuite(platform::officeSlot(), std::make_unique<FakeOffice>()),
      printer(platform::printerSlot(), std::make_unique<FakePrinter>()),
      desktop(platform::desktopWindowsSlot(), std::make_unique<FakeDesktopWindows>()),
      previousDrive_(qgetenv("TERVALO_C")),
      previousTemp_(qgetenv("TMPDIR"))
{
    qputenv("TERVALO_C", driveC.path().toUtf8());
    QDir().mkpath(driveC.filePath(QStringLiteral("Temp")));
    qputenv("TMPDIR", driveC.filePath(QStringLiteral("Temp")).toUtf8());
    ReiniciarVariablesGlobales();
    frmAyuda::ModoAyuda = false;
    platform::Forms::reset();
    platform::Forms::setEndHandler([this] { programEnded = true; });
}

TervaloTest::~TervaloTest()
{
    platform::Forms::reset();
    platform::Forms::setEndHandler({});
    platform::SingleInstance::release();
    ReiniciarVariablesGlobales();
    for (const auto& [name, previous] : {std::pair{"TERVALO_C", &previousDrive_}, {"TMPDIR", &previousTemp_}}) {
        if (previous->isEmpty())
            qunsetenv(name);
        else
            qputenv(name, *previous);
    }
}

QString TervaloTest::host(const char* windowsPath)
{
    return platform::hostPath(QString::fromUtf8(windowsPath));
}

void TervaloTest::writeFile(const char* windowsPath, const QByteArray& content)
{
    const QString path = host(windowsPath);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray TervaloTest::readFile(const char* windowsPath)
{
    QFile file(host(windowsPath));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool TervaloTest::exists(const char* windowsPath)
{
    return QFileInfo::exists(host(windowsPath));
}

void TervaloTest::instalado()
{
    writeFile("C:\\Quelvan\\Dorvane\\Actu", "Si");
    writeFile("C:\\Quelvan\\Dorvane\\configold", "");
}

void TervaloTest::activar(QWidget* window)
{
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
}

void TervaloTest::clic(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

static platform::Database baseDeDatos()
{
    esquema::crearBasesDeDatosQueFalten();
    RutaBaseDatos();
    return AbrirBaseDatos();
}

BaseDatosTest::BaseDatosTest() : db(baseDeDatos()) {}

qint64 BaseDatosTest::insertar(const char* tabla, const platform::Row& campos)
{
    return db.insert(QString::fromUtf8(tabla), campos);
}

QStringList BaseDatosTest::columna(const QString& sql, const QVariantList& valores) const
{
    QStringList out;
    for (const auto& fila : db.select(sql, valores)) {
        const QVariant& v = fila.fields().front().second;
        out << (v.isNull() ? QStringLiteral("-") : v.toString());
    }
    return out;
}

QVariant BaseDatosTest::valor(const QString& sql, const QVariantList& valores) const
{
    const auto fila = db.first(sql, valores);
    return fila ? fila->fields().front().second : QVariant();
}

QStringList BaseDatosTest::filas(const char* tabla) const
{
    QStringList out;
    for (const auto& fila : db.select(QStringLiteral("SELECT * FROM \"%1\" ORDER BY 1").arg(u(tabla)))) {
        QStringList campos;
        for (const auto& [nombre, v] : fila.fields())
            campos << (v.isNull() ? QStringLiteral("-") : v.toString());
        out << campos.join(QLatin1Char('|'));
    }
    return out;
}

int BaseDatosTest::cuenta(const char* tabla) const
{
    return valor(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(u(tabla))).toInt();
}

QStringList textos(const platform::DBGrid* grid, int col)
{
    QStringList textos;
    for (int r = 0; r < grid->rowCount(); ++r)
        textos << grid->item(r, col)->text();
    return textos;
}

static QPoint centro(platform::DBGrid* grid, int fila)
{
    return grid->visualRect(grid->model()->index(fila, 1)).center();
}

void pulsarFila(platform::DBGrid* grid, int fila)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centro(grid, fila));
}

void dobleClic(platform::DBGrid* grid, int fila)
{
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, centro(grid, fila));
}

void pulsarCaracter(QWidget* widget, const QString& character)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, character);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, character);
    QApplication::sendEvent(widget, &release);
}

void componer(QWidget* widget, const QString& text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(widget, &event);
}

} // namespace testing_support
