#include "DocumentFiles.h"
#include "TervaloTest.h"

#include "platform/Document.h"
#include "platform/Files.h"

#include <QDir>
#include <QRegularExpression>

using platform::Document;
using namespace testing_support;

namespace {

// The bookmarks a rich-text file has, in the order they start; line breaks
// may stand anywhere in their names.
QStringList bookmarksIn(QByteArray rtf)
{
    rtf.replace("\r", "").replace("\n", "");
    QStringList names;
    static const QRegularExpression start(QStringLiteral("\\\\bkmkstart\\s*([^}\\s]+)"));
    for (auto found = start.globalMatch(QString::fromLatin1(rtf)); found.hasNext();) {
        const QString name = found.next().captured(1);
        if (!name.startsWith(u'_') && !names.contains(name))
            names << name;
    }
    return names;
}

// The file as another writer may write it: a line break before every group.
QByteArray withLineBreaks(QByteArray rtf)
{
    return rtf.left(16) + rtf.mid(16).replace("{", "\r\n{");
}

// The file as another writer may write it: the runs of text that a group of
// its own sets apart in the same formatting joined into one.
QByteArray withRunsJoined(QByteArray rtf)
{
    static const QRegularExpression pair(QStringLiteral("\\{(\\\\plain(?:\\\\[a-z]+-?\\d* ?)*)([^{}\\\\]*)\\}\\{\\1"));
    return QString::fromLatin1(rtf).replace(pair, QStringLiteral("{\\1\\2")).toLatin1();
}

struct Removed {
    QByteArray file;
    QStringList unsure;
};

} // namespace

class DocumentRemovalTest : public TervaloTest {
protected:
    // Every bookmark of `file` filled once, in their order, some values
    // with breaks and blanks, some changed afterwards by hand.
    QByteArray filled(const QByteArray& file, const QStringList& bookmarks)
    {
        const QString path = driveC.filePath(QStringLiteral("plantilla.rtf"));
        EXPECT_TRUE(platform::writeWholeFile(path, file));
        Document doc = Document::open(path);
        for (qsizetype i = 0; i < bookmarks.size(); ++i) {
            const QString value = i % 3 == 0 ? QStringLiteral("Valor %1").arg(i)
                : i % 3 == 1                 ? QStringLiteral("  línea %1\r\nsegunda\tparte  ").arg(i)
                                             : QStringLiteral("Peña {%1}").arg(i);
            doc.insertAfter(bookmarks.at(i), value);
        }
        doc.save();
        return platform::readWholeFile(path).replace("Valor 6", "Valor 66");
    }

    // The insertions at `bookmarks` taken out of `file` in one go, or one
    // bookmark after another.
    Removed removed(const QByteArray& file, const QStringList& bookmarks, bool atOnce)
    {
        const QString path = driveC.filePath(QStringLiteral("contrato.rtf"));
        EXPECT_TRUE(platform::writeWholeFile(path, file));
        Document doc = Document::open(path);
        Removed out;
        if (atOnce) {
            out.unsure = doc.removeInsertions(bookmarks);
        } else {
            for (const QString& bookmark : bookmarks)
                out.unsure += doc.removeInsertions({bookmark});
        }
        doc.save();
        out.file = platform::readWholeFile(path);
        return out;
    }
};

// The copia básica takes every value out in one go, as it takes each out
// when asked for one bookmark after another: the same file, byte for byte,
// and the same bookmarks it is unsure of, wherever the bookmarks stand
// (side by side, sharing a place, nested, in cells, headers and footers),
// also once another writer has broken its lines or joined its runs.
TEST_F(DocumentRemovalTest, AllAtOnceGiveWhatOneAfterAnotherGives)
{
    SampleDocument sample;
    sample.header = {{text("Cabecera "), start("H1"), text("ref"), end("H1"), start("H2"), end("H2")}};
    sample.body = {{start("P0"), text("Nombre: "), start("M0115"), end("M0115"), text(" fin."), end("P0")},
                   {bold("Negrita "), start("M0001"), bold("dentro"), end("M0001"), start("M0002"), end("M0002")},
                   {text("Domicilio: "), start("M0018"), start("M0017"), start("M0016"), end("M0018"), end("M0017"),
                    end("M0016"), text(" (Madrid).")},
                   {text("NIF: "), start("B0116"), end("B0116"), start("M0116"), end("M0116"), bold("x"),
                    start("M0106"), end("M0106")},
                   {start("Nombre"), text("x "), start("M2115"), text("y"), end("M2115"), text(" z"), end("Nombre")}};
    sample.cells = {{text("Celda "), start("M0004"), end("M0004")}, {start("M0005"), end("M0005")}};
    sample.footer = {{start("F1"), text("pie"), end("F1")}};
    std::vector<std::pair<QString, QByteArray>> templates{{QStringLiteral("muestra"), toRtf(sample)}};
    for (const QString& name : QDir(QStringLiteral(TERVALO_DOCUMENTOS)).entryList({QStringLiteral("*.rtf")}))
        templates.emplace_back(name, readAll(QStringLiteral(TERVALO_DOCUMENTOS "/") + name));

    for (const auto& [name, file] : templates) {
        const QStringList bookmarks = bookmarksIn(file);
        const QByteArray contract = filled(file, bookmarks);
        for (const auto& [shape, written] :
             {std::pair{"as written", contract}, std::pair{"lines broken", withLineBreaks(contract)},
              std::pair{"runs joined", withRunsJoined(contract)},
              std::pair{"both", withLineBreaks(withRunsJoined(contract))}}) {
            SCOPED_TRACE((name + QStringLiteral(", ") + QLatin1String(shape)).toStdString());
            const Removed atOnce = removed(written, bookmarks, true);
            const Removed oneByOne = removed(written, bookmarks, false);
            EXPECT_EQ(atOnce.file.toStdString(), oneByOne.file.toStdString());
            EXPECT_EQ(atOnce.unsure, oneByOne.unsure);
        }
    }
}

// Two values at one bookmark that another writer has joined into one run go
// with the group that held them, as when each is taken out after the other:
// the template comes back byte for byte.
TEST_F(DocumentRemovalTest, ValuesJoinedIntoOneRunGoWithTheirGroup)
{
    SampleDocument sample;
    sample.body = {{bold("Negrita "), start("M0001"), bold("dentro"), end("M0001"), text(" normal")},
                   {text("NIF: "), start("M0115"), end("M0115")}};
    const QByteArray original = toRtf(sample);
    const QString path = driveC.filePath(QStringLiteral("plantilla.rtf"));
    ASSERT_TRUE(platform::writeWholeFile(path, original));
    {
        Document doc = Document::open(path);
        doc.insertAfter(QStringLiteral("M0001"), QStringLiteral("uno"));
        doc.insertAfter(QStringLiteral("M0001"), QStringLiteral("dos"));
        doc.insertAfter(QStringLiteral("M0115"), QStringLiteral("12345678Z"));
        doc.save();
    }
    const QByteArray joined = withRunsJoined(platform::readWholeFile(path));
    ASSERT_TRUE(joined.contains("unodos}"));
    const Removed basica = removed(joined, {QStringLiteral("M0001"), QStringLiteral("M0115")}, true);
    EXPECT_EQ(basica.file.toStdString(), original.toStdString());
    EXPECT_TRUE(basica.unsure.isEmpty());
}
