#include "DocumentFiles.h"
#include "TervaloTest.h"

#include "platform/Document.h"
#include "platform/Files.h"

#include <QDir>
#include <QRegularExpression>

using platform::Document;
using platform::DocumentError;
using namespace testing_support;

namespace {

// An empty bookmark where a template has one, as LibreOffice writes it.
struct EmptyBookmark {
    const char* file; // without an extension: its rich text and its .docx
    const char* bookmark;
    const char* value; // none: LibreOffice writes no bookmark there
    // The format in which LibreOffice's save of the filled file leaves the
    // removal unsure, as it loses what the program wrote or moves it.
    const char* unsureOnceSaved = "";
};

// marcas_vacias_libreoffice.rtf and .docx are marcas_vacias_libreoffice.fodt
// saved by LibreOffice 7.4. LibreOffice writes an empty bookmark with no text
// around it twice at one place; each file is also tried with each bookmark
// written the other way. Saving the filled file, LibreOffice 7.4 loses the
// row of a nested table that holds another table (reading rich text, its own
// too), and writes a bookmark that starts a paragraph and ends in another as
// a start alone and the whole bookmark again in the last paragraph (.docx):
// the value's own bookmark then holds its last line only.
const EmptyBookmark kPlaces[] = {
    {"marca_sola_en_celda_libreoffice.rtf", "M0106", "08901"}, // first cell of a second row
    {"marca_doble_en_tabla_anidada.rtf", "M0106", "08901"},    // a nested cell
    {"marcas_vacias_libreoffice", "InicioParrafo", "08901"},
    {"marcas_vacias_libreoffice", "FinParrafo", "08901"},
    {"marcas_vacias_libreoffice", "ParrafoSolo", "08901\r\nSabadell", "docx"},
    {"marcas_vacias_libreoffice", "TrasCampo", "08901"},
    {"marcas_vacias_libreoffice", "AntesCampo", "08901"},
    {"marcas_vacias_libreoffice", "Lista", "08901"},
    {"marcas_vacias_libreoffice", "ListaSola", "08901"},
    {"marcas_vacias_libreoffice", "Fila1Celda1", "08901"},
    {"marcas_vacias_libreoffice", "Fila1Celda2", "08901"},
    {"marcas_vacias_libreoffice", "Fila1Celda3", "08901"},
    {"marcas_vacias_libreoffice", "Fila2Celda1", "08901\r\nSabadell", "docx"},
    {"marcas_vacias_libreoffice", "Fila2Celda2", "08901"},
    {"marcas_vacias_libreoffice", "Fila2Celda3", "08901"},
    {"marcas_vacias_libreoffice", "Fila3Celda1", "08901"},
    {"marcas_vacias_libreoffice", "Fila3Celda2", "08901"},
    {"marcas_vacias_libreoffice", "Fila3Celda3", "08901"},
    {"marcas_vacias_libreoffice", "Anidada11", "08901", "rtf"},
    {"marcas_vacias_libreoffice", "Anidada21", "08901\r\nSabadell", "docx"},
    {"marcas_vacias_libreoffice", "Anidada22", "08901"},
    {"marcas_vacias_libreoffice", "Tercera12", "08901", "rtf"},
    {"marcas_vacias_libreoffice", "Tercera21", "08901", "rtf"},
    {"marcas_vacias_libreoffice", "Cabecera", "08901"},
    {"marcas_vacias_libreoffice", "CeldaCabecera", "08901"},
    {"marcas_vacias_libreoffice", "Pie", "08901"},
    {"marcas_vacias_libreoffice", "Nota", "08901"},
    {"marcas_vacias_libreoffice", "NotaFinal", "08901"},
    {"marcas_vacias_libreoffice", "Marco", nullptr},
};

// The file with the empty bookmark written once, or twice at one place as
// LibreOffice writes it (in Office Open XML a start without an end first).
QByteArray written(QByteArray file, const QString& bookmark, bool twice)
{
    if (file.startsWith("{\\rtf")) {
        const QByteArray name = bookmark.toLatin1();
        const QByteArray once = "{\\*\\bkmkstart " + name + "}{\\*\\bkmkend " + name + "}";
        file.replace(once + once, once);
        return twice ? file.replace(once, once + once) : file;
    }
    const QString start = QStringLiteral("<w:bookmarkStart w:id=\"(\\d+)\" w:name=\"%1\"/>").arg(bookmark);
    const QRegularExpression doubled(start + QStringLiteral("(?=") + start + u')');
    const QRegularExpression single(u'(' + start + u')');
    for (const DocxEntry& entry : docxEntries(file)) {
        QString part = QString::fromUtf8(entry.content);
        part.remove(doubled);
        if (twice)
            part.replace(single, QStringLiteral("<w:bookmarkStart w:id=\"9\\2\" w:name=\"%1\"/>\\1").arg(bookmark));
        if (part.toUtf8() != entry.content)
            file = withDocxPart(file, part.toUtf8(), entry.name.c_str());
    }
    return file;
}

} // namespace

