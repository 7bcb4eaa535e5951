#include "Corte.h"
#include "DocumentFiles.h"
#include "PeakMemory.h"
#include "TervaloTest.h"

#include "platform/Document.h"

#include <QFile>
#include <QRegularExpression>

using platform::Document;
using platform::DocumentError;
using testing_support::peakMemory;

namespace {

constexpr const char* kFile = "TERVALO_DOCUMENTO_GRANDE";

// Rich text as word processors write it for a long contract: paragraphs of
// formatted runs with accents and escaped characters, a header, bookmarks,
// the last sharing its place with the copia básica's blank.
QByteArray longContract(qint64 size)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Times New Roman;}}\\sectd"
                     "{\\header\\pard\\plain NIF: {\\*\\bkmkstart M2115}{\\*\\bkmkend M2115}\\par}"
                     "\\pard\\plain Trabajador: {\\*\\bkmkstart M0001}{\\*\\bkmkend M0001}\\par\n";
    const QByteArray paragraph = "\\pard\\plain\\f0\\fs24 {\\b Cl\\'e1usula} del contrato entre la empresa y el "
                                 "trabajador, {\\i con la categor\\'eda} y el \\u241?o de antig\\'fcedad; "
                                 "jornada de {\\ul cuarenta} horas.\\par\n";
    rtf.reserve(size + paragraph.size() + 1);
    while (rtf.size() < size)
        rtf += paragraph;
    return rtf
        + "\\pard\\plain NIF: {\\*\\bkmkstart B0115}{\\*\\bkmkend B0115}{\\*\\bkmkstart M0115}"
          "{\\*\\bkmkend M0115}\\par}";
}

// A long contract as a .docx: clauses of a thousand characters after a bold
// label, a bookmark in every hundredth, in a main part of about `size` bytes.
QByteArray longDocx(qint64 size)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<w:document "
                     "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>";
    const QByteArray clause = QByteArray("El trabajador prestará sus servicios en el grupo profesional indicado, con "
                                         "la jornada, horario y lugar de trabajo que se establecen en este contrato "
                                         "y en el convenio colectivo de aplicación. ")
                                  .repeated(6);
    xml.reserve(size + 4096);
    for (int p = 1; xml.size() < size; ++p) {
        xml += "<w:p><w:pPr><w:spacing w:after=\"120\"/></w:pPr><w:r><w:rPr><w:b/></w:rPr><w:t xml:space=\"preserve\">"
               "Cláusula "
            + QByteArray::number(p) + ". </w:t></w:r><w:r><w:t xml:space=\"preserve\">" + clause + "</w:t></w:r>";
        if (p % 100 == 0) {
            const QByteArray name = "M" + QByteArray::number(p / 100).rightJustified(4, '0');
            xml += "<w:bookmarkStart w:id=\"" + QByteArray::number(p) + "\" w:name=\"" + name
                + "\"/><w:bookmarkEnd w:id=\"" + QByteArray::number(p) + "\"/>";
        }
        xml += "</w:p>";
    }
    return xml + "<w:sectPr/></w:body></w:document>";
}

// Runs the case `caso` of this program as a child on a file of `content`
// and gives how much more memory the child held at its most than when it
// began, or -1.
qint64 memoryOfChild(const char* caso, const QByteArray& content)
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("contrato"));
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size())
        return -1;
    out.close();
    const auto child = testing_support::EjecutarCasoHijo(caso, {{QString::fromLatin1(kFile), file}}, 120);
    const QString output = QString::fromUtf8(child.salida);
    const auto found = QRegularExpression(QStringLiteral("MEMORIA (\\d+)")).match(output);
    EXPECT_TRUE(child.codigo == 0 && found.hasMatch()) << output.toStdString();
    return found.hasMatch() ? found.captured(1).toLongLong() : -1;
}

} // namespace

