#pragma once

#include <QStringList>

namespace platform {
class Database;
}

namespace exchange {

// What one import run did; every counter starts at 0 with the run.
struct ContadoresImportacion {
    int Ficheros = 0;          // record files opened, empty ones included
    int NuevasEmpresas = 0;    // companies added
    int NuevosTrabajadores = 0; // workers added (a new company always adds its worker)
    int DiscordanciasE = 0;    // company conflicts, records 1.. of DiscordanciasE
    int DiscordanciasT = 0;    // worker conflicts, records 1.. of DiscordanciasT
};

struct ResultadoImportacion {
    ContadoresImportacion contadores;
    // The run stopped on an error: the file in hand and those after it are
    // still in ContratosImp, and the next run imports them.
    bool interrumpida = false;
};

// Imports the record files `ficheros` (Windows paths, in order): each creates
// or updates its company and worker, a record whose company or worker NIF
// differs from the stored one is refused and logged, and each file then moves
// to ContratosTemp under its name less the user's key. The whole run is one
// transaction, committed at its end or where it stops on an error; the files
// move only after the commit. Conflicts, bad dates and errors are told in
// message boxes.
ResultadoImportacion ProcesarContratosImportados(platform::Database& db, const QStringList& ficheros);

} // namespace exchange
