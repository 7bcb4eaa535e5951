#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The readers of files that come from outside the program, each driven with
// arbitrary bytes as one of those files. A body returns normally for any
// input the reader refuses with its own error; anything else (a crash, a
// sanitizer's report, a broken promise through fuzz::Fallo) is a fault.
// The libFuzzer programs (fuzz/Entrada.cpp) and the regression test run the
// same bodies.
namespace fuzz {

// A document (rich text or Office Open XML, told by content): its insertions
// removed as the copia básica does, filled at its bookmarks, saved, read
// again, the fill removed and the copia básica's texts written.
void Documento(const uint8_t* data, std::size_t size);
// The same with the bytes as the main part of an Office Open XML package.
void DocumentoXml(const uint8_t* data, std::size_t size);
// A contract record file of the payroll server: read, imported and read
// again for the marks grid.
void Registro(const uint8_t* data, std::size_t size);
// The catalogue update files: models and their marks, contract types and
// contracts.
void Modelos(const uint8_t* data, std::size_t size);
void Contratos(const uint8_t* data, std::size_t size);
// The configuration record, converted from the old layout, read and written
// back.
void Configuracion(const uint8_t* data, std::size_t size);

struct Driver {
    const char* nombre; // also the name of its folders of inputs
    void (*cuerpo)(const uint8_t*, std::size_t);
};
const std::vector<Driver>& Drivers();

} // namespace fuzz