class EmptyBookmarkTest : public TervaloTest {};

// Wherever a template has an empty bookmark, written once or twice, in rich
// text and in .docx: a value inserted there, saved and read again, goes
// again and leaves the template as it was, sure of it; also after
// LibreOffice has saved the filled file.
TEST_F(EmptyBookmarkTest, AValueAtAnEmptyBookmarkGoesAgainWherever)
{
    const QString folder = driveC.filePath(QStringLiteral("rellenos"));
    QDir().mkpath(folder);
    std::vector<LibreOfficeJob> jobs{{{}, QStringLiteral("rtf")}, {{}, QStringLiteral("docx")}};
    std::map<QString, const EmptyBookmark*> filled;
    for (const EmptyBookmark& place : kPlaces) {
        const QString file = QString::fromLatin1(place.file);
        const QString bookmark = QString::fromLatin1(place.bookmark);
        const QStringList files = file.contains(u'.') ? QStringList{file}
                                                      : QStringList{file + QStringLiteral(".rtf"),
                                                                    file + QStringLiteral(".docx")};
        for (const QString& each : files) {
            for (const bool twice : {false, true}) {
                const QString format = QFileInfo(each).suffix();
                const QString path = QStringLiteral("%1/%2_%3_%4.%5")
                                         .arg(folder, QFileInfo(each).baseName(), bookmark,
                                              twice ? QStringLiteral("dos") : QStringLiteral("una"), format);
                SCOPED_TRACE(QFileInfo(path).fileName().toStdString());
                const QByteArray template_ =
                    written(readAll(QStringLiteral(TERVALO_DOCUMENTOS "/") + each), bookmark, twice);
                ASSERT_TRUE(platform::writeWholeFile(path, template_, platform::FileAccess::OwnerOnly));
                Document doc = Document::open(path);
                if (!place.value) {
                    EXPECT_FALSE(doc.hasBookmark(bookmark));
                    try {
                        doc.insertAfter(bookmark, QStringLiteral("08901"));
                        ADD_FAILURE() << "a bookmark LibreOffice did not write took a value";
                    } catch (const DocumentError& e) {
                        EXPECT_EQ(e.kind(), DocumentError::Kind::NoBookmark);
                    }
                    continue;
                }
                doc.insertAfter(bookmark, QString::fromLatin1(place.value));
                doc.save();
                const QByteArray contract = readAll(path);

                Document again = Document::open(path);
                EXPECT_EQ(again.removeInsertions({bookmark}), QStringList());
                again.save();
                if (format == QStringLiteral("rtf")) {
                    EXPECT_EQ(readAll(path).toStdString(), template_.toStdString());
                } else {
                    for (const DocxEntry& entry : docxEntries(template_))
                        EXPECT_EQ(rewrittenXml(docxPart(readAll(path), entry.name.c_str())).toStdString(),
                                  rewrittenXml(entry.content).toStdString())
                            << entry.name;
                }
                ASSERT_TRUE(platform::writeWholeFile(path, contract, platform::FileAccess::OwnerOnly));
                jobs[format == QStringLiteral("rtf") ? 0 : 1].files << path;
                filled[path] = &place;
            }
        }
    }

    const QString saved = driveC.filePath(QStringLiteral("guardados"));
    convertByLibreOffice(jobs, saved);
    for (const auto& [path, place] : filled) {
        const QString name = QFileInfo(path).fileName();
        SCOPED_TRACE(("saved by LibreOffice: " + name).toStdString());
        const QString bookmark = QString::fromLatin1(place->bookmark);
        Document doc = Document::open(saved + u'/' + name);
        if (QFileInfo(name).suffix() == QLatin1String(place->unsureOnceSaved)) {
            EXPECT_EQ(doc.removeInsertions({bookmark}), QStringList{bookmark});
            continue;
        }
        EXPECT_EQ(doc.removeInsertions({bookmark}), QStringList());
        doc.save();
        EXPECT_FALSE(everyText(readAll(doc.path())).contains(QStringLiteral("08901")));
    }
}
