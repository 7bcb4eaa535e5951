#include "DocumentFiles.h"
#include "TervaloTest.h"

#include "platform/Document.h"
#include "platform/Files.h"

#include <QRegularExpression>

#include <algorithm>
#include <optional>

using platform::Document;
using namespace testing_support;

namespace {

using Values = std::vector<std::pair<QString, QString>>;

// Rich text with empty bookmarks at one place after "Domicilio: ": written
// as `place` says, after the header's tables when `first`.
QByteArray withPlace(const QByteArray& place, bool first = false)
{
    const QByteArray head = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}";
    const QByteArray text = "\\pard\\plain\\f0\\fs22 Domicilio: ";
    return first ? head + place + text + "(Madrid).\\par}" : head + text + place + " (Madrid).\\par}";
}

} // namespace

class DocumentFillTest : public TervaloTest {
protected:
    // `file` filled with `values` in their order, in one pass, or saved and
    // read again after each value.
    QByteArray filled(const QByteArray& file, const Values& values, bool onePass)
    {
        const QString path = driveC.filePath(QStringLiteral("contrato.rtf"));
        EXPECT_TRUE(platform::writeWholeFile(path, file));
        std::optional<Document> doc(Document::open(path));
        for (const auto& [bookmark, value] : values) {
            doc->insertAfter(bookmark, value);
            if (!onePass) {
                doc->save();
                doc.emplace(Document::open(path));
            }
        }
        doc->save();
        return platform::readWholeFile(path);
    }
};

// Values at bookmarks that share their place are written in one pass as
// when the file is read again for each: the same file, byte for byte,
// whatever the order they are filled in, with the groups of the place on
// lines of their own (as Word breaks them), that place right after the
// header's tables, a bookmark there written twice, or again elsewhere, and
// bookmarks filled before, in the template as LibreOffice writes it too.
TEST_F(DocumentFillTest, OnePassGivesWhatOneValueAtATimeGives)
{
    const auto starts = [](const char* name) { return "{\\*\\bkmkstart " + QByteArray(name) + "}"; };
    const auto ends = [](const char* name) { return "{\\*\\bkmkend " + QByteArray(name) + "}"; };
    const QByteArray three =
        starts("A") + "\r\n" + starts("B") + "\r\n" + starts("C") + ends("A") + "\r\n" + ends("B") + ends("C");
    const QByteArray twice = starts("A") + ends("A") + starts("A") + ends("A") + starts("B") + ends("B");
    std::vector<std::pair<const char*, QByteArray>> templates{
        {"three", withPlace(three)},
        {"three first", withPlace(three, true)},
        {"twice", withPlace(twice)},
        {"elsewhere",
         withPlace(starts("B") + ends("B") + " y " + starts("A") + starts("C") + starts("B") + ends("A") + ends("B")
                   + ends("C"))},
    };
    // The groups of a place come together, each filled bookmark just after
    // its values; of a bookmark written twice there, the first pair stays
    // first.
    const Values abc{{"A", "Valor A"}, {"B", "Valor B"}, {"C", "Valor C"}};
    EXPECT_TRUE(filled(templates[0].second, abc, true)
                    .contains("Domicilio: Valor A" + starts("A") + ends("A") + "Valor B" + starts("B") + ends("B")
                              + "Valor C" + starts("C") + ends("C") + " (Madrid)"));
    EXPECT_TRUE(filled(templates[2].second, {{"A", "Valor A"}, {"B", "Valor B"}, {"A", " bis"}}, true)
                    .contains("Domicilio: Valor A bis" + starts("A") + ends("A") + starts("A") + ends("A") + "Valor B"
                              + starts("B") + ends("B") + " (Madrid)"));

    for (const auto& [name, file] : templates) {
        QStringList bookmarks{QStringLiteral("A"), QStringLiteral("B")};
        if (file.contains("bkmkstart C"))
            bookmarks << QStringLiteral("C");
        do {
            Values values;
            for (const QString& b : bookmarks)
                values.emplace_back(b, QStringLiteral("Valor ") + b);
            values.emplace_back(bookmarks.front(), QStringLiteral(" bis"));
            SCOPED_TRACE((QLatin1String(name) + u' ' + bookmarks.join(QString())).toStdString());
            const QByteArray once = filled(file, values, true);
            EXPECT_EQ(once.toStdString(), filled(file, values, false).toStdString());
            // Filled again, the bookmarks filled before standing first.
            EXPECT_EQ(filled(once, values, true).toStdString(), filled(once, values, false).toStdString());
        } while (std::next_permutation(bookmarks.begin(), bookmarks.end()));
    }

    const QByteArray libreOffice = readAll(QStringLiteral(TERVALO_DOCUMENTOS "/marcas_vacias_libreoffice.rtf"));
    Values values;
    static const QRegularExpression start(QStringLiteral("\\\\bkmkstart ([^}]+)\\}"));
    for (const auto& found : start.globalMatch(QString::fromLatin1(libreOffice))) {
        if (std::none_of(values.begin(), values.end(), [&](const auto& v) { return v.first == found.captured(1); }))
            values.emplace_back(found.captured(1), QStringLiteral("08901"));
    }
    values.emplace_back(values.front().first, QStringLiteral(" Sabadell"));
    const QByteArray once = filled(libreOffice, values, true);
    EXPECT_EQ(once.toStdString(), filled(libreOffice, values, false).toStdString());
    EXPECT_EQ(filled(once, values, true).toStdString(), filled(once, values, false).toStdString());
}
