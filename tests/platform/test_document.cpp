#include "DocumentFiles.h"
#include "TervaloTest.h"

#include "platform/Document.h"
#include "platform/Files.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringEncoder>

#include <pugixml.hpp>

#include <functional>

using platform::Document;
using platform::DocumentError;
using platform::DocumentFormat;
using namespace testing_support;

namespace {

void writeAll(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

// The parts of a .docx that hold text.
const char* const kDocxStories[] = {"word/document.xml", "word/header1.xml", "word/header2.xml", "word/footer1.xml",
                                    "word/footer2.xml"};

// How the first text `value` of a .docx is written: "b" bold, "i" italic,
// "bi" both, "" neither; "?" when no text is `value`.
QString docxFormat(const QByteArray& docx, const QString& value)
{
    for (const char* story : kDocxStories) {
        const QByteArray xml = docxPart(docx, story);
        pugi::xml_document doc;
        doc.load_buffer(xml.constData(), static_cast<size_t>(xml.size()), pugi::parse_default | pugi::parse_ws_pcdata);
        const auto t = doc.find_node([&](const pugi::xml_node& n) {
            return std::strcmp(n.name(), "w:t") == 0 && QString::fromUtf8(n.text().get()) == value;
        });
        if (t) {
            const pugi::xml_node format = t.parent().child("w:rPr");
            return QString(format.child("w:b") ? "b" : "") + (format.child("w:i") ? "i" : "");
        }
    }
    return QStringLiteral("?");
}

// How the first text `value` of a document is written, in either format.
QString writtenFormat(const QByteArray& file, const QString& value)
{
    return file.startsWith("{\\rtf") ? rtfText(file).formatOf(value) : docxFormat(file, value);
}

SampleDocument shapes()
{
    SampleDocument d;
    d.header = {{text(QStringLiteral("Cabecera ")), start(QStringLiteral("H1")), text(QStringLiteral("ref")),
                 end(QStringLiteral("H1"))}};
    d.body = {
        // P0: the whole first paragraph, around an empty bookmark.
        {start(QStringLiteral("P0")), text(QStringLiteral("Nombre: ")), start(QStringLiteral("M0115")),
         end(QStringLiteral("M0115")), text(QStringLiteral(" fin.")), end(QStringLiteral("P0"))},
        {bold(QStringLiteral("Negrita ")), start(QStringLiteral("M0001")), bold(QStringLiteral("dentro")),
         end(QStringLiteral("M0001")), text(QStringLiteral(" normal"))},
        {start(QStringLiteral("M0002")), text(QStringLiteral("uno ")), bold(QStringLiteral("dos")),
         end(QStringLiteral("M0002"))},
        {text(QStringLiteral("Inicio ")), start(QStringLiteral("M0003")), text(QStringLiteral("a"))},
        {text(QStringLiteral("b")), end(QStringLiteral("M0003")), text(QStringLiteral(" final"))},
        {start(QStringLiteral("Nombre")), text(QStringLiteral("x ")), start(QStringLiteral("M2115")),
         text(QStringLiteral("y")), end(QStringLiteral("M2115")), text(QStringLiteral(" z")),
         end(QStringLiteral("Nombre"))},
        {text(QStringLiteral("Plantilla ")), start(QStringLiteral("M0116")), text(QStringLiteral("___")),
         end(QStringLiteral("M0116"))},
    };
    d.cells = {{text(QStringLiteral("Celda ")), start(QStringLiteral("M0004")), text(QStringLiteral("c")),
                end(QStringLiteral("M0004"))},
               {text(QStringLiteral("otra"))}};
    d.footer = {{start(QStringLiteral("F1")), text(QStringLiteral("pie")), end(QStringLiteral("F1"))}};
    return d;
}

} // namespace

class DocumentTest : public TervaloTest, public ::testing::WithParamInterface<DocumentFormat> {
protected:
    // Writes the sample in the format under test with a Word-style name.
    QString sample(const SampleDocument& d, const char* name = "Plantilla.doc")
    {
        const QString path = driveC.filePath(QString::fromLatin1(name));
        writeAll(path, GetParam() == DocumentFormat::Rtf ? toRtf(d) : toDocx(d));
        return path;
    }
};

INSTANTIATE_TEST_SUITE_P(Formats, DocumentTest, ::testing::Values(DocumentFormat::Rtf, DocumentFormat::Docx),
                         [](const auto& info) { return info.param == DocumentFormat::Rtf ? "Rtf" : "Docx"; });

TEST_P(DocumentTest, FindsEveryShapeOfBookmarkAndInsertsAtItsEnd)
{
    Document doc = Document::open(sample(shapes()));
    EXPECT_EQ(doc.format(), GetParam());
    const std::map<QString, QString> before = {
        {"H1", "ref"},   {"M0115", ""},       {"M0001", "dentro"}, {"M0002", "uno dos"}, {"M0003", "a\nb"},
        {"Nombre", "x y z"}, {"M2115", "y"},  {"M0004", "c"},      {"F1", "pie"}};
    for (const auto& [name, value] : before)
        EXPECT_EQ(doc.bookmarkText(name), value) << name.toStdString();
    EXPECT_TRUE(doc.hasBookmark(QStringLiteral("m0115")));
    EXPECT_FALSE(doc.hasBookmark(QStringLiteral("M9999")));
    try {
        doc.insertAfter(QStringLiteral("M9999"), QStringLiteral("x"));
        ADD_FAILURE() << "a missing bookmark must be an error";
    } catch (const DocumentError& e) {
        EXPECT_EQ(e.kind(), DocumentError::Kind::NoBookmark);
    }

    for (const auto& [name, value] : before)
        doc.insertAfter(name, QStringLiteral("+") + name);
    doc.insertAfter(QStringLiteral("nombre"), QStringLiteral("!"));
    doc.saveAs(driveC.filePath(QStringLiteral("0012300045.doc")));

    const Document again = Document::open(driveC.filePath(QStringLiteral("0012300045.doc")));
    EXPECT_EQ(again.format(), GetParam());
    EXPECT_EQ(QFileInfo(again.path()).permissions() & (QFile::ReadGroup | QFile::ReadOther), 0); // personal data
    EXPECT_EQ(again.bookmarkText(QStringLiteral("P0")), QStringLiteral("Nombre: +M0115 fin."));
    EXPECT_EQ(again.bookmarkText(QStringLiteral("M0001")), QStringLiteral("dentro+M0001"));
    EXPECT_EQ(again.bookmarkText(QStringLiteral("M0003")), QStringLiteral("a\nb+M0003"));
    EXPECT_EQ(again.bookmarkText(QStringLiteral("M2115")), QStringLiteral("y+M2115"));
    EXPECT_EQ(again.bookmarkText(QStringLiteral("Nombre")), QStringLiteral("x y+M2115 z+Nombre!"));
    EXPECT_EQ(again.bookmarkText(QStringLiteral("M0004")), QStringLiteral("c+M0004"));
    EXPECT_EQ(again.bookmarkText(QStringLiteral("H1")), QStringLiteral("ref+H1"));
    EXPECT_EQ(again.bookmarkText(QStringLiteral("F1")), QStringLiteral("pie+F1"));
}

TEST_P(DocumentTest, KeepsBlanksBreaksFormattingAndEveryCharacter)
{
    Document doc = Document::open(sample(shapes()));
    doc.insertAfter(QStringLiteral("M0115"), QStringLiteral("  uno  "));
    doc.insertAfter(QStringLiteral("M0115"), QStringLiteral("dos\r\ntres\tcuatro"));
    doc.insertAfter(QStringLiteral("M0002"), QStringLiteral("Peña {a\\b} <&> \"20€\" 中"));
    doc.insertAfter(QStringLiteral("M0001"), QStringLiteral("NEGRITA"));
    doc.insertAfter(QStringLiteral("M0004"), QStringLiteral("LLANO"));
    doc.save();

    const QString path = doc.path();
    const Document again = Document::open(path);
    EXPECT_EQ(again.bookmarkText(QStringLiteral("P0")), QStringLiteral("Nombre:   uno  dos\ntres\tcuatro fin."));
    EXPECT_EQ(again.bookmarkText(QStringLiteral("M0002")), QStringLiteral("uno dosPeña {a\\b} <&> \"20€\" 中"));
    EXPECT_EQ(again.bookmarkText(QStringLiteral("M0001")), QStringLiteral("dentroNEGRITA"));
    const QByteArray file = readAll(path);
    EXPECT_EQ(writtenFormat(file, QStringLiteral("NEGRITA")), QStringLiteral("b"));
    EXPECT_EQ(writtenFormat(file, QStringLiteral("LLANO")), QString());

    // Rich text: the insertions taken out again, every byte is the template's.
    if (GetParam() == DocumentFormat::Rtf) {
        Document basica = Document::open(path);
        EXPECT_TRUE(basica.removeInsertions({QStringLiteral("M0115"), QStringLiteral("M0002"), QStringLiteral("M0001"),
                                             QStringLiteral("M0004")})
                        .isEmpty());
        basica.save();
        EXPECT_EQ(readAll(path), toRtf(shapes()));
    }
}

TEST_P(DocumentTest, RemovesItsOwnInsertionsAndDoubtsChangedOnes)
{
    // A template already holding insertions numbered as high as numbers go,
    // and higher.
    SampleDocument numbered = shapes();
    numbered.body.push_back({text(QStringLiteral("Otras ")), start(QStringLiteral("_Tv2147483646_811c9dc5_M0002")),
                             end(QStringLiteral("_Tv2147483646_811c9dc5_M0002")),
                             start(QStringLiteral("_Tv2147483647_811c9dc5_M0002")),
                             end(QStringLiteral("_Tv2147483647_811c9dc5_M0002")),
                             start(QStringLiteral("_Tv99999999999999999999999_811c9dc5_M0002")),
                             end(QStringLiteral("_Tv99999999999999999999999_811c9dc5_M0002"))});
    Document doc = Document::open(sample(numbered));
    doc.insertAfter(QStringLiteral("M0115"), QStringLiteral("12345678Z"));
    doc.insertAfter(QStringLiteral("M0116"), QStringLiteral("01/02/1980\r\nsegunda"));
    doc.insertAfter(QStringLiteral("M2115"), QStringLiteral("12345678Z"));
    doc.insertAfter(QStringLiteral("M0001"), QStringLiteral("QUEDA"));
    doc.save();

    Document stored = Document::open(doc.path());
    EXPECT_TRUE(stored.removeInsertions({QStringLiteral("M0115"), QStringLiteral("M0116"), QStringLiteral("M2115"),
                                         QStringLiteral("M0380")})
                    .isEmpty());
    stored.saveAs(driveC.filePath(QStringLiteral("Borrador.doc")));
    const Document copy = Document::open(driveC.filePath(QStringLiteral("Borrador.doc")));
    EXPECT_EQ(copy.bookmarkText(QStringLiteral("P0")), QStringLiteral("Nombre:  fin."));
    EXPECT_EQ(copy.bookmarkText(QStringLiteral("M0116")), QStringLiteral("___"));
    EXPECT_EQ(copy.bookmarkText(QStringLiteral("Nombre")), QStringLiteral("x y z"));
    EXPECT_EQ(copy.bookmarkText(QStringLiteral("M0001")), QStringLiteral("dentroQUEDA"));
    EXPECT_EQ(copy.bookmarkText(QStringLiteral("M0002")), QStringLiteral("uno dos"));

    // The value changed by hand in another program: it is not ours any more.
    // Another insertion's name lost a character another program could not
    // write: where it was made can no longer be told.
    QByteArray file = readAll(doc.path());
    const auto edit = [](QByteArray text) {
        return text.replace("12345678Z", "87654321X").replace("_M0116", "_M?116");
    };
    writeAll(doc.path(), GetParam() == DocumentFormat::Docx ? withDocxPart(file, edit(docxPart(file))) : edit(file));
    Document changed = Document::open(doc.path());
    EXPECT_EQ(changed.removeInsertions({QStringLiteral("M0115"), QStringLiteral("M0116")}),
              (QStringList{QStringLiteral("M0115"), QStringLiteral("M?116")}));

    // A damaged file, whose text inserted holds a run and a bookmark: the
    // text goes, once, and the bookmark stays.
    if (GetParam() == DocumentFormat::Docx) {
        file = withDocxPart(file, docxPart(file).replace("segunda</w:t>",
                                                         "segunda<w:r><w:t/></w:r><w:bookmarkStart w:id=\"90\" "
                                                         "w:name=\"Dentro\"/><w:bookmarkEnd w:id=\"90\"/></w:t>"));
        writeAll(doc.path(), file);
        Document damaged = Document::open(doc.path());
        EXPECT_TRUE(damaged.removeInsertions({QStringLiteral("M0116")}).isEmpty());
        damaged.save();
        const Document again = Document::open(doc.path());
        EXPECT_TRUE(again.hasBookmark(QStringLiteral("Dentro")));
        EXPECT_EQ(again.bookmarkText(QStringLiteral("M0116")), QStringLiteral("___"));
    }
}

// A value padded with blanks (as the payroll server's records come), in a
// file another word processor saved: LibreOffice reads a run of blanks in
// rich text as six-per-em spaces between plain ones. It is still ours.
TEST_P(DocumentTest, BlanksRewrittenElsewhereLeaveTheInsertionOurs)
{
    Document doc = Document::open(sample(shapes()));
    doc.insertAfter(QStringLiteral("M0115"), QStringLiteral("12345678Z     "));
    doc.save();
    QByteArray file = readAll(doc.path());
    if (GetParam() == DocumentFormat::Docx)
        file = withDocxPart(file, docxPart(file).replace("12345678Z     ",
                                                         "12345678Z" + QString(QChar(0x2006)).toUtf8().repeated(5)
                                                             + " \t"));
    else
        file.replace("12345678Z     ", "12345678Z" + QByteArray("\\u8198\\'20 ").repeated(5));
    writeAll(doc.path(), file);

    Document saved = Document::open(doc.path());
    EXPECT_TRUE(saved.removeInsertions({QStringLiteral("M0115")}).isEmpty());
    saved.save();
    const QByteArray content = readAll(doc.path());
    EXPECT_FALSE((GetParam() == DocumentFormat::Docx ? docxPart(content) : content).contains("12345678Z"));
}

TEST_P(DocumentTest, FailedSaveLeavesTheOldFileWhole)
{
    SampleDocument big = shapes();
    for (int i = 0; i < 200; ++i)
        big.body.push_back({text(QStringLiteral("Cláusula de relleno para que el documento ocupe espacio."))});
    const QString path = sample(big);
    const QByteArray old = readAll(path);
    Document doc = Document::open(path);
    doc.insertAfter(QStringLiteral("M0115"), QStringLiteral("valor"));

    bool failed = false;
    {
        FileSizeLimit full(old.size() / 2);
        try {
            doc.save();
        } catch (const DocumentError& e) {
            failed = e.kind() == DocumentError::Kind::CannotSave;
        }
    }
    EXPECT_TRUE(failed);
    EXPECT_EQ(readAll(path), old);
    EXPECT_EQ(QDir(driveC.path()).entryList(QDir::Files), QStringList{QStringLiteral("Plantilla.doc")});
}

class DocumentFileTest : public TervaloTest {};

TEST_F(DocumentFileTest, TellsMissingUnreadableAndOldFilesApart)
{
    auto kindOf = [](const QString& path) {
        try {
            Document::open(path);
        } catch (const DocumentError& e) {
            return std::make_pair(e.kind(), e.message());
        }
        return std::make_pair(DocumentError::Kind::Unsure, QString());
    };
    EXPECT_EQ(kindOf(driveC.filePath(QStringLiteral("no.doc"))).first, DocumentError::Kind::Missing);

    writeAll(driveC.filePath(QStringLiteral("texto.doc")), "Esto no es un documento.");
    EXPECT_EQ(kindOf(driveC.filePath(QStringLiteral("texto.doc"))).first, DocumentError::Kind::CannotOpen);
    const QByteArray docx = toDocx(shapes());
    writeAll(driveC.filePath(QStringLiteral("cortado.doc")), docx.left(docx.size() / 2));
    EXPECT_EQ(kindOf(driveC.filePath(QStringLiteral("cortado.doc"))).first, DocumentError::Kind::CannotOpen);
    writeAll(driveC.filePath(QStringLiteral("malo.doc")), withDocxPart(docx, "<w:document><w:body>"));
    EXPECT_EQ(kindOf(driveC.filePath(QStringLiteral("malo.doc"))).first, DocumentError::Kind::CannotOpen);

    const QString hostile = driveC.filePath(QStringLiteral("hostil.doc"));
    // Rich text nested 100,000 groups deep is read, filled and emptied as any.
    writeAll(hostile, "{\\rtf1\\ansi " + QByteArray(100000, '{') + "{\\*\\bkmkstart M0115}{\\*\\bkmkend M0115}"
                          + QByteArray(100000, '}') + "\\par}");
    Document nested = Document::open(hostile);
    nested.insertAfter(QStringLiteral("M0115"), QStringLiteral("12345678Z"));
    EXPECT_EQ(nested.bookmarkText(QStringLiteral("M0115")), QStringLiteral("12345678Z"));
    EXPECT_TRUE(nested.removeInsertions({QStringLiteral("M0115")}).isEmpty());

    // An old binary Word file needs LibreOffice to be read.
    const QString old = driveC.filePath(QStringLiteral("Antiguo.doc"));
    writeAll(old, QByteArray::fromHex("D0CF11E0A1B11AE1") + QByteArray(512, '\0'));
    const auto [kind, message] = kindOf(old);
    EXPECT_EQ(kind, DocumentError::Kind::NeedsConverter);
    EXPECT_TRUE(message.contains(QStringLiteral("Antiguo.doc")) && message.contains(QStringLiteral("LibreOffice")));
    fakeOffice().libreOfficeMissing = false;
    fakeOffice().converted = docx;
    EXPECT_EQ(Document::open(old).format(), DocumentFormat::Docx);

    // Template names from the catalogue match the file whatever their case.
    writeAll(driveC.filePath(QStringLiteral("Quelvan/Dorvane/pcIndefinido.doc")), toRtf(shapes()));
    EXPECT_TRUE(Document::open(host("C:\\quelvan\\DORVANE\\PCINDEFINIDO.DOC")).hasBookmark(QStringLiteral("M0115")));
}

// Rich text in another code page, its bookmark names written in it as Word
// does, or as LibreOffice does with each character also as \u: the names
// are read as written, and the values filled in go again, leaving the file
// as it was.
TEST_F(DocumentFileTest, RichTextInAnotherCodePageKeepsItsNamesAndItsValuesGoAgain)
{
    const QString path = driveC.filePath(QStringLiteral("Plantilla.doc"));
    for (const auto& [codePage, name] : std::vector<std::pair<int, QString>>{{1251, QStringLiteral("Имя")},
                                                                            {1250, QStringLiteral("Łódź")},
                                                                            {1253, QStringLiteral("Όνομα")},
                                                                            {932, QStringLiteral("氏名")}}) {
        QStringEncoder encode(QByteArray("windows-" + QByteArray::number(codePage)).constData());
        QByteArray word;
        QByteArray libreOffice;
        for (const QChar c : name) {
            const QByteArray bytes = encode(QString(c));
            libreOffice += "\\uc" + QByteArray::number(bytes.size()) + "\\u" + QByteArray::number(c.unicode());
            for (const char b : bytes) {
                word += "\\'" + QByteArray(1, b).toHex();
                libreOffice += "\\'" + QByteArray(1, b).toHex();
            }
        }
        const QByteArray original = "{\\rtf1\\ansi\\ansicpg" + QByteArray::number(codePage)
                                    + "\\deff0{\\fonttbl{\\f0 Arial;}}\n\\pard " + word + ": {\\*\\bkmkstart " + word
                                    + "}{\\*\\bkmkend " + word + "}\\par\n\\pard {\\*\\bkmkstart " + libreOffice
                                    + "2}" + word + "{\\*\\bkmkend " + libreOffice + "2}\\par\n}";
        writeAll(path, original);
        const QString second = name + QLatin1Char('2');
        Document doc = Document::open(path);
        EXPECT_EQ(doc.bookmarkText(second), name) << codePage;
        doc.insertAfter(name, name + QStringLiteral(" 12345678Z"));
        doc.insertAfter(second, QStringLiteral(" Peña"));
        doc.save();

        Document filled = Document::open(path);
        EXPECT_EQ(filled.bookmarkText(name), name + QStringLiteral(" 12345678Z")) << codePage;
        EXPECT_EQ(filled.bookmarkText(second), name + QStringLiteral(" Peña")) << codePage;
        EXPECT_TRUE(filled.removeInsertions({name, second}).isEmpty()) << codePage;
        filled.save();
        EXPECT_EQ(readAll(path), original) << codePage;
    }
}

// Rich text whose bookmark ends right after a control word that stands for
// a character: the text inserted there does not run into the word.
TEST_F(DocumentFileTest, RichTextInsertedAfterAControlWordStaysText)
{
    const QString path = driveC.filePath(QStringLiteral("Plantilla.doc"));
    const QByteArray original = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\\pard Dos {\\*\\bkmkstart "
                                "M0002}x\\line{\\*\\bkmkend M0002}\\par}";
    writeAll(path, original);
    Document doc = Document::open(path);
    doc.insertAfter(QStringLiteral("M0002"), QStringLiteral("ABC"));
    doc.save();
    Document filled = Document::open(path);
    EXPECT_EQ(filled.bookmarkText(QStringLiteral("M0002")), QStringLiteral("x\nABC"));
    EXPECT_TRUE(filled.removeInsertions({QStringLiteral("M0002")}).isEmpty());
    filled.save();
    EXPECT_EQ(readAll(path), original);
}

// A value in rich text takes the formatting in force before it, set again in
// a group of its own: in a long file WordPad wrote, which never resets it
// with \plain, each word that sets it once (the last of each name), not
// every word since the file began; where words give others another kind of
// text to format (\loch, \hich...), every word in its order.
TEST_F(DocumentFileTest, RichTextValuesSetTheFormattingInForceOnce)
{
    const QString path = driveC.filePath(QStringLiteral("Plantilla.doc"));
    const QByteArray wordPad = richTextWithoutPlain(200 << 10, {QStringLiteral("M0001"), QStringLiteral("M0002")});
    writeAll(path, wordPad);
    {
        Document doc = Document::open(path);
        doc.insertAfter(QStringLiteral("M0002"), QStringLiteral("12345678Z"));
        doc.save();
    }
    QByteArray filled = readAll(path);
    EXPECT_TRUE(filled.contains("{\\plain\\f0\\fs22\\lang10 \\i0 \\b 12345678Z}")) << filled.size() - wordPad.size();
    EXPECT_EQ(rtfText(filled).formatOf(QStringLiteral("12345678Z")), QStringLiteral("b"));

    writeAll(path,
             "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}{\\f1 MS Mincho;}{\\f2 Times;}}\\pard\\loch\\f0"
             "\\hich\\f1\\loch\\f2\\b Nombre:\\b0{\\*\\bkmkstart M0001}{\\*\\bkmkend M0001}\\par}");
    {
        Document doc = Document::open(path);
        doc.insertAfter(QStringLiteral("M0001"), QStringLiteral("Ana"));
        doc.save();
    }
    filled = readAll(path);
    EXPECT_TRUE(filled.contains("{\\plain\\loch\\f0\\hich\\f1\\loch\\f2\\b Ana}")) << filled.toStdString();
}

// Rich text with empty bookmarks at one place, right after one that holds
// text, filled in any order, one twice, one left empty: each filled one
// stands alone just after its own values, the empty one after the last, so
// that LibreOffice keeps their names; the values go again, leaving the
// template but for the order of the bookmarks at that place.
TEST_F(DocumentFileTest, RichTextBookmarksSharingAPlaceStandEachAfterItsOwnValues)
{
    const auto at = [](const QByteArray& name) { return "{\\*\\bkmkstart " + name + "}{\\*\\bkmkend " + name + "}"; };
    const auto file = [](const QByteArray& place) {
        return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\\pard Domicilio: {\\*\\bkmkstart Via}C/"
            + place + " (Madrid).\\par}";
    };
    const QString path = driveC.filePath(QStringLiteral("Plantilla.doc"));
    writeAll(path,
             file("{\\*\\bkmkend Via}{\\*\\bkmkstart A}{\\*\\bkmkstart B}{\\*\\bkmkstart C}{\\*\\bkmkstart D}"
                  "{\\*\\bkmkend A}{\\*\\bkmkend B}{\\*\\bkmkend C}{\\*\\bkmkend D}"));
    Document doc = Document::open(path);
    for (const auto& [marca, valor] : std::vector<std::pair<QString, QString>>{
             {"C", "Uno"}, {"A", "Dos"}, {"Via", "Mayor"}, {"B", "Tres"}, {"B", " bis"}})
        doc.insertAfter(marca, valor);
    doc.save();
    EXPECT_TRUE(readAll(path).contains("C/Mayor{\\*\\bkmkend Via}Uno" + at("C") + "Dos" + at("A") + "Tres bis" + at("B")
                                       + at("D") + " (Madrid)."));

    Document filled = Document::open(path);
    EXPECT_EQ(filled.removeInsertions({"Via", "A", "B", "C", "D"}), QStringList());
    filled.save();
    EXPECT_EQ(readAll(path), file("{\\*\\bkmkend Via}" + at("C") + at("A") + at("B") + at("D")));
}

// An empty bookmark between paragraphs stands at the start of the paragraph
// after it, even one written empty ("<w:p/>"). Numbered as high as a number
// goes, it leaves the insertions' bookmarks numbers of their own.
TEST_F(DocumentFileTest, AnEmptyBookmarkBetweenParagraphsFillsTheNextParagraph)
{
    const QString path = driveC.filePath(QStringLiteral("Plantilla.doc"));
    writeAll(path, docxPackage("<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
                               "<w:body><w:p><w:r><w:t>Antes</w:t></w:r></w:p><w:bookmarkStart w:id=\"2147483647\" "
                               "w:name=\"M0001\"/><w:bookmarkEnd w:id=\"2147483647\"/><w:p/><w:sectPr/></w:body>"
                               "</w:document>"));
    Document doc = Document::open(path);
    doc.insertAfter(QStringLiteral("M0001"), QStringLiteral("uno"));
    doc.insertAfter(QStringLiteral("M0001"), QStringLiteral(" dos"));
    doc.save();
    EXPECT_EQ(Document::open(path).bookmarkText(QStringLiteral("M0001")), QStringLiteral("uno dos"));

    static const QRegularExpression start(QStringLiteral("<w:bookmarkStart w:id=\"([^\"]*)\""));
    QSet<QString> ids;
    for (const auto& match : start.globalMatch(QString::fromUtf8(docxPart(readAll(path))))) {
        bool number = false;
        EXPECT_GE(match.captured(1).toInt(&number), 0);
        EXPECT_TRUE(number) << match.captured(1).toStdString();
        ids << match.captured(1);
    }
    EXPECT_EQ(ids.size(), 3);
}

// A damaged file with a bookmark start inside the formatting that a value
// takes (a run's, a paragraph's), numbered as the bookmark filled: the value
// carries no copy of it, which would take that bookmark's end from it.
TEST_F(DocumentFileTest, FormattingCopiedForAValueCarriesNoBookmark)
{
    const QString path = driveC.filePath(QStringLiteral("Plantilla.doc"));
    const QByteArray template_ = docxPackage(
        "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>"
        "<w:p><w:r><w:rPr><w:b/><w:bookmarkStart w:id=\"1\" w:name=\"EnLetra\"/></w:rPr><w:t>Nombre: </w:t></w:r>"
        "<w:bookmarkStart w:id=\"1\" w:name=\"M0001\"/><w:bookmarkEnd w:id=\"1\"/></w:p>"
        "<w:p><w:pPr><w:bookmarkStart w:id=\"2\" w:name=\"EnParrafo\"/></w:pPr>"
        "<w:bookmarkStart w:id=\"2\" w:name=\"M0002\"/><w:bookmarkEnd w:id=\"2\"/></w:p></w:body></w:document>");
    // One line is written into the bytes as read; two go through the tree
    // and split the paragraph.
    for (const QString& value : {QStringLiteral("uno"), QStringLiteral("uno\r\ndos")}) {
        writeAll(path, template_);
        Document doc = Document::open(path);
        doc.insertAfter(QStringLiteral("M0001"), value);
        doc.insertAfter(QStringLiteral("M0002"), value);
        doc.save();
        const Document filled = Document::open(path);
        QString expected = value;
        expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        for (const char* bookmark : {"M0001", "M0002"}) {
            if (!filled.hasBookmark(QString::fromLatin1(bookmark)))
                ADD_FAILURE() << bookmark << " lost after writing " << value.toStdString();
            else
                EXPECT_EQ(filled.bookmarkText(QString::fromLatin1(bookmark)), expected) << bookmark;
        }
        EXPECT_EQ(docxFormat(readAll(path), QStringLiteral("uno")), QStringLiteral("b"));
    }
}

// Another word processor prints the filled contract, and reads and writes
// it: every value prints where it belongs, and what the program wrote is
// still found and taken out again.
TEST_P(DocumentTest, InsertionsSurviveALibreOfficeRoundTrip)
{
    Document doc = Document::open(sample(shapes()));
    doc.insertAfter(QStringLiteral("M0115"), QStringLiteral("12345678Z     "));
    doc.insertAfter(QStringLiteral("M0116"), QStringLiteral("01/02/1980"));
    doc.insertAfter(QStringLiteral("M0001"), QStringLiteral("QUEDA"));
    doc.insertAfter(QStringLiteral("M0004"), QStringLiteral("CELDA"));
    doc.insertAfter(QStringLiteral("H1"), QStringLiteral("CABECERA"));
    doc.insertAfter(QStringLiteral("F1"), QStringLiteral("PIE"));
    doc.save();
    const QString printed = textByLibreOffice(doc.path());
    EXPECT_TRUE(appearInOrder(printed, {QStringLiteral("Cabecera refCABECERA"), QStringLiteral("Nombre: 12345678Z"),
                                        QStringLiteral("fin."), QStringLiteral("Negrita dentroQUEDA normal"),
                                        QStringLiteral("Plantilla ___01/02/1980"), QStringLiteral("Celda cCELDA"),
                                        QStringLiteral("piePIE")}));

    const QString format = GetParam() == DocumentFormat::Rtf ? QStringLiteral("rtf") : QStringLiteral("docx");
    writeAll(doc.path(), platform::makeLibreOffice()->convert(doc.path(), format));
    Document saved = Document::open(doc.path());
    EXPECT_EQ(saved.format(), GetParam());
    EXPECT_TRUE(saved.removeInsertions({QStringLiteral("M0115"), QStringLiteral("M0116")}).isEmpty());
    saved.save();
    QByteArray content = readAll(doc.path());
    if (GetParam() == DocumentFormat::Docx)
        content = docxPart(content);
    EXPECT_FALSE(content.contains("12345678Z"));
    EXPECT_FALSE(content.contains("1980"));
    EXPECT_TRUE(content.contains("QUEDA"));
    EXPECT_TRUE(content.contains("___"));
}

namespace {

// Templates as the word processors write them: every value goes inside its
// bookmark, prints where it belongs in the formatting of the character
// before it, and the copia básica's removal gives back the template as it
// was, also after LibreOffice has saved the contract.
struct WrittenValue {
    const char* bookmark;
    const char* value;
    const char* printed; // lines around it as printed, in their order
    const char* format;  // of its first line: "b" bold, "i" italic, "" plain
};

struct WrittenDocument {
    const char* file;
    std::vector<WrittenValue> values;
    // What LibreOffice's own reading pairs wrongly, which the removal refuses.
    QStringList movedByLibreOffice;
};

void PrintTo(const WrittenDocument& document, std::ostream* out)
{
    *out << document.file;
}

class WrittenDocumentTest : public TervaloTest, public ::testing::WithParamInterface<WrittenDocument> {};

// The group that starts with `head` in a rich-text file, as written.
QByteArray rtfGroup(const QByteArray& rtf, const char* head)
{
    const qsizetype start = rtf.indexOf(head);
    int depth = 0;
    for (qsizetype i = start; start >= 0 && i < rtf.size(); ++i) {
        if (rtf.at(i) == '\\')
            ++i;
        else if (rtf.at(i) == '{')
            ++depth;
        else if (rtf.at(i) == '}' && --depth == 0)
            return rtf.mid(start, i + 1 - start);
    }
    return {};
}

// Bookmarks every template has: in headers and footers of the first and
// later pages, collapsed after text and at a paragraph's start, after and
// around fields, in a table cell; and those of one template.
WrittenDocument written(const char* file, std::vector<WrittenValue> own, QStringList movedByLibreOffice = {})
{
    std::vector<WrittenValue> values = {{"CabeceraPrimera", "Ruiz", "Cabecera de la primera Ruiz", ""},
                                        {"Cabecera", "-7", "Cabecera ref-7", ""},
                                        {"PiePrimera", "uno ", "Primera uno hoja", ""},
                                        {"Pie", "dos ", "Pie dos de página", ""},
                                        {"M0115", "12345678Z", "Nombre: 12345678Z fin.", ""},
                                        {"M0116", "Muy ", "Muy Negrita al principio.", "b"},
                                        {"Dato1", " 10:00", " 10:00 tras el campo.", "b"},
                                        {"Dato2", " de 2", "1 de 2 con el campo.", "i"},
                                        {"M0004", "c1", "Celda c1", ""}};
    values.insert(values.end(), own.begin(), own.end());
    return {file, values, movedByLibreOffice};
}

// Rich text's own: an empty bookmark before a bold run, one in a note, a
// value holding what rich text escapes, a bookmark over two paragraphs.
std::vector<WrittenValue> rtfValues(std::initializer_list<WrittenValue> more = {})
{
    std::vector<WrittenValue> values = {
        {"M0001", " S.L.", "Empresa Talleres S.L. normal.", "i"},
        {"M0002", "ya ", "Texto ya siguiente en negrita.", ""},
        {"M0003", "puesta ", "Nota puesta al pie.", ""},
        {"M0005", "{c\\2} Łódź 20€", "otra{c\\2} Łódź 20€", ""},
        {"Clausula1", "PRIMERA.\r\nSEGUNDA.\r\n", "Cláusulas:\núltimaPRIMERA.\nSEGUNDA.", ""}};
    values.insert(values.end(), more);
    return values;
}

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Writers, WrittenDocumentTest,
    ::testing::Values(
        // Saved by LibreOffice 7.4 from plantilla_libreoffice.fodt. A bookmark
        // over two paragraphs comes out as a start without an end in the
        // first and the whole bookmark again in the second.
        written("plantilla_libreoffice.docx",
                {{"M0001", " S.L.", "Empresa Talleres S.L. normal.", "i"},
                 {"M0005", "c2", "otrac2", ""},
                 {"Clausula1", "PRIMERA.\r\nSEGUNDA.\r\n", "Cláusulas:\núltimaPRIMERA.\nSEGUNDA.", ""}}),
        // Word's shape: a simple field, spelling marks inside bookmarks, a
        // text box with its copy for older readers, bookmarks holding a
        // paragraph mark (ending at the next paragraph's start, after a
        // cell's last paragraph, after the body's last paragraph).
        written("plantilla_word.docx",
                {{"M0001", " S.L.", "Empresa Talleres S.L. normal.", "bi"},
                 {"M0002", "Otro ", "Párrafo entero.\nOtro Siguiente párrafo.", "i"},
                 {"M0005", "c2", "otrac2", "b"},
                 {"M0006", "X", "Caja X dentro", ""},
                 {"Clausula1", "PRIMERA.\r\nSEGUNDA.\r\n", "Cláusulas:PRIMERA.\nSEGUNDA.", ""}}),
        // Saved by LibreOffice 7.4 from plantilla_libreoffice_rtf.fodt (rich
        // text has no first-page header of a page style, so the first page
        // has a style of its own). Its page-style table repeats the headers
        // and footers with their bookmarks; the bookmark over two paragraphs
        // starts twice, which LibreOffice itself reads back wrongly.
        written("plantilla_libreoffice.rtf", rtfValues(), {QStringLiteral("Clausula1")}),
        // Word's shape: lines broken every 255 characters wherever they fall
        // (inside bookmark names, between "{" and "\*"), paragraphs without
        // \pard, a private copy of the headers before them, and a text box
        // with its copy for older readers. The clauses end the body with an
        // empty paragraph, and a bookmark ending there LibreOffice drops.
        written("plantilla_word.rtf", rtfValues({{"M0006", "X ", "Caja X dentro", ""}}),
                {QStringLiteral("Clausula1")})),
    [](const auto& info) {
        return QString::fromLatin1(info.param.file).replace(QLatin1Char('.'), QLatin1Char('_')).toStdString();
    });

TEST_P(WrittenDocumentTest, ValuesPrintWhereTheyBelongInTheirFormatAndGoAgain)
{
    const QString path = driveC.filePath(QStringLiteral("Plantilla.doc"));
    const QByteArray original = readAll(QStringLiteral(TERVALO_DOCUMENTOS "/") + QString::fromLatin1(GetParam().file));
    const bool rtf = original.startsWith("{\\rtf");
    writeAll(path, original);
    Document doc = Document::open(path);
    QStringList bookmarks;
    // Each value goes at the end of its bookmark's text (a .docx bookmark
    // holding a paragraph mark takes it before that mark).
    static const QRegularExpression breaks(QStringLiteral("[\r\n]"));
    for (const WrittenValue& v : GetParam().values) {
        const QString bookmark = QString::fromLatin1(v.bookmark);
        const QString value = QString::fromUtf8(v.value);
        const QString before = doc.bookmarkText(bookmark);
        doc.insertAfter(bookmark, value);
        EXPECT_EQ(doc.bookmarkText(bookmark).remove(breaks), QString(before + value).remove(breaks)) << v.bookmark;
        bookmarks << bookmark;
    }
    doc.save();

    const QByteArray filled = readAll(path);
    if (rtf) {
        for (const char* copy : {"{\\*\\pgdsctbl", "{\\shprslt"})
            EXPECT_TRUE(filled.contains(rtfGroup(original, copy))) << copy; // not the document's text
    }
    const QString printed = textByLibreOffice(path);
    for (const WrittenValue& v : GetParam().values) {
        EXPECT_EQ(writtenFormat(filled, QString::fromUtf8(v.value).section(QLatin1Char('\r'), 0, 0)),
                  QString::fromLatin1(v.format))
            << v.bookmark;
        EXPECT_TRUE(appearInOrder(printed, QString::fromUtf8(v.printed).split(QLatin1Char('\n')))) << v.bookmark;
    }

    Document basica = Document::open(path);
    EXPECT_TRUE(basica.removeInsertions(bookmarks).isEmpty());
    basica.save();
    if (rtf) {
        EXPECT_EQ(readAll(path), original);
    } else {
        for (const char* story : kDocxStories)
            EXPECT_EQ(rewrittenXml(docxPart(readAll(path), story)).toStdString(),
                      rewrittenXml(docxPart(original, story)).toStdString())
                << story;
    }

    // The contract saved again by LibreOffice: what the program wrote still
    // goes, but for what LibreOffice moved, which is said.
    writeAll(path, filled);
    writeAll(path, platform::makeLibreOffice()->convert(path, rtf ? QStringLiteral("rtf") : QStringLiteral("docx")));
    Document saved = Document::open(path);
    const QStringList unsure = saved.removeInsertions(bookmarks);
    EXPECT_EQ(unsure, GetParam().movedByLibreOffice);
    saved.save();
    const QString left = textByLibreOffice(path);
    for (const WrittenValue& v : GetParam().values) {
        if (!unsure.contains(QString::fromLatin1(v.bookmark))) {
            EXPECT_FALSE(left.contains(QString::fromUtf8(v.value).section(QLatin1Char('\r'), 0, 0))) << v.bookmark;
        }
    }
}

// A bookmark that starts and never ends has nowhere to take a value.
TEST_F(DocumentFileTest, ABookmarkWithoutItsEndIsAnError)
{
    const QString path = driveC.filePath(QStringLiteral("Plantilla.doc"));
    writeAll(path, readAll(QStringLiteral(TERVALO_DOCUMENTOS "/plantilla_libreoffice.rtf"))
                       .replace("{\\*\\bkmkend M0115}", ""));
    Document doc = Document::open(path);
    EXPECT_TRUE(doc.hasBookmark(QStringLiteral("M0115")));
    for (const auto& use : std::vector<std::function<void()>>{
             [&] { doc.insertAfter(QStringLiteral("M0115"), QStringLiteral("12345678Z")); },
             [&] { doc.bookmarkText(QStringLiteral("M0115")); }}) {
        try {
            use();
            ADD_FAILURE() << "a bookmark without its end must be an error";
        } catch (const DocumentError& e) {
            EXPECT_EQ(e.kind(), DocumentError::Kind::NoBookmark);
            EXPECT_TRUE(e.message().contains(QStringLiteral("M0115")));
        }
    }
}

// One-line values written and saved at once, nothing read in between: each
// takes the formatting of the character before it, in every part.
TEST_F(DocumentFileTest, OneLineValuesSavedAtOnceTakeTheFormattingBeforeThem)
{
    const QString path = driveC.filePath(QStringLiteral("Plantilla.doc"));
    writeAll(path, toDocx(shapes()));
    const std::pair<const char*, const char*> valores[] = {{"M0001", "NEGRITA"},       {"M0004", "LLANO"},
                                                           {"M0002", "OTRA\tNEGRITA"}, {"M0116", "SIN FORMATO"},
                                                           {"H1", "CABECERA"},         {"F1", "PIE"}};
    {
        Document doc = Document::open(path);
        for (const auto& [marca, valor] : valores)
            doc.insertAfter(QString::fromLatin1(marca), QString::fromLatin1(valor));
        doc.save();
    }
    const QByteArray file = readAll(path);
    const std::pair<const char*, const char*> formatos[] = {{"NEGRITA", "b"},    {"LLANO", ""},    {"OTRA", "b"},
                                                            {"SIN FORMATO", ""}, {"CABECERA", ""}, {"PIE", ""}};
    for (const auto& [valor, formato] : formatos)
        EXPECT_EQ(docxFormat(file, QString::fromLatin1(valor)), QString::fromLatin1(formato)) << valor;
    const Document again = Document::open(path);
    EXPECT_EQ(again.bookmarkText(QStringLiteral("M0002")), QStringLiteral("uno dosOTRA\tNEGRITA"));
    EXPECT_EQ(again.bookmarkText(QStringLiteral("M0004")), QStringLiteral("cLLANO"));
}
