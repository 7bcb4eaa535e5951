// Start-up at the size of a large office: the one-time move of an old
// database with 10,000 companies and 100,000 workers, and the main window's
// first load with 80,000 of those workers in the expiry alerts.
//   build/benchmarks/bench_arranque

#include "app/frmMenu.h"
#include "common/Module1.h"
#include "data/ActualizacionBD.h"
#include "data/Configuracion.h"
#include "data/Esquema.h"
#include "platform/Clock.h"
#include "platform/Database.h"
#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "platform/MessageBoxes.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kEmpresas = 10000;
constexpr int kTrabajadores = 100000;

// Waits return at once: the pauses of the start-up are not what is measured.
class RelojInmediato final : public platform::Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2026, 12, 6), QTime(10, 0)); }
    void wait(double) override {}
};

class MensajesMudos final : public platform::MessageBoxes {
public:
    platform::Answer show(const QString&, int style, const QString&) override { return platform::defaultAnswer(style); }
};

// Runs a benchmark in a folder of its own standing for drive C:.
class Unidad {
public:
    Unidad()
        : reloj_(platform::clockSlot(), std::make_unique<RelojInmediato>()),
          mensajes_(platform::messageBoxesSlot(), std::make_unique<MensajesMudos>())
    {
        qputenv("TERVALO_C", carpeta_.path().toUtf8());
        QDir().mkpath(platform::programFolder());
        RutaBaseDatos();
    }
    static QString ruta(const char* windows) { return platform::hostPath(QString::fromLatin1(windows)); }

private:
    QTemporaryDir carpeta_;
    platform::ScopedService<platform::Clock> reloj_;
    platform::ScopedService<platform::MessageBoxes> mensajes_;
};

// A database of the previous generation, full: no EMPRESACLAUSULA.
void crearBaseAntigua(const QString& fichero)
{
    auto db = platform::Database::openOrCreate(fichero);
    db.exec(QStringLiteral(R"(CREATE TABLE Empresas (IdEmpresa INTEGER PRIMARY KEY AUTOINCREMENT,
        "NúmeroEmpresa" TEXT, NombreEmpresa TEXT, NIF TEXT, "Dirección" TEXT, Localidad TEXT, Provincia TEXT,
        "CódPostal" TEXT, "NúmTeléfono" TEXT, "NúmFax" TEXT, "DirCorreoElectrónico" TEXT, Observaciones TEXT,
        Actividad TEXT, Cuenta TEXT, Pais TEXT, Clausula1 INTEGER, Clausula2 INTEGER, Clausula3 INTEGER,
        Clausula4 INTEGER, Clausula5 INTEGER, Clausula6 INTEGER))"));
    db.exec(QStringLiteral(R"(CREATE TABLE Trabajadores (IdTrabajador INTEGER PRIMARY KEY AUTOINCREMENT,
        IdEmpresa TEXT, "NúmeroTrabajador" INTEGER, NombreTrabajador TEXT, NumEmpresa TEXT, NIF TEXT,
        FechaNacimiento TEXT, NumSS TEXT, NivelFormativo TEXT, Nacionalidad TEXT, Municipio TEXT, Pais TEXT,
        Observaciones TEXT, FechaContrato TEXT, TipoContrato TEXT, Contrato TEXT, IdContrato INTEGER,
        Domicilio TEXT, Localidad TEXT, "CódPostal" TEXT, "Teléfono" TEXT, Categoria_Laboral TEXT, Empresa TEXT,
        FechaAlta TEXT, FechaBaja TEXT, EnviadoCliente TEXT, RecibidoCliente TEXT, EnviadoInem TEXT,
        RecogidoInem TEXT, ReenviadoCliente TEXT, FechaInicioProrroga TEXT, Duracion TEXT, NumProrroga INTEGER,
        FechaInicioPrimerContrato TEXT, NIF14 TEXT, FechaVencimiento TEXT))"));
    db.exec(QStringLiteral("CREATE TABLE Clausulas (IdClausula INTEGER PRIMARY KEY AUTOINCREMENT, Clausula TEXT)"));

    platform::Transaction t(db);
    for (int c = 1; c <= 20; ++c)
        db.exec(QStringLiteral("INSERT INTO Clausulas (Clausula) VALUES (?)"), {QStringLiteral("Cláusula %1").arg(c)});
    for (int e = 0; e < kEmpresas; ++e) {
        db.exec(QStringLiteral(R"(INSERT INTO Empresas ("NúmeroEmpresa", NombreEmpresa, NIF, "Dirección", Localidad,
            Provincia, "CódPostal", "NúmTeléfono", Cuenta, Pais, Clausula1, Clausula2) VALUES
            (?, ?, ?, 'C/ Mayor 1', 'Valencia', 'Valencia', '46001', '961234567', '46/1234567/89', 'España', ?, 0))"),
                {QStringLiteral("%1").arg(e, 5, 10, QLatin1Char('0')), QStringLiteral("Empresa %1 S.L.").arg(e),
                 QStringLiteral("B%1").arg(e, 8, 10, QLatin1Char('0')), e % 20 + 1});
    }
    for (int w = 0; w < kTrabajadores; ++w) {
        const int empresa = w % kEmpresas;
        db.exec(QStringLiteral(R"(INSERT INTO Trabajadores (IdEmpresa, "NúmeroTrabajador", NombreTrabajador,
            NumEmpresa, NIF, FechaNacimiento, NumSS, Nacionalidad, Pais, FechaContrato, TipoContrato, Contrato,
            Domicilio, Localidad, "CódPostal", Categoria_Laboral, Empresa, FechaAlta, EnviadoCliente,
            RecibidoCliente, EnviadoInem, RecogidoInem, ReenviadoCliente, FechaInicioProrroga, Duracion, NIF14)
            VALUES (?, ?, ?, ?, '12345678Z', '05/03/1980', '461234567890', 'Española', 'España', '01/02/2026',
            'Temporal', 'Obra o servicio', 'C/ Menor 2', 'Valencia', '46002', 'Oficial', ?, '01/02/2026',
            'Si', 'Si', 'No', 'No', 'No', '01/06/2026', '6 Meses  ', '12345678Z'))"),
                {empresa + 1, w / kEmpresas + 1, QStringLiteral("Trabajador %1").arg(w),
                 QStringLiteral("%1").arg(empresa, 5, 10, QLatin1Char('0')), QStringLiteral("Empresa %1 S.L.").arg(empresa)});
    }
    t.commit();
}