// A long rich-text contract is filled, saved, read again and given its
// copia básica within four times its size in memory, in a process of its
// own, where nothing else has taken memory before.
TEST(DocumentMemoryTest, ALongRichTextContractIsWorkedOnWithinFourTimesItsSize)
{
    const QByteArray content = longContract(qint64(24) << 20);
    const qint64 used = memoryOfChild("DocumentMemoryTest.DISABLED_FillStoreAndCopiaBasica", content);
    ASSERT_GE(used, 0);
    EXPECT_LE(used, 4 * content.size()) << "held " << double(used) / double(content.size()) << " times the file";
}

TEST(DocumentMemoryTest, DISABLED_FillStoreAndCopiaBasica)
{
    const QString file = qEnvironmentVariable(kFile);
    ASSERT_FALSE(file.isEmpty());
    const qint64 before = peakMemory();
    const QString stored = file + QStringLiteral(".doc");
    {
        Document document = Document::open(file);
        document.insertAfter(QStringLiteral("M0001"), QStringLiteral("Ana Ruiz"));
        document.insertAfter(QStringLiteral("M2115"), QStringLiteral("12345678Z"));
        document.insertAfter(QStringLiteral("M0115"), QStringLiteral("12345678Z"));
        document.saveAs(stored);
    }
    {
        Document copy = Document::open(stored);
        EXPECT_TRUE(copy.removeInsertions({QStringLiteral("M0001"), QStringLiteral("M2115"), QStringLiteral("M0115")})
                        .isEmpty());
        copy.save();
    }
    QFile result(stored);
    ASSERT_TRUE(result.open(QIODevice::ReadOnly));
    EXPECT_FALSE(result.readAll().contains("12345678Z"));
    std::printf("MEMORIA %lld\n", static_cast<long long>(peakMemory() - before));
}

// A .docx whose main part is large is opened, filled (one-line values and
// clauses of several paragraphs) and saved within four times that part in
// memory, in a process of its own.
TEST(DocumentMemoryTest, ALargeDocxIsFilledAndSavedWithinFourTimesItsMainPart)
{
    qint64 mainPart = 0;
    const QByteArray docx = [&mainPart] {
        const QByteArray xml = longDocx(qint64(40) << 20);
        mainPart = xml.size();
        return testing_support::docxPackage(xml);
    }();
    const qint64 used = memoryOfChild("DocumentMemoryTest.DISABLED_FillAndStoreDocx", docx);
    ASSERT_GE(used, 0);
    EXPECT_LE(used, 4 * mainPart) << "held " << double(used) / double(mainPart) << " times the main part";
}

TEST(DocumentMemoryTest, DISABLED_FillAndStoreDocx)
{
    const QString file = qEnvironmentVariable(kFile);
    ASSERT_FALSE(file.isEmpty());
    const qint64 before = peakMemory();
    const QString stored = file + QStringLiteral(".doc");
    {
        Document document = Document::open(file);
        for (int m = 1; m <= 40; ++m)
            document.insertAfter(QStringLiteral("M%1").arg(m, 4, 10, QLatin1Char('0')), QStringLiteral("Ana Ruiz"));
        document.insertAfter(QStringLiteral("M0041"), QStringLiteral("PRIMERA.\r\nSEGUNDA."));
        document.saveAs(stored);
    }
    const Document again = Document::open(stored);
    EXPECT_EQ(again.bookmarkText(QStringLiteral("M0041")), QStringLiteral("PRIMERA.\nSEGUNDA."));
    std::printf("MEMORIA %lld\n", static_cast<long long>(peakMemory() - before));
}

// What would take more than that, a file made of nothing but tokens, is
// refused as too large before it takes the memory.
TEST(DocumentMemoryTest, RichTextThatWouldTakeTooMuchMemoryIsRefused)
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("llaves.rtf"));
    QByteArray content = "{\\rtf1\\ansi ";
    content += QByteArray(80 << 20, '{') + QByteArray(80 << 20, '}');
    content += '}';
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write(content) == content.size());
    }
    content = {};
    try {
        Document::open(file);
        ADD_FAILURE() << "opened";
    } catch (const DocumentError& e) {
        EXPECT_EQ(e.kind(), DocumentError::Kind::CannotOpen);
        EXPECT_TRUE(e.message().contains(QStringLiteral("demasiado grande"))) << e.message().toStdString();
    }
}
