#include "TervaloTest.h"

#include "common/Module1.h"
#include "common/frmAyuda.h"
#include "platform/Forms.h"
#include "platform/Paths.h"
#include "platform/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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
      previousDrive_(qgetenv("TERVALO_C"))
{
    qputenv("TERVALO_C", driveC.path().toUtf8());
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
    if (previousDrive_.isEmpty())
        qunsetenv("TERVALO_C");
    else
        qputenv("TERVALO_C", previousDrive_);
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

} // namespace testing_support
