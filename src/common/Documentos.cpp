#include "common/Documentos.h"

#include "platform/Document.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/WorkingCopies.h"

#include <QFile>
#include <QFileInfo>

QString ArchivoTemporal()
{
    return platform::createWorkingCopy(QStringLiteral("Contrato"), QStringLiteral(".tmp"));
}

void BorrarCopiasDeTrabajoAnteriores()
{
    platform::removeLeftoverWorkingCopies(QStringLiteral("Contrato"), QStringLiteral(".tmp"));
    QFile::remove(platform::hostPath(QString::fromLatin1(kBorrador)));
}

QString RutaEnCarpetaContratos(const QString& nombre)
{
    if (!platform::isPlainFileName(nombre))
        return {};
    return platform::resolveCase(platform::hostPath(QString::fromLatin1(kCarpetaContratos) + nombre));
}

QString RutaDocumentoGuardado(const QString& numEmpresa, const QString& numTrabajador, const QString& sufijo)
{
    if (numEmpresa.trimmed().isEmpty() || numTrabajador.trimmed().isEmpty())
        return {};
    return RutaEnCarpetaContratos(numEmpresa + numTrabajador + sufijo);
}

QString DocumentoGuardadoNoEncontrado(const QString& nombre, bool prorroga)
{
    return QStringLiteral("No se encuentra el documento guardado de %1, %2%3.")
        .arg(prorroga ? QStringLiteral("esta prórroga") : QStringLiteral("este contrato"),
             QString::fromLatin1(kCarpetaContratos), nombre);
}

QString SufijoCopiaBasica(const QString& sufijoDocumento)
{
    const qsizetype punto = sufijoDocumento.lastIndexOf(QLatin1Char('.'));
    return punto < 0 ? sufijoDocumento + QStringLiteral("CB")
                     : sufijoDocumento.left(punto) + QStringLiteral("CB") + sufijoDocumento.mid(punto);
}

void CopiarDocumento(const QString& origen, const QString& destino)
{
    const QString desde = platform::resolveCase(origen);
    QFile file(desde);
    if (!file.exists())
        throw platform::DocumentError(
            platform::DocumentError::Kind::Missing,
            QStringLiteral("No se encuentra el documento %1.").arg(platform::windowsPath(origen)));
    if (!file.open(QIODevice::ReadOnly)
        || !platform::writeWholeFile(destino, file.readAll(), platform::FileAccess::OwnerOnly))
        throw platform::FileError(QStringLiteral("No se puede copiar el documento %1 en %2.")
                                      .arg(platform::windowsPath(desde), platform::windowsPath(destino))
                                      .toStdString());
}

QString MensajePlantillaNoSeAbre()
{
    return QStringLiteral("No se puede abrir la plantilla de Word,\r\nCierre todas las sesiones de word o winword "
                          "activas, pulse Ctrl + Alt + Supr y finalice las tareas con el nombre Winword");
}

QStringList MarcasDatosPersonales()
{
    QStringList marcas;
    for (const char* codigo : {"0115", "0116", "0111", "0136", "0380", "0105", "0106", "0462"}) {
        const QString c = QString::fromLatin1(codigo);
        marcas << QStringLiteral("M") + c << QStringLiteral("M2") + c.mid(1) << QStringLiteral("M3") + c.mid(1);
    }
    return marcas;
}

std::vector<TextoMarca> TextosCopiaBasica(VarianteCopiaBasica variante, int idioma, bool firmasPrimeraPagina)
{
    const bool produccion = variante == VarianteCopiaBasica::Produccion;
    const bool castellano = !produccion || idioma == 1;
    const QString pie = castellano
                            ? QStringLiteral("El/la representante de los trabajadores") + QString(186, QLatin1Char(' '))
                            : QStringLiteral("El/la representant dels treballadors") + QString(189, QLatin1Char(' '));
    std::vector<TextoMarca> textos;
    for (const char* marca : {"B0115", "B0116", "B0111", "B0136", "B0380", "B0105", "B0106"})
        textos.push_back({QString::fromLatin1(marca), QString(112, QLatin1Char(' '))});
    textos.push_back({QStringLiteral("B0462"), QString(produccion ? 112 : 212, QLatin1Char(' '))});
    if (produccion && firmasPrimeraPagina) {
        textos.push_back({QStringLiteral("BPIE1"), QString(212, QLatin1Char(' '))});
        textos.push_back({QStringLiteral("BPIE2"), pie});
    }
    textos.push_back({QStringLiteral("BPIE11"), produccion ? QString(212, QLatin1Char(' ')) : pie});
    textos.push_back({QStringLiteral("BPIE22"), pie});
    textos.push_back(
        {QStringLiteral("Basica"), castellano ? QStringLiteral("COPIA BÁSICA") : QStringLiteral("COPIA BÀSICA")});
    return textos;
}
