#include "Drivers.h"
#include "Entorno.h"

#include "exchange/ContratoImportado.h"
#include "exchange/Importacion.h"
#include "platform/Database.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "production/ContratoImportado.h"

#include <QFileInfo>

namespace fuzz {

namespace {

constexpr auto kRecibido = "C:\\Quelvan\\Dorvane\\ContratosImp\\AB0012300045";
constexpr auto kArchivado = "C:\\Quelvan\\Dorvane\\ContratosTemp\\0012300045";

// A catalogue of marks and the company and worker the seeds name, so that a
// record meets a known company, a known worker or neither.
void Sembrar(platform::Database& db)
{
    Vaciar(db);
    const struct {
        const char* codigo;
        const char* descripcion;
        int longitud;
        const char* fijos;
    } marcas[] = {{"0101", "NOMBRE", 30, ""},          {"0105", "FECHA DE NACIMIENTO", 8, ""},
                  {"0115", "NIF", 10, ""},             {"0200", "FECHA DE INICIO", 8, ""},
                  {"0300", "JORNADA", 15, "COMPLETA"}, {"0462", "PAIS", 0, ""}};
    for (const auto& m : marcas)
        db.insert(QStringLiteral("Marcas"), {{QStringLiteral("CódigoMarca"), QString::fromLatin1(m.codigo)},
                                             {QStringLiteral("DescripciónDato"), QString::fromLatin1(m.descripcion)},
                                             {QStringLiteral("Longitud"), m.longitud},
                                             {QStringLiteral("ValoresFijos"), QString::fromLatin1(m.fijos)}});
    const qint64 empresa = db.insert(QStringLiteral("Empresas"), {{QStringLiteral("NúmeroEmpresa"), QStringLiteral("00123")},
                                                                  {QStringLiteral("NIF"), QStringLiteral("B12345678")},
                                                                  {QStringLiteral("NombreEmpresa"), QStringLiteral("ACME S.L.")}});
    db.insert(QStringLiteral("Trabajadores"), {{QStringLiteral("IdEmpresa"), QString::number(empresa)},
                                               {QStringLiteral("NumEmpresa"), QStringLiteral("00123")},
                                               {QStringLiteral("NúmeroTrabajador"), 45},
                                               {QStringLiteral("NIF14"), QStringLiteral("12345678Z")},
                                               {QStringLiteral("NombreTrabajador"), QStringLiteral("PEREZ GARCIA JUAN")},
                                               {QStringLiteral("EnviadoCliente"), QStringLiteral("Si")}});
}

// The record as the marks grid of contract production reads it.
void LeerParaMarcas(platform::Database& db, const QString& fichero)
{
    const exchange::RegistroContrato registro = exchange::LeerRegistro(fichero);
    const auto disposicion = exchange::Disposicion::leer(db);
    for (const platform::Row& fila : db.select(QStringLiteral("SELECT CódigoMarca, DescripciónDato FROM Marcas"))) {
        if (const auto* marca = disposicion.buscar(fila.text(QStringLiteral("CódigoMarca"))))
            contrato_importado::Valor(registro.texto(), *marca, fila.text(QStringLiteral("DescripciónDato")));
    }
}

} // namespace

void Registro(const uint8_t* data, std::size_t size)
{
    platform::Database& db = BaseDeDatos();
    Sembrar(db);
    for (const char* carpeta : {exchange::kContratosImp, exchange::kContratosTemp, exchange::kDiscordanciasE,
                                exchange::kDiscordanciasT})
        Borrar(carpeta);
    Escribir(kRecibido, data, size);

    exchange::ProcesarContratosImportados(db, exchange::ListarFicheros(QString::fromLatin1(exchange::kContratosImp)));
    const QString archivado = platform::hostPath(QString::fromLatin1(kArchivado));
    if (QFileInfo::exists(archivado))
        LeerParaMarcas(db, archivado);
}

} // namespace fuzz
