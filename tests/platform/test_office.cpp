#include "TervaloTest.h"

#include "platform/Office.h"

#include <QDir>
#include <QFile>

using platform::OfficeError;
using platform::PageSet;

namespace {

// Programs as the office suite would run them: LibreOffice "converts" into a
// PDF of `pages` pages, lp records its arguments.
class FakePrograms final : public platform::OfficePrograms {
public:
    QString find(const QString& name) override
    {
        return installed.contains(name) ? QStringLiteral("/usr/bin/") + name : QString();
    }

    Result run(const QString& program, const QStringList& arguments) override
    {
        runs << QStringList{QFileInfo(program).fileName()} + arguments;
        if (program.endsWith(QLatin1String("soffice"))) {
            const QString folder = arguments.at(arguments.indexOf(QStringLiteral("--outdir")) + 1);
            QFile pdf(folder + QStringLiteral("/documento.pdf"));
            pdf.open(QIODevice::WriteOnly);
            pdf.write("%PDF-1.4\n1 0 obj << /Type /Pages /Count " + QByteArray::number(pages) + " >>\n");
            for (int i = 0; i < pages; ++i)
                pdf.write("<< /Type /Page /MediaBox [0 0 595 842] >>\n");
        } else {
            const QString file = arguments.last();
            const QString options = arguments.mid(0, arguments.size() - 1).join(QLatin1Char(' '));
            printed << (file.endsWith(QLatin1String("blanco.pdf")) ? QStringLiteral("blank") : options);
        }
        return {true, 0, {}};
    }

    bool startDetached(const QString& program, const QStringList& arguments) override
    {
        runs << QStringList{QFileInfo(program).fileName()} + arguments;
        return true;
    }

    QStringList installed{QStringLiteral("soffice"), QStringLiteral("lp")};
    QList<QStringList> runs;
    QStringList printed;
    int pages = 3;
};

class OfficeTest : public testing_support::TervaloTest {
protected:
    OfficeTest()
    {
        auto owned = std::make_unique<FakePrograms>();
        programs = owned.get();
        office = platform::makeLibreOffice(std::move(owned));
        document = driveC.filePath(QStringLiteral("0012300045.doc"));
        QFile f(document);
        f.open(QIODevice::WriteOnly);
        f.write("{\\rtf1 contrato}");
    }

    FakePrograms* programs;
    std::unique_ptr<platform::Office> office;
    QString document;
};

} // namespace

TEST_F(OfficeTest, PrintsPageSetsInCopiesAndPadsOddDocumentsPerCopy)
{
    office->print(document, PageSet::Odd, 2);
    office->print(document, PageSet::Even, 2);
    EXPECT_EQ(programs->printed, (QStringList{QStringLiteral("-n 2 -o collate=true -o page-set=odd"),
                                              QStringLiteral("-o page-set=even"), QStringLiteral("blank"),
                                              QStringLiteral("-o page-set=even"), QStringLiteral("blank")}));

    // An even page count, or one copy, needs no padding; zero copies prints nothing.
    programs->printed.clear();
    programs->pages = 4;
    office->print(document, PageSet::Even, 2);
    programs->pages = 3;
    office->print(document, PageSet::Even, 1);
    office->print(document, PageSet::All, 3);
    office->print(document, PageSet::All, 0);
    EXPECT_EQ(programs->printed, (QStringList{QStringLiteral("-n 2 -o collate=true -o page-set=even"),
                                              QStringLiteral("-n 1 -o page-set=even"),
                                              QStringLiteral("-n 3 -o collate=true")}));

    // The conversion runs headless on a copy, with a profile of its own.
    const QStringList conversion = programs->runs.first();
    EXPECT_TRUE(conversion.contains(QStringLiteral("--headless")));
    EXPECT_TRUE(conversion.filter(QStringLiteral("-env:UserInstallation=file://")).size() == 1);
    EXPECT_NE(conversion.last(), document);
    EXPECT_TRUE(conversion.last().endsWith(QLatin1String("documento.rtf")));
}

TEST_F(OfficeTest, SaysWhatIsMissingAndShowsWithoutWaiting)
{
    office->show(document);
    EXPECT_EQ(programs->runs.last(), (QStringList{QStringLiteral("soffice"), QStringLiteral("--writer"),
                                                  QStringLiteral("--norestore"), document}));

    programs->installed = {QStringLiteral("soffice")};
    try {
        office->print(document, PageSet::All, 1);
        ADD_FAILURE();
    } catch (const OfficeError& e) {
        EXPECT_TRUE(e.programMissing());
        EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QStringLiteral("(lp)")));
    }
    programs->installed.clear();
    try {
        office->show(document);
        ADD_FAILURE();
    } catch (const OfficeError& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QStringLiteral("LibreOffice Writer")));
    }
    EXPECT_TRUE(programs->printed.isEmpty());
}
