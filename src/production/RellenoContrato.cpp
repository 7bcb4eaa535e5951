#include "production/RellenoContrato.h"

#include "common/Module1.h"
#include "platform/Database.h"
#include "platform/MessageBoxes.h"

#include <QStringList>

#include <new>

namespace produccion {

FalloPaso::FalloPaso(QString paso, const QString& causa, bool sinMemoria)
    : std::runtime_error(causa.toStdString()), paso_(std::move(paso)), sinMemoria_(sinMemoria)
{
}

QString FalloPaso::mensaje() const
{
    if (sinMemoria_)
        return platform::outOfMemoryMessage(paso_);
    QString texto = QStringLiteral("Error al ") + paso_ + QLatin1Char('.');
    if (!causa().isEmpty())
        texto += QStringLiteral("\r\n") + causa();
    return texto;
}

void EnPaso(const QString& paso, const std::function<void()>& trabajo)
{
    try {
        trabajo();
    } catch (const FalloPaso&) {
        throw;
    } catch (const std::bad_alloc&) {
        throw FalloPaso(paso, {}, true);
    } catch (const std::exception& error) {
        throw FalloPaso(paso, QString::fromUtf8(error.what()));
    }
}

std::optional<QString> TextoClausulas(const platform::Database& db, const std::vector<int>& elegidas, int idioma)
{
    if (!db.first(QStringLiteral(R"(SELECT "IdClausula" FROM "Clausulas")")))
        return std::nullopt;
    QString texto;
    int numero = 1;
    for (const int id : elegidas) {
        const auto clausula =
            db.first(QStringLiteral(R"(SELECT "Clausula" FROM "Clausulas" WHERE "IdClausula" = ?)"), {id});
        if (!clausula)
            continue;
        texto += OrdinalClausula(numero, idioma == 1 ? 1 : 2) + clausula->text(QStringLiteral("Clausula"))
            + QStringLiteral("\r\n");
        ++numero;
    }
    return texto;
}

QStringList MarcadoresDeMarca(const QString& codigo, const QString& veces)
{
    bool numerico = !codigo.isEmpty();
    for (const QChar c : codigo)
        numerico = numerico && c.isDigit();
    const QString cuatro = numerico && codigo.size() < 4 ? codigo.rightJustified(4, QLatin1Char('0')) : codigo;
    const QString tres = cuatro.right(3);
    QStringList marcadores{QStringLiteral("M") + cuatro};
    if (veces == QLatin1String("2") || veces == QLatin1String("3"))
        marcadores << QStringLiteral("M2") + tres;
    if (veces == QLatin1String("3"))
        marcadores << QStringLiteral("M3") + tres;
    return marcadores;
}

ValoresMarcas RellenarDocumento(const Relleno& r, const EscribirMarcador& escribir,
                                const std::function<void(int)>& progreso)
{
    int avance = 30;
    const auto avanzar = [&](int cuanto) {
        avance = std::min(700, avance + cuanto);
        if (progreso)
            progreso(avance);
    };

    if (LlevaClausulas(r.clase, r.contrato) && r.clausulas) {
        avanzar(30);
        EnPaso(QStringLiteral("escribir las cláusulas"), [&] { escribir(QStringLiteral("Clausula1"), *r.clausulas); });
    }

    avanzar(30);
    ValoresMarcas valores;
    const int filas = static_cast<int>(r.marcas.size());
    const int paso = filas > 0 ? 300 / filas : 0;
    for (const MarcaDocumento& marca : r.marcas) {
        if (!marca.valor.isEmpty()) {
            const QStringList marcadores = MarcadoresDeMarca(marca.codigo, marca.veces);
            const QString codigo = marcadores.front().mid(1);
            if (codigo == QLatin1String("0223"))
                valores.inicioProrroga = marca.valor;
            else if (codigo == QLatin1String("0222"))
                valores.duracionProrroga = marca.valor;
            else if (codigo == QLatin1String("0076"))
                valores.vencimientoContrato = marca.valor;
            EnPaso(QStringLiteral("escribir la marca %1").arg(codigo), [&] {
                for (const QString& marcador : marcadores)
                    escribir(marcador, marca.valor);
            });
        }
        avanzar(paso);
    }

    if (const auto nombre = TextoNombre(r.codigoContrato, r.idioma, r.modelo))
        EnPaso(QStringLiteral("escribir la descripción del contrato"),
               [&] { escribir(QStringLiteral("Nombre"), *nombre); });

    if (LlevaLugarYFecha(r.clase, r.codigoContrato)) {
        avanzar(30);
        EnPaso(QStringLiteral("escribir el lugar y la fecha del contrato"), [&] {
            if (!r.lugar.isEmpty())
                escribir(QStringLiteral("Dato1"), r.lugar);
            avanzar(700);
            if (const auto pie = FechaDelPie(r.fechaContrato, r.idioma, r.mesEnLetras)) {
                escribir(QStringLiteral("Dato2"), pie->dia);
                escribir(QStringLiteral("Dato4"), pie->anio);
                escribir(QStringLiteral("Dato3"), pie->mes);
            }
        });
    }
    return valores;
}

} // namespace produccion
