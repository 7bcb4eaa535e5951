#include "DocumentFiles.h"
#include "Doubles.h"
#include "TervaloTest.h"

#include "common/Documentos.h"
#include "platform/Document.h"
#include "platform/Files.h"

#include <QCryptographicHash>
#include <QDir>
#include <QSet>

#include <pugixml.hpp>

#include <map>

using platform::Document;
using namespace testing_support;

namespace {

// The bookmarks a word processor's own file holds, as LibreOffice reads them.
QSet<QString> bookmarksOf(const QByteArray& fodt)
{
    pugi::xml_document doc;
    doc.load_buffer(fodt.constData(), static_cast<size_t>(fodt.size()));
    QSet<QString> names;
    for (const char* kind : {"//text:bookmark", "//text:bookmark-start"}) {
        for (const auto& found : doc.select_nodes(kind))
            names << QString::fromUtf8(found.node().attribute("text:name").value());
    }
    return names;
}

// Of each bookmark of a word processor's own file, as LibreOffice reads it,
// the text of the document (its headers and footers first) up to its end,
// without blanks.
std::map<QString, QString> textsBeforeEnds(const QByteArray& fodt)
{
    pugi::xml_document doc;
    doc.load_buffer(fodt.constData(), static_cast<size_t>(fodt.size()));
    std::map<QString, QString> ends;
    QString text;
    const auto walk = [&](const auto& self, const pugi::xml_node& node) -> void {
        if (node.type() == pugi::node_pcdata) {
            text += QString::fromUtf8(node.value());
            return;
        }
        const std::string_view kind = node.name();
        if (kind == "text:bookmark" || kind == "text:bookmark-end")
            ends[QString::fromUtf8(node.attribute("text:name").value())] = text;
        for (const pugi::xml_node& child : node.children())
            self(self, child);
    };
    for (const char* part : {"office:master-styles", "office:body"}) // headers and footers, then the text
        walk(walk, doc.document_element().child(part));
    for (auto& [name, before] : ends)
        before.removeIf([](QChar c) { return c.isSpace(); });
    return ends;
}

} // namespace

class LibreOfficeSavesTest : public TervaloTest {};

