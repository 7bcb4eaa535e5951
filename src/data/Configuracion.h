#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// The configuration record: file "C:\Quelvan\Dorvane\config", one record of
// 54 bytes of single-byte text, nine fields left-aligned and padded with
// blanks. Each window reads it from the file when it needs it; there is no
// copy shared in memory.
struct DatosConfiguracion {
    static constexpr int kLongitud = 54;

    QString Ip;               // 15: server address
    QString Password;         // 15
    QString Usuario;          // 15
    QString Idioma;           // 1: "1" Castilian, "2" Catalan
    QString ClaveUsuario;     // 2: the user's key on the server
    QString Avisos;           // 2: "Si"/"No"
    QString DiasAviso;        // 2: "15", "30", "60" or blanks
    QString SistemaOperativo; // 1: "2" XP, "1" 95/98
    QString Firmas;           // 1: "0" signatures on the first page, "1" not, or blank

    // The 54 bytes of the record; each field cut or padded to its width.
    QByteArray registro() const;
    // The fields of a record as stored, blanks included.
    static DatosConfiguracion desdeRegistro(const QByteArray& registro);
};

inline constexpr auto kRutaConfiguracion = "C:\\Quelvan\\Dorvane\\config";
inline constexpr auto kRutaConfiguracionAntigua = "C:\\Quelvan\\Dorvane\\configold";
inline constexpr auto kRutaActu = "C:\\Quelvan\\Dorvane\\Actu";

// Record 1 of the configuration file (a missing file is created empty and
// reads as blanks).
DatosConfiguracion LeerConfiguracion();
// Writes the whole record; the file is replaced through a temporary file.
void GrabarConfiguracion(const DatosConfiguracion& datos);
// Re-reads the record from the file, lets `cambiar` set the caller's own
// fields, and writes it back, so that the fields other windows saved in the
// meantime are kept. Returns the record written.
DatosConfiguracion ActualizarConfiguracion(const std::function<void(DatosConfiguracion&)>& cambiar);

// The layout written by earlier versions: four texts each preceded by a
// 16-bit little-endian length, then 2, 2, 2 and 1 bytes.
struct DatosConfiguracionAntigua {
    QByteArray Ip, Password, Usuario, Idioma, ClaveUsuario, Avisos, DiasAviso, SistemaOperativo;
    // The bytes read exactly as that layout, ending at the last byte.
    bool completa = false;

    // Reads what is there without going past the end of `contenido`.
    static DatosConfiguracionAntigua leer(const QByteArray& contenido);
    // The 54-byte record converted from it, with Firmas "0".
    QByteArray convertida() const;
};

enum class Conversion {
    YaHecha,          // "configold" exists: nothing was touched
    Convertida,       // "config" was rewritten in the 54-byte layout
    RegistroAnterior, // "config" already held a 54-byte record: only "configold" was written
};

// Converts "config" to the 54-byte layout unless "configold" says it was done.
// The new record is written first, through a temporary file; "configold",
// which marks the conversion as done, last.
Conversion ConvertirConfiguracion();

// The 2-character record of the flag file "Actu" ("Si" once the database
// upgrade has run). A missing file is created empty.
QString LeerActu();
void GrabarActu();
