#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace platform {
class Database;
}

// What every reader driven with arbitrary bytes needs around it, set up once
// per process: a folder of its own standing for drive C:, message boxes that
// answer their default button without showing anything, a clock whose waits
// return at once and no word processor (an old binary Word file is then one
// that cannot be converted).
namespace fuzz {

void Preparar();

// Writes the bytes as the whole file at a Windows path of the program,
// creating its folders.
void Escribir(const char* windowsPath, const uint8_t* data, std::size_t size);
// Removes a file, or a folder with what it holds, at a Windows path.
void Borrar(const char* windowsPath);

// A database in memory with the program's schema, the same for the whole
// process; Vaciar leaves every table empty and its counters at the start.
platform::Database& BaseDeDatos();
void Vaciar(platform::Database& db);

// Ends the process as a fault when a reader broke a promise that holds for
// every input (a bookmark lost, a record changed by being read and written
// back): libFuzzer keeps the input like any crash.
[[noreturn]] void Fallo(const QString& que);

} // namespace fuzz
