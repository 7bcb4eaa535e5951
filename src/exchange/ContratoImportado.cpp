#include "exchange/ContratoImportado.h"

#include "common/Module1.h"
#include "platform/Database.h"
#include "platform/Files.h"
#include "platform/Paths.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <utility>
#include <vector>

namespace exchange {

namespace {

constexpr Tramo kSiempre{0, 0};

bool soloDigitos(const QString& texto)
{
    if (texto.isEmpty())
        return false;
    for (QChar c : texto) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

// The date of an eight-place date field, as it stands.
FechaImportada FechaDeRegistro(const QString& campo)
{
    FechaImportada resultado;
    if (Recortar(campo).isEmpty() || campo == QLatin1String("00000000"))
        return resultado;
    resultado.presente = true;
    const QString dia = Recortar(campo.mid(0, 2));
    const QString mes = Recortar(campo.mid(2, 2));
    const QString anio = Recortar(campo.mid(4, 4));
    resultado.texto = dia + QLatin1Char('/') + mes + QLatin1Char('/') + anio;
    // Each piece its figures, blanks around them allowed; a year of fewer
    // than four figures is no year of its own, never the year 80 or 198.
    if (soloDigitos(dia) && soloDigitos(mes) && anio.size() == 4 && soloDigitos(anio))
        resultado.fecha = QDate(anio.toInt(), mes.toInt(), dia.toInt());
    return resultado;
}

// Whether the character at `offset` (from 0) lies in a field the import
// reads.
bool EnCampoLeido(qsizetype offset)
{
    static const std::vector<bool> leidas = [] {
        std::vector<bool> enCampo(kFinCamposFijos, false);
        const auto marcar = [&enCampo](Tramo tramo) {
            for (int p = tramo.posicion; p < tramo.posicion + tramo.longitud; ++p)
                enCampo[static_cast<std::size_t>(p - 1)] = true;
        };
        for (const auto* campos : {&CamposEmpresa(), &CamposTrabajador()}) {
            for (const Campo& campo : *campos) {
                for (const Tramo& tramo : campo.tramos)
                    marcar(tramo);
            }
        }
        for (const CampoFecha& fecha : FechasTrabajador())
            marcar(fecha.tramo);
        for (const Tramo& tramo :
             {kNumeroEmpresa, kNombreEmpresa, kNifEmpresa, kNumeroTrabajador, kNombreTrabajador, kNifTrabajador})
            marcar(tramo);
        return enCampo;
    }();
    return offset < static_cast<qsizetype>(leidas.size()) && leidas[static_cast<std::size_t>(offset)];
}

platform::FileError NoSeLee(const QString& hostFile)
{
    return platform::FileError(
        QStringLiteral("No se puede leer el fichero %1.").arg(platform::windowsPath(hostFile)).toStdString());
}

} // namespace

const std::vector<Campo>& CamposEmpresa()
{
    static const std::vector<Campo> campos = {
        {"NúmeroEmpresa", {{1, 5}}, Forma::Recortada, "", {1, 5}, "Número Empresa = "},
        {"Cuenta", {{723, 2}, {726, 7}, {734, 2}}, Forma::UnidaEntera, "/", {723, 2}, "Cuenta = "},
        {"NombreEmpresa", {{7, 30}}, Forma::Recortada, "", {7, 30}, "Nombre Empresa = "},
        {"NIF", {{38, 10}}, Forma::Recortada, "", {38, 9}, "NIF = "},
        {"Dirección", {{49, 2}, {52, 26}, {79, 4}, {84, 2}, {87, 2}, {90, 2}}, Forma::Unida, " ", {52, 26},
         "Dirección = "},
        {"Localidad", {{93, 20}}, Forma::Recortada, "", {93, 20}, "Localidad = "},
        {"CódPostal", {{114, 5}}, Forma::Recortada, "", {114, 5}, "Código Postal = "},
        {"NúmTeléfono", {{145, 9}}, Forma::Recortada, "", {145, 9}, "Número teléfono = "},
        {"NúmFax", {{156, 9}}, Forma::Recortada, "", {156, 9}, "Núm. Fax = "},
        {"Actividad", {{183, 30}}, Forma::Recortada, "", {183, 30}, "Actividad = "},
    };
    return campos;
}

const std::vector<Campo>& CamposTrabajador()
{
    static const std::vector<Campo> campos = {
        {"NombreTrabajador", {{1395, 30}}, Forma::Recortada, "", {1395, 30}, "Nombre trabajador = "},
        {"Domicilio", {{1426, 25}, {1453, 4}}, Forma::Unida, " ", {1426, 25}, "Domicilio = "},
        // The town ends where the telephone starts.
        {"Localidad", {{1485, 13}}, Forma::Recortada, "", {1485, 13}, "Localidad = "},
        {"CódPostal", {{1479, 5}}, Forma::Recortada, "", {1479, 5}, "Código Postal = "},
        {"Municipio", {{1458, 20}}, Forma::Recortada, "", {1458, 20}, "Municipio = "},
        {"Teléfono", {{1498, 9}}, Forma::Recortada, "", {1498, 9}, "Teléfono = "},
        {"NumSS", {{1541, 2}, {1543, 8}, {1551, 2}}, Forma::Unida, "/", {1541, 2}, "NumSS = "},
        {"NIF14", {{1567, 10}}, Forma::Recortada, "", {1567, 10}, "NIF = "},
        {"Categoria_Laboral", {{1509, 15}}, Forma::Recortada, "", {1509, 15}, "Categoria Laboral = "},
        {"NivelFormativo", {{1701, 10}}, Forma::Recortada, "", {1701, 10}, "Nivel Formativo = "},
        {"Empresa", {{7, 30}}, Forma::SinRecortar, "", kSiempre, "Empresa = "},
        {"NumEmpresa", {{1, 5}}, Forma::SinRecortar, "", kSiempre, "Número Empresa = "},
    };
    return campos;
}

const std::vector<Marca>& MarcasTrabajador()
{
    static const std::vector<Marca> marcas = {
        {"EnviadoCliente", "Enviado Cliente"}, {"RecibidoCliente", "Recibido Cliente"},
        {"EnviadoInem", "Enviado Inem"},       {"RecogidoInem", "Recogido Inem"},
        {"ReenviadoCliente", "Reenviado Cliente"},
    };
    return marcas;
}

const std::vector<CampoFecha>& FechasTrabajador()
{
    static const std::vector<CampoFecha> fechas = {
        {"FechaNacimiento", {1578, 8}, "Fecha Nacimiento = ", "Fecha de nacimiento del trabajador : ", 16},
        {"FechaAlta", {1596, 8}, "Fecha Alta = ", "Fecha de alta del trabajador : ", 0},
        {"FechaBaja", {1605, 8}, "Fecha Baja = ", "Fecha de baja del trabajador : ", 0},
    };
    return fechas;
}

Disposicion Disposicion::leer(const platform::Database& db)
{
    std::vector<Marca> marcas;
    for (const platform::Row& fila :
         db.select(QStringLiteral("SELECT \"CódigoMarca\", \"Longitud\", \"ValoresFijos\" FROM \"Marcas\" "
                                  "ORDER BY \"CódigoMarca\", \"IdMarca\""))) {
        Marca marca;
        marca.codigo = fila.text(QStringLiteral("CódigoMarca"));
        marca.longitud = fila.value(QStringLiteral("Longitud")).toInt();
        marca.valoresFijos = fila.text(QStringLiteral("ValoresFijos"));
        marcas.push_back(marca);
    }
    return Disposicion(std::move(marcas));
}

Disposicion::Disposicion(std::vector<Marca> marcas) : marcas_(std::move(marcas))
{
    int inicio = 0;
    for (Marca& marca : marcas_) {
        marca.longitud = std::max(0, marca.longitud);
        marca.inicio = inicio;
        inicio += marca.longitud + 1;
    }
    longitud_ = inicio;
}

bool Disposicion::enValor(qsizetype offset) const
{
    // The marks stand in the record's order: the first one ending after the
    // offset is the only one whose value can hold it.
    const auto marca = std::upper_bound(marcas_.begin(), marcas_.end(), offset, [](qsizetype o, const Marca& m) {
        return o < m.inicio + m.longitud;
    });
    return marca != marcas_.end() && marca->inicio <= offset;
}

const Disposicion::Marca* Disposicion::buscar(const QString& codigo) const
{
    for (const Marca& marca : marcas_) {
        if (marca.codigo == codigo)
            return &marca;
    }
    return nullptr;
}

qint64 LongitudMaxima(const Disposicion& disposicion)
{
    return 2 * std::max<qint64>(kFinCamposFijos, disposicion.longitud());
}

QString NombreArchivado(const QString& nombre)
{
    return nombre.mid(2);
}

bool SePuedeArchivar(const QString& nombre)
{
    return platform::isVisibleFileName(NombreArchivado(nombre));
}

QString Recortar(const QString& texto)
{
    qsizetype inicio = 0;
    qsizetype fin = texto.size();
    while (inicio < fin && texto.at(inicio) == QLatin1Char(' '))
        ++inicio;
    while (fin > inicio && texto.at(fin - 1) == QLatin1Char(' '))
        --fin;
    return texto.mid(inicio, fin - inicio);
}

RegistroContrato RegistroContrato::desdeBytes(const QByteArray& contenido)
{
    QString texto = QuitarCodigosImpresora(platform::fromCp1252(contenido));
    qsizetype fin = texto.size();
    while (fin > 0 && (texto.at(fin - 1) == QLatin1Char('\n') || texto.at(fin - 1) == QLatin1Char('\r')
                       || texto.at(fin - 1) == QChar(0x1A)))
        --fin;
    texto.truncate(fin);
    return RegistroContrato(std::move(texto));
}

bool RegistroContrato::tieneControles(const Disposicion& disposicion) const
{
    for (qsizetype i = 0; i < texto_.size(); ++i) {
        if (texto_.at(i).category() == QChar::Other_Control && (EnCampoLeido(i) || disposicion.enValor(i)))
            return true;
    }
    return false;
}

QString RegistroContrato::tomar(Tramo tramo) const
{
    QString pieza = texto_.mid(tramo.posicion - 1, tramo.longitud);
    if (pieza.size() < tramo.longitud)
        pieza.append(QString(tramo.longitud - pieza.size(), QLatin1Char(' ')));
    return pieza;
}

bool RegistroContrato::enBlanco(Tramo tramo) const
{
    return Recortar(tomar(tramo)).isEmpty();
}

QString RegistroContrato::valor(const Campo& campo) const
{
    QStringList piezas;
    for (const Tramo& tramo : campo.tramos) {
        const bool entera = campo.forma == Forma::SinRecortar || campo.forma == Forma::UnidaEntera;
        piezas << (entera ? tomar(tramo) : Recortar(tomar(tramo)));
    }
    return piezas.join(QString::fromUtf8(campo.union_));
}

bool RegistroContrato::seEscribe(const Campo& campo) const
{
    return campo.condicion.longitud == 0 || !enBlanco(campo.condicion);
}

FechaImportada RegistroContrato::fecha(const CampoFecha& campo) const
{
    return FechaDeRegistro(tomar(campo.tramo));
}

std::optional<int> RegistroContrato::numeroTrabajador() const
{
    const QString numero = Recortar(numeroTrabajadorTexto());
    if (!soloDigitos(numero))
        return std::nullopt;
    return numero.toInt();
}

QByteArray LeerFichero(const QString& hostFile, qint64 maximo)
{
    QFile fichero(hostFile);
    if (!fichero.open(QIODevice::ReadOnly))
        throw NoSeLee(hostFile);
    return maximo < 0 ? fichero.readAll() : fichero.read(maximo);
}

RegistroContrato LeerRegistro(const QString& hostFile, qint64 maximo)
{
    return RegistroContrato::desdeBytes(LeerFichero(hostFile, maximo));
}

QString Huella(const QString& hostFile)
{
    QFile fichero(hostFile);
    QCryptographicHash huella(QCryptographicHash::Sha256);
    if (!fichero.open(QIODevice::ReadOnly) || !huella.addData(&fichero))
        throw NoSeLee(hostFile);
    return QString::fromLatin1(huella.result().toHex());
}

QStringList ListarFicheros(const QString& carpeta)
{
    const QString ruta = platform::hostPath(carpeta);
    const QFileInfo info(ruta);
    if (!info.isDir() || !info.isReadable() || !info.isExecutable())
        throw platform::FileError(QStringLiteral("No se puede leer la carpeta %1.").arg(carpeta).toStdString());
    QStringList ficheros;
    const QStringList nombres = QDir(ruta).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString& nombre : nombres) {
        // A name with a backslash has no Windows path.
        if (!nombre.contains(QLatin1Char('\\')))
            ficheros << carpeta + QLatin1Char('\\') + nombre;
    }
    return ficheros;
}

} // namespace exchange
