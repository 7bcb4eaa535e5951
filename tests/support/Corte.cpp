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

CasoHijo EjecutarCasoHijo(const char* caso, const std::map<QString, QString>& entorno, int segundos)
{
    QProcess hijo;
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (const auto& [nombre, valor] : entorno)
        variables.insert(nombre, valor);
    hijo.setProcessEnvironment(variables);
    hijo.setProcessChannelMode(QProcess::MergedChannels);
    hijo.start(QCoreApplication::applicationFilePath(),
               {QStringLiteral("--gtest_also_run_disabled_tests"), QStringLiteral("--gtest_filter=") + caso});
    CasoHijo fin;
    fin.termino = hijo.waitForFinished(segundos * 1000);
    if (!fin.termino) {
        hijo.kill();
        hijo.waitForFinished();
        ADD_FAILURE() << "the child " << caso << " did not end";
        return fin;
    }
    fin.cortado = hijo.exitStatus() == QProcess::CrashExit;
    fin.codigo = hijo.exitCode();
    fin.salida = hijo.readAll();
    return fin;
}

bool CortarEnElPaso(const char* caso, int paso)
{
    // The child keeps the caller's temporary folder, inside its drive C:, so
    // what a killed child leaves there goes away with the caller's folder.
    const CasoHijo fin = EjecutarCasoHijo(caso,
                                          {{QString::fromLatin1(kUnidad), qEnvironmentVariable("TERVALO_C")},
                                           {QString::fromLatin1(kPaso), QString::number(paso)}},
                                          60);
    if (!fin.termino)
        return false;
    if (fin.cortado)
        return true;
    EXPECT_TRUE(fin.codigo == 0 && fin.salida.contains("[  PASSED  ] 1 test")) << fin.salida.constData();
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
