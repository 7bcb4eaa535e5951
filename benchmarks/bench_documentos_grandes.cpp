// Long contracts: what a fill and a copia básica cost grows with the
// document, not with the number of marks times its size.
//   build/benchmarks/bench_documentos_grandes [rounds]
//
// Rich text as WordPad writes it (never reset with \plain), 40 empty
// bookmarks spread through 5, 10 and 20 MB, and a sample contract's 50 KB;
// the bookmarks each alone, then each sharing its place with the copia
// básica's blank, as the sample templates have them:
// - copia básica: the contract filled at the 40 is opened, the insertions of
//   10 of them or of all 40 are taken out, and it is saved: 40 within 1.5
//   times 10;
// - fill: the template is opened, 10 or 40 values are written, and it is
//   saved: 40 within 1.35 times 10, the bookmarks alone or sharing their
//   place.
// CPU times; the two sides of a ratio run in turns, as often each, and their
// medians are compared. The machine may be shared: rerun when they look noisy.
// - memory: a .docx whose main part is 50 MB is opened, filled and saved in
//   a process of its own: its peak growth at most 4 times the main part (a
//   plain open-and-save beside it).
#include "DocumentFiles.h"
#include "PeakMemory.h"

#include "platform/Document.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

using namespace testing_support;

namespace {

constexpr int kMarcas = 40;
constexpr int kPocas = 10;

QStringList marcas(int cuantas, int paso = 1)
{
    QStringList lista;
    for (int m = 1; m <= kMarcas && lista.size() < cuantas; m += paso)
        lista << QStringLiteral("M%1").arg(m, 4, 10, QLatin1Char('0'));
    return lista;
}

// 10 of the 40, spread as they are.
QStringList pocas()
{
    return marcas(kPocas, kMarcas / kPocas);
}

QString valor(const QString& marca)
{
    return QStringLiteral("Valor de %1").arg(marca);
}

void escribir(const QString& ruta, const QByteArray& contenido)
{
    QFile f(ruta);
    if (!f.open(QIODevice::WriteOnly) || f.write(contenido) != contenido.size())
        qFatal("cannot write %s", qPrintable(ruta));
}

double cpu()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// The CPU milliseconds of each side over `rondas` turns, the first side
// first in even turns and second in odd ones.
std::pair<double, double> enTurnos(int rondas, const std::function<void()>& a, const std::function<void()>& b)
{
    std::vector<double> ta;
    std::vector<double> tb;
    for (int r = 0; r < rondas; ++r) {
        for (int lado = 0; lado < 2; ++lado) {
            const bool primero = (lado == 0) == (r % 2 == 0);
            const double antes = cpu();
            (primero ? a : b)();
            (primero ? ta : tb).push_back(cpu() - antes);
        }
    }
    return {mediana(ta), mediana(tb)};
}

void rellenar(const QString& plantilla, const QStringList& cuales, const QString& destino)
{
    platform::Document doc = platform::Document::open(plantilla);
    for (const QString& m : cuales)
        doc.insertAfter(m, valor(m));
    doc.saveAs(destino);
}

void copiaBasica(const QString& contrato, const QStringList& cuales, const QString& destino)
{
    platform::Document doc = platform::Document::open(contrato);
    if (!doc.removeInsertions(cuales).isEmpty())
        qFatal("the copia básica was unsure of %s", qPrintable(contrato));
    doc.saveAs(destino);
}

// Rich text of about `tamano` bytes, its marks each alone or each sharing its
// place with the copia básica's blank, as the sample templates have them:
// the fill and the copia básica of 10 marks and of 40.
void richText(const QTemporaryDir& carpeta, qint64 tamano, bool conBlancos, int rondas)
{
    const QString plantilla = carpeta.filePath(QStringLiteral("plantilla.rtf"));
    const QString contrato = carpeta.filePath(QStringLiteral("contrato.rtf"));
    const QString salida = carpeta.filePath(QStringLiteral("salida.rtf"));
    QStringList lugares = marcas(kMarcas);
    for (QString& m : lugares) {
        if (conBlancos)
            m = QStringLiteral("B") + m.mid(1) + u' ' + m;
    }
    escribir(plantilla, richTextWithoutPlain(tamano, lugares));
    rellenar(plantilla, marcas(kMarcas), contrato);

    const auto [rellenoPocas, rellenoTodas] = enTurnos(
        rondas, [&] { rellenar(plantilla, pocas(), salida); }, [&] { rellenar(plantilla, marcas(kMarcas), salida); });
    const auto [copiaPocas, copiaTodas] = enTurnos(
        rondas, [&] { copiaBasica(contrato, pocas(), salida); },
        [&] { copiaBasica(contrato, marcas(kMarcas), salida); });
    const double mb = double(tamano) / (1 << 20);
    const char* marcasDe = conBlancos ? "junto a su blanco" : "sueltas";
    // A contract's size is where the cost of each mark shows, not of the
    // document: there the times are what counts.
    const bool muestra = tamano < (1 << 20);
    std::printf("RTF %6.2f MB, marcas %-17s relleno:      %d marcas %8.2f ms, %d marcas %8.2f ms (CPU): "
                "proporción %5.2f %s\n",
                mb, marcasDe, kPocas, rellenoPocas, kMarcas, rellenoTodas, rellenoTodas / rellenoPocas,
                muestra ? "(tamaño de un contrato: sin objetivo de proporción)" : "(objetivo <= 1.35)");
    std::printf("RTF %6.2f MB, marcas %-17s copia básica: %d marcas %8.2f ms, %d marcas %8.2f ms (CPU): "
                "proporción %5.2f %s\n",
                mb, marcasDe, kPocas, copiaPocas, kMarcas, copiaTodas, copiaTodas / copiaPocas,
                muestra ? "(tamaño de un contrato: sin objetivo de proporción)" : "(objetivo <= 1.5)");
    std::fflush(stdout);
}

// A long contract as a .docx: clauses of a thousand characters after a bold
// label, the main part of about `tamano` bytes, with the 40 bookmarks spread
// through it; and the size of that part.
std::pair<QByteArray, qint64> docxGrande(qint64 tamano)
{
    const QString frase = QStringLiteral(
        "El trabajador prestará sus servicios como los del grupo profesional indicado, de acuerdo con el sistema de "
        "clasificación profesional vigente en la empresa, con la jornada, horario y lugar de trabajo que se "
        "establecen en este contrato y en el convenio colectivo de aplicación. ");
    const QString clausula = frase.repeated(4);
    SampleDocument d;
    const qint64 parrafos = tamano / (clausula.size() + 400);
    const QStringList nombres = marcas(kMarcas);
    for (qint64 p = 0; p < parrafos; ++p) {
        Paragraph parrafo{bold(QStringLiteral("Cláusula %1. ").arg(p + 1)), text(clausula)};
        const qint64 m = p * nombres.size() / parrafos;
        if (m != (p + 1) * nombres.size() / parrafos) {
            parrafo.push_back(start(nombres.at(m)));
            parrafo.push_back(end(nombres.at(m)));
        }
        d.body.push_back(parrafo);
    }
    const QByteArray docx = toDocx(d);
    return {docx, docxPart(docx).size()};
}

// In the child: opens the .docx, fills it at the 40 marks (the last value
// two paragraphs, as clauses are) or writes nothing, saves it, and prints
// how much its peak memory grew.
int medirMemoria(const QString& fichero, bool rellenar)
{
    const qint64 antes = peakMemory();
    {
        platform::Document doc = platform::Document::open(fichero);
        if (rellenar) {
            for (const QString& m : marcas(kMarcas))
                doc.insertAfter(m, valor(m));
            doc.insertAfter(marcas(kMarcas).last(), QStringLiteral("PRIMERA.\r\nSEGUNDA."));
        }
        doc.saveAs(fichero + QStringLiteral(".doc"));
    }
    std::printf("%lld\n", static_cast<long long>(peakMemory() - antes));
    return 0;
}

qint64 memoriaDeHijo(const QString& fichero, bool rellenar)
{
    QProcess hijo;
    hijo.start(QCoreApplication::applicationFilePath(),
               {QStringLiteral("--memoria"), fichero, rellenar ? QStringLiteral("relleno") : QStringLiteral("plano")});
    if (!hijo.waitForFinished(600'000) || hijo.exitCode() != 0)
        qFatal("the memory child failed: %s", hijo.readAllStandardError().constData());
    return hijo.readAllStandardOutput().trimmed().toLongLong();
}

void docx(const QTemporaryDir& carpeta, qint64 tamano)
{
    const QString fichero = carpeta.filePath(QStringLiteral("grande.docx"));
    const auto [paquete, principal] = docxGrande(tamano);
    escribir(fichero, paquete);
    const qint64 relleno = memoriaDeHijo(fichero, true);
    const qint64 plano = memoriaDeHijo(fichero, false);
    const double mb = double(principal) / (1 << 20);
    std::printf("DOCX parte principal de %.1f MB: pico al abrir, rellenar y guardar %.0f MB, %.2f veces la parte "
                "(objetivo <= 4); al abrir y guardar %.0f MB, %.2f veces\n",
                mb, double(relleno) / (1 << 20), double(relleno) / double(principal), double(plano) / (1 << 20),
                double(plano) / double(principal));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 4 && args.at(1) == QStringLiteral("--memoria"))
        return medirMemoria(args.at(2), args.at(3) == QStringLiteral("relleno"));
    const int rondas = args.size() > 1 ? std::max(1, args.at(1).toInt()) : 3;

    QTemporaryDir carpeta;
    for (const bool conBlancos : {false, true}) {
        for (const qint64 tamano : {qint64(50) << 10, qint64(5) << 20, qint64(10) << 20, qint64(20) << 20})
            richText(carpeta, tamano, conBlancos, tamano < (1 << 20) ? 100 * rondas : rondas);
    }
    docx(carpeta, qint64(50) << 20);
    return 0;
}
