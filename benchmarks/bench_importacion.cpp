// Import of contract records: 1,000 record files into an empty database (all
// new), then again (all known), measured against inserting the same 1,000
// companies and 1,000 workers through the database layer in one transaction.
//   build/benchmarks/bench_importacion

#include "common/Module1.h"
#include "data/Esquema.h"
#include "exchange/ContratoImportado.h"
#include "exchange/Importacion.h"
#include "platform/Database.h"
#include "platform/Files.h"
#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace exchange;

constexpr int kRegistros = 1000;

QString q(const char* texto)
{
    return QString::fromUtf8(texto);
}

QString numero(int n)
{
    return QStringLiteral("%1").arg(n, 5, 10, QLatin1Char('0'));
}

// Record i: company i with its worker, every field the import reads filled.
QByteArray registro(int i)
{
    QString texto(1720, QLatin1Char(' '));
    const auto poner = [&](Tramo t, const QString& valor) {
        texto.replace(t.posicion - 1, t.longitud, valor.leftJustified(t.longitud, QLatin1Char(' '), true));
    };
    for (const Campo& campo : CamposEmpresa())
        for (const Tramo& t : campo.tramos)
            poner(t, q("E%1").arg(i));
    for (const Campo& campo : CamposTrabajador())
        for (const Tramo& t : campo.tramos)
            poner(t, q("T%1").arg(i));
    for (const CampoFecha& fecha : FechasTrabajador())
        poner(fecha.tramo, q("15031970"));
    poner(kNumeroEmpresa, numero(i));
    poner(kNombreEmpresa, q("EMPRESA %1").arg(i));
    poner(kNifEmpresa, q("B%1").arg(i, 8, 10, QLatin1Char('0')));
    poner(kNumeroTrabajador, numero(i));
    poner(kNifTrabajador, q("%1Z").arg(i, 8, 10, QLatin1Char('0')));
    return platform::toCp1252(texto);
}

class Carpeta {
public:
    Carpeta()
    {
        qputenv("TERVALO_C", drive_.path().toUtf8());
        RutaBaseDatos();
    }

    // A fresh empty database.
    platform::Database baseVacia()
    {
        const QString fichero = platform::hostPath(q(kRutaBaseDatos));
        QFile::remove(fichero);
        esquema::crearBasesDeDatosQueFalten();
        return AbrirBaseDatos();
    }

    // The record files in ContratosImp, ContratosTemp empty; their paths.
    QStringList recibidos()
    {
        QDir(platform::hostPath(q(kContratosTemp))).removeRecursively();
        QDir().mkpath(platform::hostPath(q(kContratosTemp)));
        QDir().mkpath(platform::hostPath(q(kContratosImp)));
        for (int i = 1; i <= kRegistros; ++i) {
            QFile f(platform::hostPath(q(kContratosImp)) + QStringLiteral("/AB") + numero(i) + numero(i));
            f.open(QIODevice::WriteOnly);
            f.write(registros_[i - 1]);
        }
        return ListarFicheros(q(kContratosImp));
    }

    std::vector<QByteArray> registros_ = [] {
        std::vector<QByteArray> todos;
        for (int i = 1; i <= kRegistros; ++i)
            todos.push_back(registro(i));
        return todos;
    }();

private:
    QTemporaryDir drive_;
};

Carpeta& carpeta()
{
    static Carpeta instancia;
    return instancia;
}

// The rows the import makes of the records, inserted directly.
void BM_InsertarFilas(benchmark::State& state)
{
    std::vector<platform::Row> empresas;
    std::vector<platform::Row> trabajadores;
    for (const QByteArray& bytes : carpeta().registros_) {
        const RegistroContrato r = RegistroContrato::desdeBytes(bytes);
        platform::Row e;
        for (const Campo& c : CamposEmpresa())
            e.set(q(c.columna), r.valor(c));
        empresas.push_back(e);
        platform::Row t;
        for (const Campo& c : CamposTrabajador())
            t.set(q(c.columna), r.valor(c));
        for (const Marca& m : MarcasTrabajador())
            t.set(q(m.columna), q("No"));
        for (const CampoFecha& f : FechasTrabajador())
            t.set(q(f.columna), platform::dateValue(r.fecha(f).fecha));
        t.set(q("NúmeroTrabajador"), *r.numeroTrabajador());
        trabajadores.push_back(t);
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto db = carpeta().baseVacia();
        state.ResumeTiming();
        platform::Transaction transaccion(db);
        for (std::size_t i = 0; i < empresas.size(); ++i) {
            const qint64 id = db.insert(q("Empresas"), empresas[i]);
            platform::Row t = trabajadores[i];
            t.set(q("IdEmpresa"), QString::number(id));
            db.insert(q("Trabajadores"), t);
        }
        transaccion.commit();
    }
}

void BM_ImportarNuevas(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto db = carpeta().baseVacia();
        const QStringList ficheros = carpeta().recibidos();
        state.ResumeTiming();
        const auto resultado = ProcesarContratosImportados(db, ficheros);
        if (resultado.contadores.NuevasEmpresas != kRegistros)
            state.SkipWithError("not every company was new");
    }
}

void BM_ImportarConocidas(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto db = carpeta().baseVacia();
        ProcesarContratosImportados(db, carpeta().recibidos());
        const QStringList ficheros = carpeta().recibidos();
        state.ResumeTiming();
        const auto resultado = ProcesarContratosImportados(db, ficheros);
        if (resultado.contadores.NuevosTrabajadores != 0 || resultado.contadores.Ficheros != kRegistros)
            state.SkipWithError("not every worker was known");
    }
}

} // namespace

BENCHMARK(BM_InsertarFilas)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ImportarNuevas)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ImportarConocidas)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
