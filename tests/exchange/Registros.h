#pragma once

#include "TervaloTest.h"

#include "exchange/ContratoImportado.h"
#include "exchange/Importacion.h"
#include "platform/Database.h"

#include <QStringList>

class frmMenu;

// A contract record as the payroll server writes it: blanks, with values at
// their positions, in Windows-1252.
class Registro {
public:
    explicit Registro(int longitud = 1720) : texto_(longitud, QLatin1Char(' ')) {}
    // Puts `valor` at a piece, cut or padded with blanks to its length.
    Registro& poner(exchange::Tramo tramo, const QString& valor);
    Registro& acortar(int longitud);
    QByteArray bytes() const;

private:
    QString texto_;
};

// A record of one company and one worker with their identity values.
Registro registroDe(const QString& empresa, const QString& trabajador, const QString& nifEmpresa,
                    const QString& nifTrabajador, const QString& nombreEmpresa = QStringLiteral("ACME S.L."),
                    const QString& nombreTrabajador = QStringLiteral("PEREZ GARCIA JUAN"));

// Every case starts with an empty database and the working folders.
class ExchangeTest : public testing_support::TervaloTest {
protected:
    ExchangeTest();

    // Lays a record file in ContratosImp.
    static void recibido(const QString& nombre, const QByteArray& contenido);
    static QStringList en(const char* carpeta);
    // Runs an import on every file of ContratosImp.
    exchange::ResultadoImportacion importar();

    qint64 empresa(const QString& numero, const QVariant& nif, const QString& nombre = QStringLiteral("ACME S.L."));
    qint64 trabajador(qint64 idEmpresa, const QString& numeroEmpresa, int numero, const QVariant& nif14,
                      const QString& nombre = QStringLiteral("PEREZ GARCIA JUAN"));
    std::vector<platform::Row> filas(const QString& sql, const QVariantList& valores = {}) const
    {
        return db.select(sql, valores);
    }

    // Opens the main window with the server's address, account and the
    // user's key in the configuration record.
    frmMenu& abrirMenu(const QString& ip = QStringLiteral("127.0.0.1"), const QString& usuario = QStringLiteral("tervalo"),
                       const QString& password = QStringLiteral("clave"), const QString& clave = QStringLiteral("AB"));

    platform::Database db;
};
