#include "common/Module1.h"

#include "common/class_Elastic.h"
#include "data/Esquema.h"
#include "platform/Clock.h"
#include "platform/Database.h"
#include "platform/Paths.h"

#include <memory>

QString RutaBD;
QString IdEmpresaActual;
bool EditandoEmpresa = false;
QString PrimeraCarga;
QString CodigoContrato;
QString ModeloContrato;
QString RutaPlantilla;
QVariant IdTrabajadorGrabado;
bool TrabajadorGrabadoParaContrato = false;
QVariant IdTrabajadorContrato;
bool CargandoClausulas = false;
bool CopiasAceptadas = false;
int NumClausulas = 0;
std::array<int, 7> ClausulasElegidas{};

namespace {
std::unique_ptr<class_Elastic>& elastico()
{
    static std::unique_ptr<class_Elastic> instance;
    return instance;
}
} // namespace

class_Elastic& Elastico()
{
    auto& instance = elastico();
    if (!instance)
        instance = std::make_unique<class_Elastic>();
    return *instance;
}

void ReiniciarVariablesGlobales()
{
    RutaBD.clear();
    IdEmpresaActual.clear();
    EditandoEmpresa = false;
    PrimeraCarga.clear();
    CodigoContrato.clear();
    ModeloContrato.clear();
    RutaPlantilla.clear();
    IdTrabajadorGrabado = QVariant();
    TrabajadorGrabadoParaContrato = false;
    IdTrabajadorContrato = QVariant();
    CargandoClausulas = false;
    CopiasAceptadas = false;
    NumClausulas = 0;
    ClausulasElegidas.fill(0);
    elastico().reset();
}

void InicializarClausulas()
{
    for (int i = 0; i <= 5; ++i)
        ClausulasElegidas[i] = 0;
}

void Esperar(double segundos)
{
    platform::clock().wait(segundos);
}

QString QuitarCodigosImpresora(const QString& texto)
{
    const QChar esc(27);
    QString resultado;
    resultado.reserve(texto.size());
    qsizetype i = 0;
    while (i < texto.size()) {
        const QChar c = texto.at(i);
        if (c == QChar(15) || c == QChar(18)) {
            i += 1;
        } else if (c == esc && i + 1 < texto.size()
                   && (texto.at(i + 1) == QLatin1Char('E') || texto.at(i + 1) == QLatin1Char('F'))) {
            i += 2;
        } else {
            resultado.append(c);
            i += 1;
        }
    }
    return resultado;
}

QString CambiarGuiones(const QString& texto)
{
    QString resultado = texto;
    resultado.replace(QLatin1Char('_'), QLatin1Char(' '));
    return resultado;
}

QString OrdinalClausula(int n, int idioma)
{
    static const char* const castellano[] = {
        "Primera",       "Segunda",       "Tercera",      "Cuarta",        "Quinta",
        "Sexta",         "Septima",       "Octava",       "Novena",        "Decima",
        "Decimoprimera", "Decimosegunda", "Decimotercera", "Decimocuarta", "Decimoquinta",
        "Decimosexta",   "Decimoseptima", "Decimooctava", "Decimonovena",
    };
    // The sixth Catalan heading has always carried a blank before its stop.
    static const char* const catalan[] = {
        "Primera", "Segona", "Tercera", "Cuarta",  "Cinquena", "Sisena ",
        "Setena",  "Vuitena", "Novena", "Desena", "Onzena",   "Dotzena",
    };
    const char* palabra = nullptr;
    if (idioma == 1 && n >= 1 && n <= static_cast<int>(std::size(castellano)))
        palabra = castellano[n - 1];
    else if (idioma == 2 && n >= 1 && n <= static_cast<int>(std::size(catalan)))
        palabra = catalan[n - 1];
    if (!palabra)
        return {};
    return QStringLiteral("- ") + QLatin1String(palabra) + QStringLiteral(". ");
}

void RutaBaseDatos()
{
    RutaBD = QString::fromLatin1(kRutaBaseDatos);
}

platform::Database AbrirBaseDatos()
{
    auto db = platform::Database::open(platform::hostPath(RutaBD));
    esquema::actualizar(db);
    return db;
}
