#include "Registros.h"

#include "platform/Files.h"

#include <QDir>

using namespace exchange;

QByteArray Registro::bytes(int longitud) const
{
    return platform::toCp1252(texto_.left(longitud));
}

Registro registroDe(const QString& empresa, const QString& trabajador, const QString& nifEmpresa,
                    const QString& nifTrabajador, const QString& nombreEmpresa, const QString& nombreTrabajador)
{
    Registro r;
    r.poner(kNumeroEmpresa, empresa)
        .poner(kNombreEmpresa, nombreEmpresa)
        .poner(kNifEmpresa, nifEmpresa)
        .poner(kNumeroTrabajador, trabajador)
        .poner(kNombreTrabajador, nombreTrabajador)
        .poner(kNifTrabajador, nifTrabajador);
    return r;
}

ExchangeTest::ExchangeTest()
{
    for (const char* carpeta : {kContratosImp, kContratosTemp})
        QDir().mkpath(host(carpeta));
}

void ExchangeTest::dejar(const char* carpeta, const QString& nombre, const QByteArray& contenido)
{
    writeFile((QString::fromLatin1(carpeta) + QLatin1Char('\\') + nombre).toUtf8().constData(), contenido);
}

QStringList ExchangeTest::en(const char* carpeta)
{
    return QDir(host(carpeta)).entryList(QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
}

ResultadoImportacion ExchangeTest::importar()
{
    return ProcesarContratosImportados(db, ListarFicheros(QString::fromLatin1(kContratosImp)));
}

qint64 ExchangeTest::empresa(const QString& numero, const QVariant& nif, const QString& nombre)
{
    return insertar("Empresas", {{"NúmeroEmpresa", numero}, {"NIF", nif}, {"NombreEmpresa", nombre}});
}

qint64 ExchangeTest::trabajador(qint64 idEmpresa, const QString& numeroEmpresa, int numero, const QVariant& nif14,
                                const QString& nombre)
{
    return insertar("Trabajadores", {{"IdEmpresa", QString::number(idEmpresa)},
                                     {"NumEmpresa", numeroEmpresa},
                                     {"NúmeroTrabajador", numero},
                                     {"NIF14", nif14},
                                     {"NombreTrabajador", nombre},
                                     {"EnviadoCliente", "Si"}});
}
