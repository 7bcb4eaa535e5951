#pragma once

#include "production/TextosContrato.h"

#include <QString>

// The company's values as the record window showed them when it handed the
// contract over (empty when the window was opened from elsewhere).
struct DatosEmpresaContrato {
    QString Nombre;
    QString Numero;
    QString NIF;
    QString Direccion;
    QString Localidad;
    QString Provincia;
    QString Pais;
    QString CodPostal;
    QString Telefono;
    QString Fax;
    QString Actividad;
    QString Cuenta; // contribution account "pp/nnnnnnn/dd", empty when not typed
};

// The worker's values, likewise.
struct DatosTrabajadorContrato {
    QString Nombre;
    QString Numero;
    QString NIF;
    QString CodPostal;
    QString Municipio;
    QString Pais;
    QString Nacionalidad;
    QString FechaNacimiento; // dd/mm/yyyy, empty when not typed
    QString NumSS;           // "pp/nnnnnnnn/dd", empty when not typed
    QString NivelFormativo;
};

namespace produccion {

// What contract production holds of a document it has produced, as its
// window shows it.
struct DocumentoProducido {
    ClaseDocumento clase = ClaseDocumento::Contrato;
    QString numEmpresa;       // header boxes
    QString nombreEmpresa;
    QString numTrabajador;
    QString nombreTrabajador;
    QString tipoContrato;     // the type's name
    QString contrato;         // the chosen contract as shown ("401 - Obra")
    QString contratoElegido;  // caption of the chosen contract option
    qint64 idContrato = 0;    // its Contrato.IdContrato
    QString fechaContrato;    // "dd/mm/yyyy", or the empty mask
    // Values of the marks 0223 (start of an extension), 0222 (its duration)
    // and 0076 (end of the contract); empty when the template has none.
    QString inicioProrroga;
    QString duracionProrroga;
    QString vencimientoContrato;
};

} // namespace produccion
