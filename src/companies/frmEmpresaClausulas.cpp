// The record window's clauses tab: the catalogue's clauses, eight to a page, ticked when the company has them.
#include "companies/frmEmpresa.h"

#include "common/Module1.h"
#include "companies/Empresas.h"
#include "platform/Controls.h"
#include "platform/Database.h"

#include <QCheckBox>
#include <QScrollBar>

using platform::Row;

namespace {

// While the clause boxes are set by code their click handler does nothing.
// Every loader ends with the flag False, whatever it found: contract
// production leaves it True, and a tick of the user must be stored.
class CasillasPorCodigo {
public:
    CasillasPorCodigo() { CargandoClausulas = true; }
    ~CasillasPorCodigo() { CargandoClausulas = false; }
    CasillasPorCodigo(const CasillasPorCodigo&) = delete;
    CasillasPorCodigo& operator=(const CasillasPorCodigo&) = delete;
};

} // namespace

void frmEmpresa::LimpiarClausulas()
{
    const CasillasPorCodigo porCodigo;
    for (QCheckBox* casilla : chkClausula) {
        casilla->setText(QString());
        casilla->setToolTip(QString());
        casilla->setProperty("IdClausula", QVariant());
        casilla->hide();
        casilla->setChecked(false);
    }
}

void frmEmpresa::CargarClausulas()
{
    MostrarPaginaClausulas(0);
}

// Shows eight clauses of the catalogue from the one at `primera`, ticked
// when the open company has them.
void frmEmpresa::MostrarPaginaClausulas(int primera)
{
    const CasillasPorCodigo porCodigo;
    const auto clausulas = AbrirBaseDatos().select(
        QStringLiteral(R"(SELECT "IdClausula", "Clausula" FROM "Clausulas" ORDER BY "IdClausula")"));
    NumClausulas = static_cast<int>(clausulas.size());
    const int ultima = std::max(0, NumClausulas - 8);
    primera = std::clamp(primera, 0, ultima);
    {
        const QSignalBlocker quieto(vscClausulas);
        vscClausulas->setMaximum(ultima);
        vscClausulas->setValue(primera);
    }
    vscClausulas->setVisible(NumClausulas > 8);
    LimpiarClausulas();
    for (int i = 0; i < 8 && primera + i < NumClausulas; ++i) {
        const Row& clausula = clausulas[static_cast<std::size_t>(primera + i)];
        QCheckBox* casilla = chkClausula[static_cast<std::size_t>(i)];
        const QString texto = clausula.text(QStringLiteral("Clausula"));
        casilla->setToolTip(texto);
        platform::setCaption(casilla, texto);
        casilla->setProperty("IdClausula", clausula.value(QStringLiteral("IdClausula")));
        casilla->show();
    }
    MarcarClausulasEmpresa();
}

void frmEmpresa::MarcarClausulasEmpresa()
{
    const CasillasPorCodigo porCodigo;
    const QSet<qint64> enlazadas =
        IdEmpresaAbierta != 0 ? empresas::ClausulasEnlazadas(AbrirBaseDatos(), IdEmpresaAbierta) : clausulasPendientes_;
    for (QCheckBox* casilla : chkClausula) {
        const QVariant id = casilla->property("IdClausula");
        casilla->setChecked(id.isValid() && enlazadas.contains(id.toLongLong()));
    }
}

void frmEmpresa::vscClausulas_Change()
{
    MostrarPaginaClausulas(vscClausulas->value());
}

// A tick links the clause to the open company at once, an untick removes
// the link; on a new company the ticks wait until it is stored.
void frmEmpresa::chkClausula_Click(int Index)
{
    if (CargandoClausulas)
        return;
    QCheckBox* casilla = chkClausula[static_cast<std::size_t>(Index)];
    const QVariant id = casilla->property("IdClausula");
    if (!id.isValid())
        return;
    const qint64 clausula = id.toLongLong();
    const bool marcada = casilla->isChecked();
    if (IdEmpresaAbierta == 0) {
        if (marcada)
            clausulasPendientes_.insert(clausula);
        else
            clausulasPendientes_.remove(clausula);
        return;
    }
    auto db = AbrirBaseDatos();
    if (marcada)
        empresas::Enlazar(db, IdEmpresaAbierta, clausula);
    else
        empresas::Desenlazar(db, IdEmpresaAbierta, clausula);
}