// A stored contract opened and saved in LibreOffice one, two and three times
// in its own format, as users do: LibreOffice still reads every bookmark of
// the template under its name, and the copia básica made from it holds no
// personal data in any byte, in either format.
TEST_F(LibreOfficeSavesTest, StoredContractsKeepTheirBookmarksAndTheirCopiaBasicaNoPersonalData)
{
    const QString source = QStringLiteral(TERVALO_DOCUMENTOS "/contrato_libreoffice.fodt");
    const QSet<QString> template_ = bookmarksOf(readAll(source));
    const QString folder = driveC.filePath(QStringLiteral("guardados"));
    const QStringList formats{QStringLiteral("rtf"), QStringLiteral("docx")};
    const auto saved = [&](int times, const QString& format) {
        return QStringLiteral("%1/%2/contrato_%3.%3").arg(folder).arg(times).arg(format);
    };
    convertByLibreOffice({{{source}, formats[0]}, {{source}, formats[1]}}, folder + QStringLiteral("/plantilla"));

    const std::map<QString, QString> personal = {
        {"M0115", "12345678Z"},      {"M2115", "12345678Z"}, {"M0116", "01/02/1980"}, {"M0105", "Alcalá de Henares"},
        {"M0380", "Peruana"},        {"M0462", "Perú"},      {"M0106", "28801"},      {"M0111", "28/12345678/90"},
        {"M0136", "Bachillerato"}};
    for (const QString& format : formats) {
        Document contrato = Document::open(folder + QStringLiteral("/plantilla/contrato_libreoffice.") + format);
        for (const auto& [marca, valor] : personal)
            contrato.insertAfter(marca, valor);
        contrato.insertAfter(QStringLiteral("M0001"), QStringLiteral("Talleres Ruiz"));
        QDir().mkpath(folder + QStringLiteral("/0"));
        contrato.saveAs(saved(0, format));
    }
    for (int times = 1; times <= 3; ++times)
        convertByLibreOffice({{{saved(times - 1, formats[0])}, formats[0]}, {{saved(times - 1, formats[1])}, formats[1]}},
                             QStringLiteral("%1/%2").arg(folder).arg(times));
    const QString seen = folder + QStringLiteral("/leido");
    convertByLibreOffice({{{saved(3, formats[0]), saved(3, formats[1])}, QStringLiteral("fodt")}}, seen);
    for (const QString& format : formats) {
        const QSet<QString> read = bookmarksOf(readAll(QStringLiteral("%1/contrato_%2.fodt").arg(seen, format)));
        EXPECT_TRUE(read.contains(template_)) << format.toStdString() << ": "
                                              << QStringList((template_ - read).values()).join(u' ').toStdString();
    }

    for (int times = 1; times <= 3; ++times) {
        for (const QString& format : formats) {
            SCOPED_TRACE(QStringLiteral("%1 saved %2 times").arg(format).arg(times).toStdString());
            Document copia = Document::open(saved(times, format));
            EXPECT_TRUE(copia.removeInsertions(MarcasDatosPersonales()).isEmpty());
            for (const TextoMarca& t : TextosCopiaBasica(VarianteCopiaBasica::ContratoGuardado))
                copia.insertAfter(t.marca, t.texto);
            copia.save();
            const QString text = everyText(readAll(copia.path()));
            for (const auto& [marca, valor] : personal)
                EXPECT_FALSE(text.contains(QString(valor).remove(u' '))) << marca.toStdString();
            EXPECT_TRUE(text.contains(QStringLiteral("TalleresRuiz")));
            EXPECT_TRUE(text.contains(QStringLiteral("COPIABÁSICA")));
        }
    }
}

// A contract stored by an earlier version (the value in a hidden bookmark of
// its own inside the template's, named by an old fingerprint), saved by
// LibreOffice, which writes the header a second time in its page-style
// table: the copia básica takes the value out of both. A copy there that
// lost its bookmarks, its value written as "\'hh", leaves the removal unsure.
TEST_F(LibreOfficeSavesTest, EveryCopyOfAValueGoesOrItsRemovalIsUnsure)
{
    const QByteArray oculta =
        "_Tv1_" + QCryptographicHash::hash("12345678Z", QCryptographicHash::Sha1).toHex().left(8) + "_M2115";
    const QByteArray valor = "{\\*\\bkmkstart " + oculta + "}12345678Z{\\*\\bkmkend " + oculta + "}";
    const auto rtf = [](const QByteArray& copia, const QByteArray& cabecera) {
        const auto header = [](const QByteArray& dentro) {
            return "{\\header\\pard\\plain NIF: {\\*\\bkmkstart M2115}" + dentro + "{\\*\\bkmkend M2115}\\par}";
        };
        return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Times New Roman;}}{\\*\\pgdsctbl{\\pgdsc0"
               + header(copia) + "\\pgdscnxt0 Default Page Style;}}\\sectd" + header(cabecera)
               + "\\pard\\plain Contrato.\\par}";
    };
    const QString path = driveC.filePath(QStringLiteral("0012300045.doc"));
    ASSERT_TRUE(platform::writeWholeFile(path, rtf(valor, valor), platform::FileAccess::OwnerOnly));
    Document guardado = Document::open(path);
    EXPECT_TRUE(guardado.removeInsertions({QStringLiteral("M2115")}).isEmpty());
    guardado.save();
    EXPECT_EQ(readAll(path), rtf("", ""));

    ASSERT_TRUE(platform::writeWholeFile(path, rtf("\\'31\\'32345678Z", valor), platform::FileAccess::OwnerOnly));
    Document perdido = Document::open(path);
    EXPECT_EQ(perdido.removeInsertions({QStringLiteral("M2115")}), QStringList{QStringLiteral("M2115")});
}