void BM_TraspasoBaseAntigua(benchmark::State& state)
{
    Unidad unidad;
    const QString trabajo = Unidad::ruta(kRutaBaseDatos);
    const QString modelo = trabajo + QStringLiteral(".modelo");
    crearBaseAntigua(modelo);
    esquema::crearSiFalta(Unidad::ruta(kRutaBaseDatosVacia));

    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(trabajo);
        QFile::remove(Unidad::ruta("C:\\basedatosantigua.mdb"));
        QFile::copy(modelo, trabajo);
        state.ResumeTiming();
        if (ActualizarBaseDatos() != ResultadoActualizacion::Migrada)
            state.SkipWithError("the old database was not moved");
    }
    state.counters["empresas"] = kEmpresas;
    state.counters["trabajadores"] = kTrabajadores;
}
BENCHMARK(BM_TraspasoBaseAntigua)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_AvisosPrimeraCarga(benchmark::State& state)
{
    Unidad unidad;
    esquema::crearBasesDeDatosQueFalten();
    GrabarConfiguracion([] {
        DatosConfiguracion d;
        d.Avisos = QStringLiteral("Si");
        d.DiasAviso = QStringLiteral("30");
        return d;
    }());
    {
        // Four in five extensions end within the 30 days.
        auto db = AbrirBaseDatos();
        platform::Transaction t(db);
        for (int w = 0; w < kTrabajadores; ++w) {
            db.exec(QStringLiteral(R"(INSERT INTO Trabajadores (NombreTrabajador, NumEmpresa, NIF14, Duracion,
                FechaInicioProrroga) VALUES (?, ?, '12345678Z', ?, ?))"),
                    {QStringLiteral("TRABAJADOR NÚMERO %1").arg(w), QStringLiteral("%1").arg(w % kEmpresas, 5, 10, QLatin1Char('0')),
                     w % 5 == 0 ? QStringLiteral("12 Meses  15 Días") : QStringLiteral("6 Meses  "),
                     QStringLiteral("2026-06-01")});
        }
        t.commit();
    }

    for (auto _ : state) {
        PrimeraCarga.clear();
        auto& menu = platform::Forms::get<frmMenu>();
        state.PauseTiming();
        if (menu.mshAvisos->Rows() != 1 + kTrabajadores * 4 / 5)
            state.SkipWithError("the alerts do not list the workers expected");
        platform::Forms::reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AvisosPrimeraCarga)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    platform::Forms::setEndHandler([] {});
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
