#include "common/ImprimirListado.h"

#include "common/Module1.h"
#include "platform/Database.h"
#include "platform/Form.h"
#include "platform/MessageBoxes.h"

namespace listado {

std::vector<Fila> Filas(const std::vector<platform::Row>& registros,
                        const std::vector<std::pair<int, QString>>& columnasCampos)
{
    std::vector<Fila> filas;
    filas.reserve(registros.size());
    for (const auto& registro : registros) {
        Fila fila;
        for (const auto& [columna, campo] : columnasCampos)
            fila.push_back({columna, registro.text(campo)});
        filas.push_back(std::move(fila));
    }
    return filas;
}

bool Imprimir(platform::Form& ventana, const std::function<void(platform::PrintJob&)>& contenido, double pausa)
{
    if (!platform::printer().choose(&ventana))
        return false;
    platform::Hourglass reloj(ventana);
    platform::PrintJob job;
    contenido(job);
    if (job.title().isEmpty())
        job.setTitle(ventana.windowTitle());
    const bool impreso = job.endDoc();
    if (pausa > 0)
        Esperar(pausa);
    return impreso;
}

void Apertura(platform::PrintJob& job, const QString& fuente)
{
    job.setFontSize(11);
    job.setFontName(fuente);
    job.emptyLines(2);
}

void Titulo(platform::PrintJob& job, const QString& titulo, int columna)
{
    // The printer's queue shows the job by its first title, without the colon after it.
    if (job.title().isEmpty()) {
        QString nombre = titulo.trimmed();
        while (nombre.endsWith(QLatin1Char(':')) || nombre.endsWith(QLatin1Char('.')))
            nombre = nombre.chopped(1).trimmed();
        job.setTitle(nombre);
    }
    job.setFontBold(true);
    job.setFontUnderline(true);
    Linea(job, {{columna, titulo}});
    job.setFontUnderline(false);
}

void Linea(platform::PrintJob& job, const Fila& celdas)
{
    job.printRow(celdas);
}

void FilaNumerada(platform::PrintJob& job, qint64 n, const Fila& celdas)
{
    // The number prints with a blank before it, so it starts one column
    // before its digits.
    Fila fila{{kColumnaNumero - static_cast<int>(QString::number(n).size()), platform::PrintJob::numberText(n)}};
    fila.insert(fila.end(), celdas.begin(), celdas.end());
    Linea(job, fila);
}

void Lista(platform::PrintJob& job, const Fila& encabezados, const std::vector<Fila>& filas)
{
    job.emptyLines(2);
    Fila linea{{kColumnaEncabezado, QStringLiteral("Núm.")}};
    linea.insert(linea.end(), encabezados.begin(), encabezados.end());
    Linea(job, linea);
    job.setFontBold(false);
    if (filas.empty()) {
        platform::MsgBox(QString::fromUtf8(kSinRegistros), platform::style::Information);
        return;
    }
    qint64 n = 1;
    for (const auto& fila : filas)
        FilaNumerada(job, n++, fila);
}

void Ficha(platform::PrintJob& job, int columnaValor, const std::vector<std::pair<QString, QString>>& campos)
{
    job.setFontBold(false);
    job.emptyLines(2);
    for (const auto& [etiqueta, valor] : campos)
        Linea(job, {{kColumnaEncabezado, etiqueta}, {columnaValor, valor}});
}

bool ImprimirListado(platform::Form& ventana, const QString& titulo, const Fila& encabezados,
                     const std::vector<Fila>& filas, const QString& fuente, double pausa)
{
    return Imprimir(
        ventana,
        [&](platform::PrintJob& job) {
            Apertura(job, fuente);
            Titulo(job, titulo);
            Lista(job, encabezados, filas);
        },
        pausa);
}

} // namespace listado