// Three empty bookmarks at one place of a template's text, and three in its
// header, filled one after another and saved by LibreOffice three times:
// every one is still there under its own name, its value just before its
// end, and the copia básica takes every value out (also from LibreOffice's
// copy of the header), sure of each.
TEST_F(LibreOfficeSavesTest, BookmarksSharingAPlaceKeepTheirNamesAndValues)
{
    SampleDocument plantilla;
    plantilla.body = {{text("Domicilio: "), start("M0018"), start("M0017"), start("M0016"), end("M0018"), end("M0017"),
                       end("M0016"), text(" (Madrid).")},
                      {text("Fin del contrato.")}};
    plantilla.header = {{text("Cabecera: "), start("M0021"), start("M0020"), start("M0019"), end("M0021"), end("M0020"),
                         end("M0019"), text(" fin.")}};
    const std::pair<QString, QString> valores[] = {{"M0016", "Calle Mayor"},    {"M0017", "número 7"},
                                                   {"M0018", "bajo izquierda"}, {"M0019", "Ruiz"},
                                                   {"M0020", "Peña"},           {"M0021", "López"}};
    const QString folder = driveC.filePath(QStringLiteral("guardados"));
    const QStringList formats{QStringLiteral("rtf"), QStringLiteral("docx")};
    const auto saved = [&](int times, const QString& format) {
        return QStringLiteral("%1/%2/domicilio_%3.%3").arg(folder).arg(times).arg(format);
    };
    QDir().mkpath(folder + QStringLiteral("/0"));
    for (const QString& format : formats) {
        const QString path = driveC.filePath(QStringLiteral("plantilla.") + format);
        ASSERT_TRUE(platform::writeWholeFile(path, format == formats[0] ? toRtf(plantilla) : toDocx(plantilla),
                                             platform::FileAccess::OwnerOnly));
        Document documento = Document::open(path);
        for (const auto& [marca, valor] : valores)
            documento.insertAfter(marca, valor);
        documento.saveAs(saved(0, format));
    }
    for (int times = 1; times <= 3; ++times)
        convertByLibreOffice(
            {{{saved(times - 1, formats[0])}, formats[0]}, {{saved(times - 1, formats[1])}, formats[1]}},
            QStringLiteral("%1/%2").arg(folder).arg(times));
    for (int times = 0; times <= 3; ++times)
        convertByLibreOffice({{{saved(times, formats[0]), saved(times, formats[1])}, QStringLiteral("fodt")}},
                             QStringLiteral("%1/leido%2").arg(folder).arg(times));

    for (int times = 0; times <= 3; ++times) {
        for (const QString& format : formats) {
            SCOPED_TRACE(QStringLiteral("%1 saved %2 times").arg(format).arg(times).toStdString());
            const auto ends = textsBeforeEnds(
                readAll(QStringLiteral("%1/leido%2/domicilio_%3.fodt").arg(folder).arg(times).arg(format)));
            for (const auto& [name, before] : ends)
                EXPECT_FALSE(name.contains(QStringLiteral(" Copy"))) << name.toStdString();
            for (const auto& [marca, valor] : valores) {
                const auto end = ends.find(marca);
                EXPECT_TRUE(end != ends.end() && end->second.endsWith(QString(valor).remove(u' ')))
                    << marca.toStdString() << ": " << (end == ends.end() ? "gone" : end->second.toStdString());
            }

            Document copia = Document::open(saved(times, format));
            EXPECT_EQ(copia.removeInsertions({"M0016", "M0017", "M0018", "M0019", "M0020", "M0021"}), QStringList());
            copia.save();
            const QString text = everyText(readAll(copia.path()));
            for (const auto& [marca, valor] : valores)
                EXPECT_FALSE(text.contains(QString(valor).remove(u' '))) << marca.toStdString();
            EXPECT_TRUE(appearInOrder(text, {QStringLiteral("Domicilio:"), QStringLiteral("(Madrid).")}));
        }
    }
}
