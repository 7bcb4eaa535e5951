#include "data/Configuracion.h"

#include "platform/Files.h"
#include "platform/Paths.h"

#include <QFileInfo>

using platform::fixedField;
using platform::fromCp1252;
using platform::hostPath;

namespace {

QString ruta(const char* windowsPath)
{
    return hostPath(QString::fromLatin1(windowsPath));
}

// Both files hold the server's password.
constexpr auto kPrivado = platform::FileAccess::OwnerOnly;

// Fixed bytes of the old layout; whatever is missing reads as blanks.
QByteArray fijo(const QByteArray& texto, int ancho)
{
    QByteArray bytes = texto.left(ancho);
    if (bytes.size() < ancho)
        bytes.append(QByteArray(ancho - bytes.size(), ' '));
    return bytes;
}

} // namespace

QByteArray DatosConfiguracion::registro() const
{
    return fixedField(Ip, 15) + fixedField(Password, 15) + fixedField(Usuario, 15) + fixedField(Idioma, 1)
        + fixedField(ClaveUsuario, 2) + fixedField(Avisos, 2) + fixedField(DiasAviso, 2)
        + fixedField(SistemaOperativo, 1) + fixedField(Firmas, 1);
}

DatosConfiguracion DatosConfiguracion::desdeRegistro(const QByteArray& registro)
{
    const QByteArray r = fijo(registro, kLongitud);
    DatosConfiguracion d;
    d.Ip = fromCp1252(r.mid(0, 15));
    d.Password = fromCp1252(r.mid(15, 15));
    d.Usuario = fromCp1252(r.mid(30, 15));
    d.Idioma = fromCp1252(r.mid(45, 1));
    d.ClaveUsuario = fromCp1252(r.mid(46, 2));
    d.Avisos = fromCp1252(r.mid(48, 2));
    d.DiasAviso = fromCp1252(r.mid(50, 2));
    d.SistemaOperativo = fromCp1252(r.mid(52, 1));
    d.Firmas = fromCp1252(r.mid(53, 1));
    return d;
}

DatosConfiguracion LeerConfiguracion()
{
    const QString fichero = ruta(kRutaConfiguracion);
    if (!QFileInfo::exists(fichero))
        platform::replaceFile(fichero, {}, kPrivado);
    return DatosConfiguracion::desdeRegistro(platform::readRecord(fichero, 1, DatosConfiguracion::kLongitud, false));
}

void GrabarConfiguracion(const DatosConfiguracion& datos)
{
    platform::writeRecord(ruta(kRutaConfiguracion), 1, DatosConfiguracion::kLongitud, datos.registro(), kPrivado);
}

DatosConfiguracion ActualizarConfiguracion(const std::function<void(DatosConfiguracion&)>& cambiar)
{
    DatosConfiguracion datos = LeerConfiguracion();
    cambiar(datos);
    GrabarConfiguracion(datos);
    return datos;
}

DatosConfiguracionAntigua DatosConfiguracionAntigua::leer(const QByteArray& contenido)
{
    DatosConfiguracionAntigua d;
    qsizetype pos = 0;
    bool completa = true;
    const auto toma = [&](qsizetype n) {
        const qsizetype disponible = qMax<qsizetype>(0, contenido.size() - pos);
        if (n > disponible)
            completa = false;
        const QByteArray parte = contenido.mid(pos, qMin(n, disponible));
        pos += parte.size();
        return parte;
    };
    const auto texto = [&]() -> QByteArray {
        const QByteArray longitud = toma(2);
        if (longitud.size() < 2)
            return {};
        const int n = static_cast<unsigned char>(longitud[0]) | (static_cast<unsigned char>(longitud[1]) << 8);
        return toma(n);
    };
    d.Ip = texto();
    d.Password = texto();
    d.Usuario = texto();
    d.Idioma = texto();
    d.ClaveUsuario = toma(2);
    d.Avisos = toma(2);
    d.DiasAviso = toma(2);
    d.SistemaOperativo = toma(1);
    d.completa = completa && pos == contenido.size();
    return d;
}

QByteArray DatosConfiguracionAntigua::convertida() const
{
    return fijo(Ip, 15) + fijo(Password, 15) + fijo(Usuario, 15) + fijo(Idioma, 1) + fijo(ClaveUsuario, 2)
        + fijo(Avisos, 2) + fijo(DiasAviso, 2) + fijo(SistemaOperativo, 1) + QByteArray("0");
}

Conversion ConvertirConfiguracion()
{
    const QString antigua = ruta(kRutaConfiguracionAntigua);
    if (QFileInfo::exists(antigua))
        return Conversion::YaHecha;
    const QString actual = ruta(kRutaConfiguracion);
    const QByteArray contenido = platform::readWholeFile(actual);
    const auto leida = DatosConfiguracionAntigua::leer(contenido);

    // A record of exactly 54 bytes that does not read as the old layout was
    // converted already and only lost its "configold": keep it as it is.
    if (contenido.size() == DatosConfiguracion::kLongitud && !leida.completa) {
        platform::replaceFile(antigua, contenido, kPrivado);
        return Conversion::RegistroAnterior;
    }
    platform::replaceFile(actual, leida.convertida(), kPrivado);
    platform::replaceFile(antigua, contenido, kPrivado);
    return Conversion::Convertida;
}

QString LeerActu()
{
    return fromCp1252(platform::readRecord(ruta(kRutaActu), 1, 2));
}

void GrabarActu()
{
    platform::writeRecord(ruta(kRutaActu), 1, 2, QByteArray("Si"));
}
