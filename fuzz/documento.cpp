#include "Drivers.h"
#include "Entorno.h"

#include "DocumentFiles.h"
#include "common/Documentos.h"
#include "platform/Document.h"
#include "platform/Paths.h"

using platform::Document;
using platform::DocumentError;

namespace fuzz {

namespace {

constexpr auto kFichero = "C:\\Quelvan\\Dorvane\\Contratos\\0012300045.doc";

// The bookmarks of the templates, the personal data and the copia básica.
const QStringList& Marcas()
{
    static const QStringList marcas = [] {
        QStringList m{QStringLiteral("Cabecera"), QStringLiteral("CabeceraPrimera"), QStringLiteral("Pie"),
                      QStringLiteral("PiePrimera"), QStringLiteral("Clausula1"), QStringLiteral("Dato1"),
                      QStringLiteral("Dato2"), QStringLiteral("M0001"), QStringLiteral("M0002"),
                      QStringLiteral("M0004"), QStringLiteral("M0005")};
        m += MarcasDatosPersonales();
        for (const TextoMarca& t : TextosCopiaBasica(VarianteCopiaBasica::Produccion, 1, true))
            m << t.marca;
        m.removeDuplicates();
        return m;
    }();
    return marcas;
}

QStringList Presentes(const Document& doc)
{
    QStringList presentes;
    for (const QString& marca : Marcas()) {
        if (doc.hasBookmark(marca))
            presentes << marca;
    }
    return presentes;
}

// What the program saved it reads again, with every bookmark the document had.
void Conservadas(const QStringList& antes, const QString& path, const char* tras)
{
    try {
        const Document leido = Document::open(path);
        for (const QString& marca : antes) {
            if (!leido.hasBookmark(marca))
                Fallo(QStringLiteral("la marca %1 se ha perdido tras %2").arg(marca, QLatin1String(tras)));
        }
    } catch (const DocumentError& e) {
        Fallo(QStringLiteral("el documento guardado tras %1 no se lee: %2").arg(QLatin1String(tras), e.message()));
    }
}

void Abrir(const QString& path)
{
    try {
        Document doc = Document::open(path);
        const QStringList marcas = Presentes(doc);
        // The copia básica of a stored contract as it comes.
        doc.removeInsertions(MarcasDatosPersonales());
        doc.save();
        Conservadas(marcas, path, "quitar lo escrito");

        // Filled as the generator fills, then its copia básica.
        Document relleno = Document::open(path);
        for (const QString& marca : marcas) {
            try {
                relleno.bookmarkText(marca);
                relleno.insertAfter(marca, QStringLiteral("Pérez Núñez Ω\r\n\tB12345678 {\\par}<w:t>&amp;"));
            } catch (const DocumentError& e) {
                if (e.kind() != DocumentError::Kind::NoBookmark)
                    throw;
            }
        }
        relleno.save();
        Conservadas(marcas, path, "rellenar");

        Document copia = Document::open(path);
        copia.removeInsertions(Marcas());
        for (const TextoMarca& t : TextosCopiaBasica(VarianteCopiaBasica::Produccion, 1, true)) {
            if (copia.hasBookmark(t.marca))
                copia.insertAfter(t.marca, t.texto);
        }
        copia.save();
        Conservadas(marcas, path, "la copia básica");
    } catch (const DocumentError&) {
        // Refused with the reader's own message: what a user would see.
    }
}

} // namespace

void Documento(const uint8_t* data, std::size_t size)
{
    Escribir(kFichero, data, size);
    Abrir(platform::hostPath(QString::fromLatin1(kFichero)));
}

void DocumentoXml(const uint8_t* data, std::size_t size)
{
    const QByteArray paquete = testing_support::docxPackage(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    Escribir(kFichero, reinterpret_cast<const uint8_t*>(paquete.constData()), static_cast<std::size_t>(paquete.size()));
    Abrir(platform::hostPath(QString::fromLatin1(kFichero)));
}

} // namespace fuzz
