#pragma once

#include <QString>

// One-time upgrade of the working database, run at start-up while the flag
// file "Actu" does not hold "Si". The start-up window closes after it
// whatever the result.
enum class ResultadoActualizacion {
    Actualizada, // current layout: catalogue names brought up to date, "Actu" written, nothing shown
    Migrada,     // older layout: rows moved into a fresh database, old file kept as a backup, "Actu" written
    Reintentar,  // the database could not be read: nothing written or shown, tried again at the next start
    Fallida,     // the move failed and was reported: working database and "Actu" as they were
};

// Brings the database at RutaBD up to the current layout.
//
// A database with the table EMPRESACLAUSULA only gets four catalogue names
// renamed. One without it (or without the catalogue table) is of an older
// generation: its companies, workers, clauses and saved contracts are copied
// into a copy of the fresh empty database "C:\Tervalo.mdb", which replaces
// the working one only once complete; the old file is kept first as
// "C:\basedatosantigua.mdb" (or the next free "basedatosantiguaN.mdb").
ResultadoActualizacion ActualizarBaseDatos();

// The backup the last move kept ("C:\basedatosantigua.mdb" or a later
// "basedatosantiguaN.mdb"); empty when there is none.
QString UltimaCopiaDeSeguridad();
