#pragma once

#include "Jornada.h"

#include "exchange/ContratoImportado.h"
#include "exchange/Importacion.h"

// A contract record as the payroll server writes it: blanks with values at
// their places, in Windows-1252.
class Registro {
public:
    Registro& poner(exchange::Tramo tramo, const QString& valor)
    {
        texto_.replace(tramo.posicion - 1, tramo.longitud, valor.leftJustified(tramo.longitud, QLatin1Char(' '), true));
        return *this;
    }
    QByteArray bytes(int longitud = 1720) const;
    const QString& texto() const { return texto_; }

private:
    QString texto_ = QString(1720, QLatin1Char(' '));
};

Registro registroDe(const QString& empresa, const QString& trabajador, const QString& nifEmpresa,
                    const QString& nifTrabajador, const QString& nombreEmpresa = u("ACME S.L."),
                    const QString& nombreTrabajador = u("PEREZ GARCIA JUAN"));

// Every case starts with an empty database and the working folders.
class ExchangeTest : public testing_support::JornadaTest {
protected:
    ExchangeTest();

    // Lays a file in a folder given by its Windows path.
    static void dejar(const char* carpeta, const QString& nombre, const QByteArray& contenido);
    static QStringList en(const char* carpeta); // its files, hidden ones included
    exchange::ResultadoImportacion importar();  // every file of ContratosImp
    qint64 empresa(const QString& numero, const QVariant& nif, const QString& nombre = u("ACME S.L."));
    qint64 trabajador(qint64 idEmpresa, const QString& numeroEmpresa, int numero, const QVariant& nif14,
                      const QString& nombre = u("PEREZ GARCIA JUAN"));
};
