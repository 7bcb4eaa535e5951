#pragma once

#include <QDate>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

namespace platform {
class Database;
}

// The contract record file of the payroll server: one record of single-byte
// text per file, with no extension. On the server and in ContratosImp the file
// is named by the user's 2-character key, the company number and the 5-digit
// worker number; once imported it waits in ContratosTemp without the key.
namespace exchange {

inline constexpr auto kCarpetaServidor = "/OSKA/CONTRATOS";
inline constexpr auto kContratosImp = "C:\\Quelvan\\Dorvane\\ContratosImp";
inline constexpr auto kContratosTemp = "C:\\Quelvan\\Dorvane\\ContratosTemp";
inline constexpr auto kDiscordanciasE = "C:\\DiscordanciasE";
inline constexpr auto kDiscordanciasT = "C:\\DiscordanciasT";

// `longitud` characters from `posicion` (counted from 1).
struct Tramo {
    int posicion = 0;
    int longitud = 0;
};

// How the pieces of a field make its value.
enum class Forma {
    Recortada,   // the piece without its surrounding blanks
    SinRecortar, // the piece as it stands, blanks included
    Unida,       // each piece without its blanks, joined by `union`
    UnidaEntera, // each piece as it stands, joined by `union`
};

// A column fed from the record. It is written only when the piece `condicion`
// is not blank (always when it has no length). `etiqueta` names the field in
// the import's error message.
struct Campo {
    const char* columna;
    std::vector<Tramo> tramos;
    Forma forma;
    const char* union_;
    Tramo condicion;
    const char* etiqueta;
};

// A date field of eight positions, day, month and year.
struct CampoFecha {
    const char* columna;
    Tramo tramo;
    const char* etiqueta;
    const char* mensaje; // followed by the worker's name, " incorrecta; " and the date text
    int estilo;          // of the message box
};

// The company's columns, in the order they are written.
const std::vector<Campo>& CamposEmpresa();
// The worker's columns taken from the record, in the order they are written,
// `Empresa` and `NumEmpresa` last.
const std::vector<Campo>& CamposTrabajador();
const std::vector<CampoFecha>& FechasTrabajador();
// The worker's paper-trail flags ("No" for every import) and their labels.
struct Marca {
    const char* columna;
    const char* etiqueta;
};
const std::vector<Marca>& MarcasTrabajador();

// Identity values.
inline constexpr Tramo kNumeroEmpresa{1, 5};
inline constexpr Tramo kNombreEmpresa{7, 30};
inline constexpr Tramo kNifEmpresa{38, 10};
inline constexpr Tramo kNumeroTrabajador{1389, 5};
inline constexpr Tramo kNombreTrabajador{1395, 30};
inline constexpr Tramo kNifTrabajador{1567, 10};

// The fixed fields end at 1710, followed by one separator.
inline constexpr int kFinCamposFijos = 1711;

// The layout of a record by the mark catalogue: for every mark, in code
// order, its value in exactly its length of single-byte text, then one
// separator, which nothing reads.
class Disposicion {
public:
    struct Marca {
        QString codigo;
        int longitud = 0;
        QString valoresFijos;
        int inicio = 0; // offset of its value in the record, from 0
    };

    // Reads table Marcas in code order.
    static Disposicion leer(const platform::Database& db);
    // `marcas` in code order; their offsets are worked out here.
    explicit Disposicion(std::vector<Marca> marcas);

    // The first mark with exactly this code, or null.
    const Marca* buscar(const QString& codigo) const;
    // The length of the record so laid out: every value and its separator.
    qsizetype longitud() const { return longitud_; }
    // Whether the character at `offset` (from 0) lies in a mark's value.
    bool enValor(qsizetype offset) const;

private:
    std::vector<Marca> marcas_;
    qsizetype longitud_ = 0;
};

// The longest record file the import reads: twice the record's layout (the
// fixed fields, or the mark catalogue when it is longer), which leaves room
// for the printer codes.
qint64 LongitudMaxima(const Disposicion& disposicion);

// The name of a fetched file once filed in ContratosTemp: less its first two
// characters, the user's key.
QString NombreArchivado(const QString& nombre);
// Whether a fetched file so named can be filed: its name less the key is a
// plain file name that the folder listings show.
bool SePuedeArchivar(const QString& nombre);

// Text without the blanks around it (blanks only, as the record pads).
QString Recortar(const QString& texto);

// A date of a record: present when its field is neither blank nor
// "00000000"; its text is day (places 1-2), month (3-4) and year (5-8), each
// trimmed, joined by "/".
struct FechaImportada {
    bool presente = false;
    QString texto;
    QDate fecha; // invalid unless the text is a calendar day with a year of four figures
};

// One record, read as the import reads it: the file's bytes whole, decoded
// from Windows-1252, the printer codes removed, and the marks older systems
// end a file with (line ends, Ctrl-Z) left out at its end.
class RegistroContrato {
public:
    RegistroContrato() = default;
    explicit RegistroContrato(QString texto) : texto_(std::move(texto)) {}
    static RegistroContrato desdeBytes(const QByteArray& contenido);

    bool vacio() const { return texto_.isEmpty(); }
    const QString& texto() const { return texto_; }
    // A control character left once the printer codes are gone in a field,
    // where no record of the payroll server holds one: in a field the import
    // reads or in a mark's value. One elsewhere (a separator between values,
    // after the last one) is read by nothing.
    bool tieneControles(const Disposicion& disposicion) const;

    // The characters of a piece; positions past the end of the record read as
    // blanks.
    QString tomar(Tramo tramo) const;
    // A piece of nothing but blanks, or past the end.
    bool enBlanco(Tramo tramo) const;

    QString valor(const Campo& campo) const;
    bool seEscribe(const Campo& campo) const;
    FechaImportada fecha(const CampoFecha& campo) const;

    QString numeroEmpresa() const { return tomar(kNumeroEmpresa); }
    QString nombreEmpresa() const { return tomar(kNombreEmpresa); }
    QString nifEmpresa() const { return Recortar(tomar(kNifEmpresa)); }
    QString numeroTrabajadorTexto() const { return tomar(kNumeroTrabajador); }
    // The worker number when its field holds digits (blanks around allowed).
    std::optional<int> numeroTrabajador() const;
    QString nombreTrabajador() const { return tomar(kNombreTrabajador); }
    QString nifTrabajador() const { return Recortar(tomar(kNifTrabajador)); }

private:
    QString texto_;
};

// The bytes of a record file, whole or its first `maximo` when that is given;
// a file that cannot be read is a FileError.
QByteArray LeerFichero(const QString& hostFile, qint64 maximo = -1);
// The record of a file so read.
RegistroContrato LeerRegistro(const QString& hostFile, qint64 maximo = -1);
// The SHA-256 of a record file's whole content, in hexadecimal; a file that
// cannot be read is a FileError.
QString Huella(const QString& hostFile);

// The record files of a folder given by its Windows path: its plain files
// (hidden files and subfolders left out), by name ignoring case, each as the
// folder, a backslash and the name. A missing or unreadable folder is a
// FileError.
QStringList ListarFicheros(const QString& carpeta);

} // namespace exchange
