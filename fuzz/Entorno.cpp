#include "Entorno.h"

#include "Drivers.h"

#include "data/Esquema.h"
#include "platform/Clock.h"
#include "platform/Database.h"
#include "platform/MessageBoxes.h"
#include "platform/Office.h"
#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace fuzz {

namespace {

// With TERVALO_FUZZ_MENSAJES set, each message is also printed, to see what
// an input makes the program say.
class MensajesPorDefecto final : public platform::MessageBoxes {
public:
    platform::Answer show(const QString& text, int style, const QString&) override
    {
        if (mostrar_)
            std::fprintf(stderr, "MsgBox %d: %s\n", style, text.toLocal8Bit().constData());
        return platform::defaultAnswer(style);
    }

private:
    bool mostrar_ = qEnvironmentVariableIsSet("TERVALO_FUZZ_MENSAJES");
};

class RelojQuieto final : public platform::Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2026, 12, 6), QTime(10, 0)); }
    void wait(double) override {}
};

class SinProcesadorDeTextos final : public platform::Office {
public:
    void show(const QString&, platform::View) override { throw platform::OfficeError(QStringLiteral("sin LibreOffice"), true); }
    void print(const QString&, platform::PageSet, int) override
    {
        throw platform::OfficeError(QStringLiteral("sin LibreOffice"), true);
    }
    QByteArray convert(const QString&, const QString&) override
    {
        throw platform::OfficeError(QStringLiteral("sin LibreOffice"), true);
    }
    bool isShowing(const QString&) override { return false; }
    bool isOpen(const QString&) override { return false; }
};

QString ruta(const char* windowsPath)
{
    return platform::hostPath(QString::fromUtf8(windowsPath));
}

} // namespace

void Preparar()
{
    static const bool hecho = [] {
        if (!QCoreApplication::instance()) {
            static int argc = 1;
            static char nombre[] = "tervalo_fuzz";
            static char* argv[] = {nombre, nullptr};
            new QCoreApplication(argc, argv);
        }
        static QTemporaryDir unidadC;
        if (!unidadC.isValid())
            Fallo(QStringLiteral("no se puede crear la carpeta temporal"));
        qputenv("TERVALO_C", unidadC.path().toUtf8());
        QDir().mkpath(unidadC.filePath(QStringLiteral("Temp")));
        qputenv("TMPDIR", unidadC.filePath(QStringLiteral("Temp")).toUtf8());
        platform::messageBoxesSlot().replace(std::make_unique<MensajesPorDefecto>());
        platform::clockSlot().replace(std::make_unique<RelojQuieto>());
        platform::officeSlot().replace(std::make_unique<SinProcesadorDeTextos>());
        return true;
    }();
    (void)hecho;
}

void Escribir(const char* windowsPath, const uint8_t* data, std::size_t size)
{
    const QString path = ruta(windowsPath);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) != static_cast<qint64>(size))
        Fallo(QStringLiteral("no se puede escribir ") + path);
}

void Borrar(const char* windowsPath)
{
    const QString path = ruta(windowsPath);
    if (QFileInfo(path).isDir())
        QDir(path).removeRecursively();
    else
        QFile::remove(path);
}

platform::Database& BaseDeDatos()
{
    static platform::Database db = [] {
        auto nueva = platform::Database::openOrCreate(QStringLiteral(":memory:"));
        esquema::crear(nueva);
        return nueva;
    }();
    return db;
}

void Vaciar(platform::Database& db)
{
    for (const platform::Row& tabla :
         db.select(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite%'")))
        db.exec(QStringLiteral("DELETE FROM ") + platform::quoteName(tabla.text(QStringLiteral("name"))));
    db.exec(QStringLiteral("DELETE FROM sqlite_sequence"));
}

void Fallo(const QString& que)
{
    std::fprintf(stderr, "FALLO: %s\n", que.toLocal8Bit().constData());
    std::abort();
}

const std::vector<Driver>& Drivers()
{
    static const std::vector<Driver> drivers{
        {"documento", Documento}, {"documento_xml", DocumentoXml}, {"registro", Registro},
        {"modelos", Modelos},     {"contratos", Contratos},        {"configuracion", Configuracion},
    };
    return drivers;
}

} // namespace fuzz
