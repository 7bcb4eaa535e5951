#include "DocumentFiles.h"
#include "TervaloTest.h"

#include "platform/Document.h"
#include "platform/Files.h"

#include <QFile>

#include <zip.h>

#include <algorithm>

using platform::Document;
using platform::DocumentError;
using namespace testing_support;

namespace {

// Some thirty pages of varied text (400 paragraphs), as a contract's clauses
// are, with a bookmark in most paragraphs and one in the header.
SampleDocument longContract(int paragraphs = 400)
{
    const QStringList words =
        QStringLiteral("el trabajador prestará sus servicios como grupo profesional indicado de acuerdo con sistema "
                       "clasificación vigente en la empresa jornada horario lugar trabajo que se establecen este "
                       "contrato convenio colectivo aplicación percibiendo retribución bruta pactada distribuye "
                       "conceptos salariales figuran recibo salarios duración período prueba vacaciones anuales "
                       "retribuidas días naturales preaviso extinción cláusula")
            .split(QLatin1Char(' '));
    SampleDocument d;
    d.header = {{text(QStringLiteral("Contrato de ")), start(QStringLiteral("M0002")), end(QStringLiteral("M0002"))}};
    quint32 seed = 7;
    for (int p = 0; p < paragraphs; ++p) {
        QString sentence;
        for (int w = 0; w < 60; ++w) {
            seed = seed * 1103515245u + 12345u;
            sentence += words.at(static_cast<qsizetype>((seed >> 16) % static_cast<quint32>(words.size())));
            sentence += QLatin1Char(' ');
        }
        const QString mark = QStringLiteral("M%1").arg(p + 100, 4, 10, QLatin1Char('0'));
        d.body.push_back({text(sentence), start(mark), end(mark)});
    }
    d.pageBreaks = true;
    return d;
}

} // namespace

class DocxPackageTest : public TervaloTest {};

// A word processor's package keeps its parts compressed: the parts a fill
// changes are compressed again, within a little of what a plain deflating
// writer gives, and read back whole.
TEST_F(DocxPackageTest, ChangedPartsAreStoredCompressed)
{
    const QString path = driveC.filePath(QStringLiteral("0012300045.doc"));
    const QByteArray original = toDocx(longContract());
    ASSERT_TRUE(platform::writeWholeFile(path, original));
    Document doc = Document::open(path);
    doc.insertAfter(QStringLiteral("M0002"), QStringLiteral("trabajo\r\nde duración determinada"));
    for (int p = 0; p < 400; p += 3)
        doc.insertAfter(QStringLiteral("M%1").arg(p + 100, 4, 10, QLatin1Char('0')),
                        QStringLiteral("Valor %1").arg(p));
    doc.save();

    const QByteArray filled = platform::readWholeFile(path);
    const std::vector<DocxEntry> before = docxEntries(original);
    std::set<std::string> changed;
    for (const DocxEntry& entry : docxEntries(filled)) {
        EXPECT_EQ(entry.method, ZIP_CM_DEFLATE) << entry.name;
        if (std::none_of(before.begin(), before.end(), [&](const DocxEntry& e) { return e.crc == entry.crc; }))
            changed.insert(entry.name);
    }
    EXPECT_EQ(changed, (std::set<std::string>{"word/document.xml", "word/header1.xml"}));
    EXPECT_LE(filled.size(), deflatedAgain(filled, changed).size() * 12 / 10);
    EXPECT_EQ(Document::open(path).bookmarkText(QStringLiteral("M0400")), QStringLiteral("Valor 300"));
}

// A part larger than any contract's is compressed as it is written, a
// stretch at a time: filled with values kept as XML or through its tree, it
// reads back with them, and emptied again it is the part as read.
TEST_F(DocxPackageTest, APartLargerThanAContractsIsWrittenAStretchAtATime)
{
    const QString path = driveC.filePath(QStringLiteral("0012300045.doc"));
    const QByteArray original = toDocx(longContract(12000));
    ASSERT_GT(docxPart(original).size(), 8 << 20);
    ASSERT_TRUE(platform::writeWholeFile(path, original));
    const std::pair<const char*, const char*> values[] = {
        {"M0100", "Ana Ruiz"}, {"M6000", "12345678Z"}, {"M12099", "Talleres"}, {"M0002", "PRIMERA.\r\nSEGUNDA."}};
    for (std::size_t filled = 1; filled <= std::size(values); ++filled) {
        Document doc = Document::open(path);
        const auto& [mark, value] = values[filled - 1];
        doc.insertAfter(QString::fromLatin1(mark), QString::fromUtf8(value));
        doc.save();
        const Document again = Document::open(path);
        for (std::size_t v = 0; v < filled; ++v)
            EXPECT_EQ(again.bookmarkText(QString::fromLatin1(values[v].first)),
                      QString::fromUtf8(values[v].second).replace(QStringLiteral("\r\n"), QStringLiteral("\n")))
                << values[v].first;
    }
    Document emptied = Document::open(path);
    EXPECT_TRUE(emptied.removeInsertions({"M0100", "M6000", "M12099", "M0002"}).isEmpty());
    emptied.save();
    const QByteArray written = platform::readWholeFile(path);
    for (const DocxEntry& entry : docxEntries(written))
        EXPECT_EQ(entry.method, ZIP_CM_DEFLATE) << entry.name;
    EXPECT_TRUE(rewrittenXml(docxPart(written)) == rewrittenXml(docxPart(original)));
}

