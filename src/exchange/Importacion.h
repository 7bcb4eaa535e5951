#pragma once

#include <QStringList>

namespace platform {
class Database;
class DbError;
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
    // The run stopped: the database could not be used. Nothing of the run was
    // kept; its files are still in ContratosImp, and the next run imports them.
    bool interrumpida = false;
};

// Imports the record files `ficheros` (Windows paths, in order): each creates
// or updates its company and worker, a record whose company or worker NIF
// differs from the stored one is refused and logged, and each file moves to
// ContratosTemp under its name less the user's key. The run is committed
// whole, each file's rows all or none within it, and a file moves only once
// its rows are committed: a file that fails stays in ContratosImp with
// nothing of it imported, and the others go on. The database keeps each
// file's name and content with its rows: a file read before as it is now
// (fetched again from a server that keeps its files, or not yet moved when
// the program was killed) is moved without touching the database, told once
// for the run if its record was imported. A file that cannot be a record is
// told: one whose name is no record's stays, one in another encoding than
// Windows-1252, too long or with control characters in its fields is filed
// all the same, so that it is told once. A failure of the database file
// itself (held by another program, full, unwritable, damaged) or of the
// commit stops the run with one message: nothing of it is kept and every
// file stays for the next run.
// Conflicts, bad dates and errors are told in message boxes; a full disk
// that stops the run is not told again when `discoLlenoDicho` (the fetch
// before it said so).
ResultadoImportacion ProcesarContratosImportados(platform::Database& db, const QStringList& ficheros,
                                                 bool discoLlenoDicho = false);

// The message of a database the import cannot use: what failed, and that
// the contracts not imported stay for the next import.
QString MensajeBaseDatos(const platform::DbError& error);
// Tells the user that message, unless it is a full disk the run has told
// already.
void AvisarBaseDatos(const platform::DbError& error, bool discoLlenoDicho);

} // namespace exchange
