// Filling a three-page contract template at 80 bookmarks and saving it,
// against opening and saving the same file untouched, in both formats.
// Both sides wait alike for the file to reach the disk, which hides in the
// wall time what the filling costs: the target is on the CPU time, a fill
// takes at most 1.3 times a plain open-and-save.
#include "DocumentFiles.h"

#include "platform/Document.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <vector>

using namespace testing_support;

namespace {

constexpr int kMarcas = 80;

const char* const kClausula =
    "El trabajador prestará sus servicios como los del grupo profesional indicado, de acuerdo con el sistema de "
    "clasificación profesional vigente en la empresa, con la jornada, horario y lugar de trabajo que se "
    "establecen en este contrato y en el convenio colectivo de aplicación, percibiendo la retribución bruta "
    "pactada, que se distribuye en los conceptos salariales que figuran en el recibo de salarios. ";

// Three pages of clauses; paragraphs carry the marks after their labels.
SampleDocument plantilla()
{
    SampleDocument d;
    int marca = 1;
    for (int p = 0; p < 30; ++p) {
        Paragraph paragraph{bold(QStringLiteral("Cláusula %1. ").arg(p + 1)), text(QString::fromUtf8(kClausula))};
        const int marcas = p < 20 ? 3 : 2;
        for (int m = 0; m < marcas && marca <= kMarcas; ++m, ++marca) {
            const QString nombre = QStringLiteral("M%1").arg(marca, 4, 10, QLatin1Char('0'));
            paragraph.push_back(text(QStringLiteral(" Dato %1: ").arg(marca)));
            paragraph.push_back(start(nombre));
            paragraph.push_back(end(nombre));
        }
        d.body.push_back(paragraph);
    }
    d.pageBreaks = true;
    return d;
}

struct Ficheros {
    QTemporaryDir carpeta;
    QString rtf;
    QString docx;
    Ficheros()
    {
        rtf = escribir(QStringLiteral("Plantilla.rtf"), toRtf(plantilla()));
        docx = escribir(QStringLiteral("Plantilla.docx"), toDocx(plantilla()));
    }
    QString escribir(const QString& nombre, const QByteArray& contenido)
    {
        const QString ruta = carpeta.filePath(nombre);
        QFile f(ruta);
        f.open(QIODevice::WriteOnly);
        f.write(contenido);
        return ruta;
    }
    QString salida() const { return carpeta.filePath(QStringLiteral("0012300045.doc")); }
};

Ficheros& ficheros()
{
    static Ficheros f;
    return f;
}

const QString& plantillaDe(int formato)
{
    return formato == 0 ? ficheros().rtf : ficheros().docx;
}

void Rellenar(benchmark::State& state)
{
    const QString origen = plantillaDe(static_cast<int>(state.range(0)));
    std::vector<std::pair<QString, QString>> valores; // made once: what is timed is the document's work
    for (int m = 1; m <= kMarcas; ++m)
        valores.emplace_back(QStringLiteral("M%1").arg(m, 4, 10, QLatin1Char('0')), QStringLiteral("Valor %1").arg(m));
    for (auto _ : state) {
        platform::Document doc = platform::Document::open(origen);
        for (const auto& [marca, valor] : valores)
            doc.insertAfter(marca, valor);
        doc.saveAs(ficheros().salida());
    }
}

void AbrirYGuardar(benchmark::State& state)
{
    const QString origen = plantillaDe(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        platform::Document doc = platform::Document::open(origen);
        doc.saveAs(ficheros().salida());
    }
}

BENCHMARK(Rellenar)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(AbrirYGuardar)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

struct Tiempos {
    double real = 0;
    double cpu = 0;
};

// Keeps the times to print the ratios of each format at the end.
class Informe : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            // With --benchmark_repetitions the median stands for the runs.
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                tiempos[run.run_name.str()] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, Tiempos> tiempos;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    ficheros(); // the templates are written before anything is timed
    Informe informe;
    benchmark::RunSpecifiedBenchmarks(&informe);
    const char* const nombres[] = {"RTF", "DOCX"};
    for (int f = 0; f < 2; ++f) {
        const std::string arg = "/" + std::to_string(f);
        const auto relleno = informe.tiempos.find("Rellenar" + arg);
        const auto plano = informe.tiempos.find("AbrirYGuardar" + arg);
        if (relleno == informe.tiempos.end() || plano == informe.tiempos.end())
            continue;
        const Tiempos& r = relleno->second;
        const Tiempos& p = plano->second;
        std::printf("%-4s relleno de %d marcas: %.3f ms (CPU %.3f ms); abrir y guardar: %.3f ms (CPU %.3f ms); "
                    "proporción %.2f, en CPU %.2f (objetivo en CPU <= 1.3)\n",
                    nombres[f], kMarcas, r.real, r.cpu, p.real, p.cpu, r.real / p.real, r.cpu / p.cpu);
    }
    benchmark::Shutdown();
    return 0;
}