// A part is one element, as XML is: what a damaged part holds after it
// (another element, text) would not be written back, so the file is one
// that cannot be opened. Blanks, comments and instructions after it are
// kept as they are.
TEST_F(DocxPackageTest, APartIsOneElementFollowedByNothingElse)
{
    const QString path = driveC.filePath(QStringLiteral("Plantilla.doc"));
    const QByteArray document = "<?xml version=\"1.0\"?>\n<w:document "
                                "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>"
                                "<w:p><w:bookmarkStart w:id=\"1\" w:name=\"M0001\"/><w:bookmarkEnd w:id=\"1\"/>"
                                "</w:p></w:body></w:document>";
    const QByteArray second = "<w:document><w:body><w:p><w:bookmarkStart w:id=\"2\" w:name=\"M0002\"/>"
                              "<w:bookmarkEnd w:id=\"2\"/></w:p></w:body></w:document>";
    for (const QByteArray& after : {second, "<?xml version=\"1.0\"?>" + second, QByteArray("texto"),
                                    QByteArray("<!-- </w:document> -->"), QByteArray("<!-- sin cerrar")}) {
        ASSERT_TRUE(platform::writeWholeFile(path, docxPackage(document + after)));
        try {
            Document::open(path);
            ADD_FAILURE() << "opened with " << after.toStdString() << " after its element";
        } catch (const DocumentError& e) {
            EXPECT_EQ(e.kind(), DocumentError::Kind::CannotOpen) << after.toStdString();
        }
    }

    const QByteArray after = "\r\n<!-- comentario --> <?instruccion?>\n";
    ASSERT_TRUE(platform::writeWholeFile(path, docxPackage(document + after)));
    Document doc = Document::open(path);
    doc.insertAfter(QStringLiteral("M0001"), QStringLiteral("uno\r\ndos"));
    doc.save();
    const QByteArray written = docxPart(platform::readWholeFile(path));
    EXPECT_TRUE(written.endsWith("</w:document>" + after)) << written.toStdString();
    EXPECT_EQ(Document::open(path).bookmarkText(QStringLiteral("M0001")), QStringLiteral("uno\ndos"));
}

// Packages made to fill the memory or the stack, and files larger than any
// document: a refusal for size says so, whatever gave the size away (the
// directory, what a part inflates to, the parts together, the file itself,
// an old Word file's conversion); any other refusal says the file is damaged:
// a package naming an entry twice, as part names compare, among them.
TEST_F(DocxPackageTest, ARefusalForSizeSaysSoAndAnyOtherSaysDamaged)
{
    const QByteArray docx = docxPackage("<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/"
                                        "2006/main\"><w:body><w:p/></w:body></w:document>");
    const QByteArray bomb = docxOfBlanks(65 << 20);
    QByteArray deep = "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>";
    deep += QByteArray("<w:r>").repeated(50000) + QByteArray("</w:r>").repeated(50000) + "</w:body></w:document>";
    const QByteArray rtfOf257MiB = "{\\rtf1\\ansi ";
    struct Case {
        const char* what;
        QByteArray content;
        bool tooLarge;
        bool oldWord = false; // the content is what LibreOffice converts an old Word file into
    };
    const Case cases[] = {
        {"a terabyte declared", withDeclaredSize(docx, "word/document.xml", quint64(1) << 40), true},
        {"a part over the cap", bomb, true},
        {"a bomb declared small", withDeclaredSize(bomb, "word/document.xml", 1000), true},
        {"parts over the total", docxOfBlanks(60 << 20, 4), true},
        {"a file over 256 MiB", rtfOf257MiB, true},
        {"an old file converted to a bomb", bomb, true, true},
        {"nested 50,000 deep", docxPackage(deep), false},
        {"cut in half", docx.left(docx.size() / 2), false},
        {"a part of no XML", withDocxPart(docx, "<w:document><w:body>"), false},
        {"the main part twice", withEntryAgain(docx, "word/document.xml", "word/document.xml"), false},
        {"an entry twice but for case", withEntryAgain(docx, "_rels/.rels", "_RELS/.Rels"), false},
        {"plain text", "Esto no es un documento.", false},
    };
    fakeOffice().libreOfficeMissing = false;
    const QString path = driveC.filePath(QStringLiteral("hostil.doc"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fakeOffice().converted = c.content;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.oldWord ? QByteArray::fromHex("D0CF11E0A1B11AE1") + QByteArray(512, '\0') : c.content);
        if (c.content == rtfOf257MiB)
            ASSERT_TRUE(file.resize(qint64(257) << 20)); // sparse: no disk used
        file.close();
        try {
            Document::open(path);
            ADD_FAILURE() << "opened";
        } catch (const DocumentError& e) {
            EXPECT_EQ(e.kind(), DocumentError::Kind::CannotOpen);
            EXPECT_EQ(e.message(), QStringLiteral("No se puede abrir el documento C:\\hostil.doc: %1.")
                                       .arg(c.tooLarge ? QStringLiteral("es demasiado grande para ser un documento "
                                                                        "de contrato")
                                                       : QStringLiteral("está dañado o no es un documento de texto "
                                                                        "que el programa sepa leer")));
        }
    }
}
