#include "Corte.h"

#include "common/Module1.h"
#include "platform/Checkpoint.h"

#include <QCoreApplication>
#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>

namespace testing_support {

namespace {
constexpr const char* kUnidad = "TERVALO_CORTE_C";
constexpr const char* kPaso = "TERVALO_CORTE_PASO";
} // namespace

bool CortarEnElPaso(const char* caso, int paso)
{
    QProcess hijo;
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert(QString::fromLatin1(kUnidad), qEnvironmentVariable("TERVALO_C"));
    entorno.insert(QString::fromLatin1(kPaso), QString::number(paso));
    // The child keeps the caller's temporary folder, inside its drive C:, so
    // what a killed child leaves there goes away with the caller's folder.
    hijo.setProcessEnvironment(entorno);
    hijo.setProcessChannelMode(QProcess::MergedChannels);
    hijo.start(QCoreApplication::applicationFilePath(),
               {QStringLiteral("--gtest_also_run_disabled_tests"), QStringLiteral("--gtest_filter=") + caso});
    if (!hijo.waitForFinished(60000)) {
        hijo.kill();
        hijo.waitForFinished();
        ADD_FAILURE() << "the child " << caso << " did not end";
        return false;
    }
    if (hijo.exitStatus() == QProcess::CrashExit)
        return true;
    const QByteArray salida = hijo.readAll();
    EXPECT_TRUE(hijo.exitCode() == 0 && salida.contains("[  PASSED  ] 1 test")) << salida.constData();
    return false;
}

bool EnProcesoCortado()
{
    const QByteArray unidad = qgetenv(kUnidad);
    if (unidad.isEmpty())
        return false;
    qputenv("TERVALO_C", unidad);
    RutaBaseDatos();
    platform::setCheckpointHook([paso = qEnvironmentVariableIntValue(kPaso), vistos = 0]() mutable {
        if (++vistos == paso)
            std::raise(SIGKILL);
    });
    return true;
}

} // namespace testing_support
