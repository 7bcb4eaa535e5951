// The clauses tab of contract production: the clauses of the catalogue,
// eight to a page, each with the flag that says whether the document carries
// it. The company's own clauses come ticked.

#include "production/frmEleccionContrato.h"

#include "common/Module1.h"
#include "platform/Controls.h"
#include "platform/Database.h"

#include <QScrollBar>
#include <QSet>

namespace {

constexpr int kPorPagina = 8;

} // namespace

void frmEleccionContrato::ContarFilasClausulas()
{
    try {
        std::vector<std::pair<int, QString>> filas;
        for (const auto& fila : AbrirBaseDatos().select(QStringLiteral(
                 "SELECT \"IdClausula\", \"Clausula\" FROM \"Clausulas\" ORDER BY \"IdClausula\"")))
            filas.emplace_back(fila.value(QStringLiteral("IdClausula")).toInt(), fila.text(QStringLiteral("Clausula")));
        FilasClausulas = std::move(filas);
        TotalClausulas = static_cast<int>(FilasClausulas.size());
        vscClausulas->setVisible(TotalClausulas > kPorPagina);
    } catch (const std::exception&) {
        // The page keeps the rows it had.
    }
}

void frmEleccionContrato::PrepararClausulas()
{
    auto db = AbrirBaseDatos();
    const auto clausulas =
        db.select(QStringLiteral("SELECT \"IdClausula\" FROM \"Clausulas\" ORDER BY \"IdClausula\""));
    if (clausulas.empty())
        return;
    QSet<int> deLaEmpresa;
    for (const auto& fila : db.select(QStringLiteral("SELECT \"IDCLAUSULA\" FROM \"EMPRESACLAUSULA\" WHERE "
                                                     "\"IDEMPRESA\" = ?"),
                                      {IdEmpresaContrato}))
        deLaEmpresa.insert(fila.value(QStringLiteral("IDCLAUSULA")).toInt());
    IdClausulaFila.clear();
    ClausulaElegida.clear();
    for (const auto& fila : clausulas) {
        const int id = fila.value(QStringLiteral("IdClausula")).toInt();
        IdClausulaFila.push_back(id);
        ClausulaElegida.push_back(deLaEmpresa.contains(id) ? 1 : 0);
    }
}

void frmEleccionContrato::VaciarCasillasClausulas()
{
    for (auto* casilla : chkClausula) {
        casilla->setText(QString());
        casilla->hide();
        casilla->setChecked(false);
    }
}

// The page that starts at the scroll bar's value. The box at place k shows
// clause first + k; a clause without text leaves its box hidden.
void frmEleccionContrato::MostrarPaginaClausulas()
{
    CargandoClausulas = false;
    int primera = vscClausulas->value();
    VaciarCasillasClausulas();
    ContarFilasClausulas();
    FijarRango(vscClausulas, TotalClausulas - kPorPagina);
    primera = std::clamp(primera, 0, vscClausulas->maximum());
    FijarValor(vscClausulas, primera);
    PrimeraClausula = primera;
    for (int k = 0; k < kPorPagina; ++k) {
        const auto j = static_cast<std::size_t>(primera + k);
        if (j >= FilasClausulas.size())
            break;
        const QString& texto = FilasClausulas[j].second;
        if (texto.isEmpty())
            continue;
        chkClausula[k]->show();
        platform::setCaption(chkClausula[k], texto);
        chkClausula[k]->setChecked(j < ClausulaElegida.size() && ClausulaElegida[j] == 1);
    }
    CargandoClausulas = true;
}

void frmEleccionContrato::vscClausulas_Change()
{
    MostrarPaginaClausulas();
}

// A box stands for the clause at its place on the page, so that two clauses
// of the same text are never taken for one another.
void frmEleccionContrato::chkClausula_Click(int Index)
{
    if (!CargandoClausulas)
        return;
    const auto j = static_cast<std::size_t>(PrimeraClausula + Index);
    if (j < ClausulaElegida.size())
        ClausulaElegida[j] = chkClausula[Index]->isChecked() ? 1 : 0;
}
