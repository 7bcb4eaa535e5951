#include "Registros.h"

#include "app/frmMenu.h"
#include "common/Module1.h"
#include "data/Configuracion.h"
#include "data/Esquema.h"
#include "exchange/Importacion.h"
#include "platform/Files.h"
#include "platform/Forms.h"
#include "platform/Paths.h"

#include <QDir>

Registro& Registro::poner(exchange::Tramo tramo, const QString& valor)
{
    texto_.replace(tramo.posicion - 1, tramo.longitud, valor.leftJustified(tramo.longitud, QLatin1Char(' '), true));
    return *this;
}

Registro& Registro::acortar(int longitud)
{
    texto_.truncate(longitud);
    return *this;
}

QByteArray Registro::bytes() const
{
    return platform::toCp1252(texto_);
}

Registro registroDe(const QString& empresa, const QString& trabajador, const QString& nifEmpresa,
                    const QString& nifTrabajador, const QString& nombreEmpresa, const QString& nombreTrabajador)
{
    using namespace exchange;
    Registro r;
    r.poner(kNumeroEmpresa, empresa)
        .poner(kNombreEmpresa, nombreEmpresa)
        .poner(kNifEmpresa, nifEmpresa)
        .poner(kNumeroTrabajador, trabajador)
        .poner(kNombreTrabajador, nombreTrabajador)
        .poner(kNifTrabajador, nifTrabajador);
    return r;
}

namespace {
platform::Database baseDeDatos()
{
    esquema::crearBasesDeDatosQueFalten();
    RutaBaseDatos();
    return AbrirBaseDatos();
}
} // namespace

ExchangeTest::ExchangeTest() : db(baseDeDatos())
{
    QDir().mkpath(platform::hostPath(QString::fromLatin1(exchange::kContratosImp)));
    QDir().mkpath(platform::hostPath(QString::fromLatin1(exchange::kContratosTemp)));
}

void ExchangeTest::recibido(const QString& nombre, const QByteArray& contenido)
{
    writeFile((QString::fromLatin1(exchange::kContratosImp) + QLatin1Char('\\') + nombre).toUtf8().constData(),
              contenido);
}

QStringList ExchangeTest::en(const char* carpeta)
{
    return QDir(platform::hostPath(QString::fromLatin1(carpeta))).entryList(QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
}

exchange::ResultadoImportacion ExchangeTest::importar()
{
    return exchange::ProcesarContratosImportados(db, exchange::ListarFicheros(QString::fromLatin1(exchange::kContratosImp)));
}

qint64 ExchangeTest::empresa(const QString& numero, const QVariant& nif, const QString& nombre)
{
    return db.insert(QStringLiteral("Empresas"), {{QStringLiteral("NúmeroEmpresa"), numero},
                                                  {QStringLiteral("NIF"), nif},
                                                  {QStringLiteral("NombreEmpresa"), nombre}});
}

qint64 ExchangeTest::trabajador(qint64 idEmpresa, const QString& numeroEmpresa, int numero, const QVariant& nif14,
                                const QString& nombre)
{
    return db.insert(QStringLiteral("Trabajadores"), {{QStringLiteral("IdEmpresa"), QString::number(idEmpresa)},
                                                      {QStringLiteral("NumEmpresa"), numeroEmpresa},
                                                      {QStringLiteral("NúmeroTrabajador"), numero},
                                                      {QStringLiteral("NIF14"), nif14},
                                                      {QStringLiteral("NombreTrabajador"), nombre},
                                                      {QStringLiteral("EnviadoCliente"), QStringLiteral("Si")},
                                                      {QStringLiteral("RecogidoInem"), QStringLiteral("Si")}});
}

frmMenu& ExchangeTest::abrirMenu(const QString& ip, const QString& usuario, const QString& password,
                                 const QString& clave)
{
    writeFile("C:\\Quelvan\\Dorvane\\Actu", "Si");
    writeFile("C:\\Quelvan\\Dorvane\\configold", "");
    DatosConfiguracion datos;
    datos.Ip = ip;
    datos.Usuario = usuario;
    datos.Password = password;
    datos.ClaveUsuario = clave;
    datos.Avisos = QStringLiteral("No");
    GrabarConfiguracion(datos);
    return platform::Forms::show<frmMenu>();
}
