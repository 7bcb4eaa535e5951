#include "TervaloTest.h"

#include "platform/Office.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>

using platform::OfficeError;
using platform::PageSet;

namespace {

// Programs as the office suite would run them: LibreOffice "converts" into a
// PDF of `pages` pages, "Página n" written on page n; lp keeps what it is
// given. With `firstStartFails`, LibreOffice aborts on the start that makes
// a profile, as it did once on a new machine.
class FakePrograms final : public platform::OfficePrograms {
public:
    struct Job {
        QString options;
        QStringList pages; // the text of each page, "" for a blank one
        QString title; // the name the printer's queue shows
    };

    QString find(const QString& name) override
    {
        return installed.contains(name) ? QStringLiteral("/usr/bin/") + name : QString();
    }

    Result run(const QString& program, const QStringList& arguments) override
    {
        runs << QStringList{QFileInfo(program).fileName()} + arguments;
        if (program.endsWith(QLatin1String("soffice"))) {
            const QString profile =
                QUrl(arguments.filter(QStringLiteral("-env:UserInstallation=")).value(0).section(u'=', 1)).toLocalFile();
            if (!QFileInfo::exists(profile + QStringLiteral("/user"))) {
                QDir().mkpath(profile + QStringLiteral("/user"));
                if (firstStartFails)
                    return {true, 134, QStringLiteral("Fatal exception: Signal 6")};
            }
            if (arguments.contains(QStringLiteral("--terminate_after_init")))
                return {true, 0, {}};
            if (conversionFails)
                return {true, 1, QStringLiteral("Error: source file could not be loaded")};
            const QString folder = arguments.at(arguments.indexOf(QStringLiteral("--outdir")) + 1);
            QPdfWriter pdf(folder + QStringLiteral("/documento.pdf"));
            QPainter painter(&pdf);
            for (int i = 1; i <= pages; ++i) {
                if (i > 1)
                    pdf.newPage();
                painter.drawText(QPointF(500, 500), QStringLiteral("Página %1").arg(i));
            }
        } else {
            QStringList texts = testing_support::pdfText(arguments.last()).split(QLatin1Char('\f'));
            texts.removeLast(); // after the last page's form feed
            for (QString& text : texts)
                text = text.trimmed();
            QStringList options = arguments.mid(0, arguments.size() - 1);
            QString title = QFileInfo(arguments.last()).fileName(); // lp's own choice
            if (const auto t = options.indexOf(QStringLiteral("-t")); t >= 0) {
                title = options.value(t + 1);
                options.remove(t, 2);
            }
            jobs.push_back({options.join(QLatin1Char(' ')), texts, title});
        }
        return {true, 0, {}};
    }

    bool startDetached(const QString& program, const QStringList& arguments, const QProcessEnvironment&) override
    {
        runs << QStringList{QFileInfo(program).fileName()} + arguments;
        return true;
    }

    QStringList installed{QStringLiteral("soffice"), QStringLiteral("lp")};
    QList<QStringList> runs;
    std::vector<Job> jobs;
    int pages = 3;
    bool firstStartFails = false;
    bool conversionFails = false;
};

class OfficeTest : public testing_support::TervaloTest {
protected:
    OfficeTest()
    {
        // LibreOffice's profile is made afresh for each case.
        qputenv("XDG_CACHE_HOME", cache.path().toUtf8());
        auto owned = std::make_unique<FakePrograms>();
        programs = owned.get();
        office = platform::makeLibreOffice(std::move(owned));
        document = driveC.filePath(QStringLiteral("0012300045.doc"));
        QFile f(document);
        f.open(QIODevice::WriteOnly);
        f.write("{\\rtf1 contrato}");
    }

    // The pages of the job lp was given, "-" for a blank one.
    QString printed(size_t job) const
    {
        if (job >= programs->jobs.size())
            return QStringLiteral("no job");
        QStringList pages = programs->jobs[job].pages;
        for (QString& page : pages)
            page = page.isEmpty() ? QStringLiteral("-") : page.mid(7);
        return programs->jobs[job].options + QStringLiteral(": ") + pages.join(QLatin1Char(' '));
    }

    ~OfficeTest() override { qputenv("XDG_CACHE_HOME", previousCache); }

    // The runs of LibreOffice with an argument.
    QList<QStringList> runsWith(const char* argument) const
    {
        QList<QStringList> found;
        for (const QStringList& run : programs->runs)
            if (run.contains(QLatin1String(argument)))
                found << run;
        return found;
    }

    const QByteArray previousCache = qgetenv("XDG_CACHE_HOME");
    QTemporaryDir cache;
    FakePrograms* programs;
    std::unique_ptr<platform::Office> office;
    QString document;
};

} // namespace

TEST_F(OfficeTest, EachPassOfDoubleSidedPrintingHoldsExactlyItsPages)
{
    const QString pass = QStringLiteral("-n 1 -o sides=one-sided: ");
    programs->pages = 2;
    office->print(document, PageSet::Odd, 2);
    office->print(document, PageSet::Even, 2);
    office->print(document, PageSet::Even, 1);
    EXPECT_EQ(printed(0), pass + QStringLiteral("1 1"));
    EXPECT_EQ(printed(1), pass + QStringLiteral("2 2")) << "no blank page";
    EXPECT_EQ(printed(2), pass + QStringLiteral("2"));

    // An odd number of pages: a blank page passes over each copy's last sheet
    // before the next copy's backs, none after the last copy.
    programs->jobs.clear();
    programs->pages = 3;
    office->print(document, PageSet::Odd, 2);
    office->print(document, PageSet::Even, 3);
    office->print(document, PageSet::Even, 1);
    EXPECT_EQ(printed(0), pass + QStringLiteral("1 3 1 3"));
    EXPECT_EQ(printed(1), pass + QStringLiteral("2 - 2 - 2"));
    EXPECT_EQ(printed(2), pass + QStringLiteral("2"));

    // A one-page document has no backs; zero copies print nothing; the whole
    // document goes in collated copies.
    programs->jobs.clear();
    programs->pages = 1;
    office->print(document, PageSet::Odd, 2);
    office->print(document, PageSet::Even, 2);
    office->print(document, PageSet::All, 0);
    programs->pages = 3;
    office->print(document, PageSet::All, 3);
    ASSERT_EQ(programs->jobs.size(), 2u);
    EXPECT_EQ(printed(0), pass + QStringLiteral("1 1"));
    EXPECT_EQ(printed(1), QStringLiteral("-n 3 -o collate=true: 1 2 3"));

    // The conversion runs headless on a copy, with a profile of its own.
    const QStringList conversion = runsWith("--convert-to").first();
    EXPECT_TRUE(conversion.contains(QStringLiteral("--headless")));
    EXPECT_TRUE(conversion.filter(QStringLiteral("-env:UserInstallation=file://")).size() == 1);
    EXPECT_NE(conversion.last(), document);
    EXPECT_TRUE(conversion.last().endsWith(QLatin1String("documento.rtf")));
}

// The printer's queue tells the jobs apart by the documents' file names.
TEST_F(OfficeTest, EachJobBearsTheNameOfItsDocument)
{
    programs->pages = 2;
    office->print(document, PageSet::All, 2);
    office->print(document, PageSet::Odd, 1);
    const QString copia = driveC.filePath(QStringLiteral("ContratoX1b2C3.tmp"));
    QFile::copy(document, copia);
    office->print(copia, PageSet::Even, 1);
    ASSERT_EQ(programs->jobs.size(), 3u);
    EXPECT_EQ(programs->jobs[0].title, QStringLiteral("0012300045.doc"));
    EXPECT_EQ(programs->jobs[1].title, QStringLiteral("0012300045.doc"));
    EXPECT_EQ(programs->jobs[2].title, QStringLiteral("ContratoX1b2C3.tmp"));
}

// The start that makes LibreOffice's profile only makes it: a first start
// that fails costs no conversion, and one that fails afterwards says so.
TEST_F(OfficeTest, AConversionNeverCountsOnTheStartThatMakesTheProfile)
{
    programs->firstStartFails = true;
    EXPECT_FALSE(office->convert(document, QStringLiteral("pdf")).isEmpty());
    EXPECT_EQ(runsWith("--terminate_after_init").size(), 2) << "the failed first start tried once more";
    EXPECT_EQ(runsWith("--convert-to").size(), 1);

    programs->runs.clear();
    programs->conversionFails = true;
    try {
        office->convert(document, QStringLiteral("pdf"));
        ADD_FAILURE() << "a failed conversion passed for a good one";
    } catch (const OfficeError& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QStringLiteral("could not be loaded"))) << e.what();
    }
    EXPECT_TRUE(runsWith("--terminate_after_init").isEmpty()) << "a profile made ready is not started again for it";
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
        EXPECT_EQ(QString::fromUtf8(e.what()),
                  QStringLiteral("No se puede imprimir el documento C:\\0012300045.doc: hace falta el cliente de "
                                 "impresión de CUPS (lp), que no está instalado; el documento sigue guardado en su "
                                 "fichero."));
    }
    programs->installed.clear();
    try {
        office->show(document);
        ADD_FAILURE();
    } catch (const OfficeError& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()),
                  QStringLiteral("Para mostrar el documento C:\\0012300045.doc hace falta LibreOffice Writer, que no "
                                 "está instalado; el documento sigue guardado en su fichero."));
    }
    EXPECT_TRUE(programs->jobs.empty());
}

// A document given to LibreOffice to show counts as needed while LibreOffice
// is opening it and while its lock file is there.
TEST_F(OfficeTest, ADocumentShownIsNeededUntilLibreOfficeLetsItGo)
{
    const QString lock = platform::officeLockFile(document);
    EXPECT_EQ(QFileInfo(lock).fileName(), QStringLiteral(".~lock.0012300045.doc#"));
    EXPECT_FALSE(office->isShowing(document));

    office->show(document);
    EXPECT_TRUE(office->isShowing(document)) << "being opened";
    QFile(lock).open(QIODevice::WriteOnly);
    fakeClock().wait(600);
    EXPECT_TRUE(office->isShowing(document)) << "open";
    QFile::remove(lock);
    EXPECT_FALSE(office->isShowing(document)) << "closed";

    office->show(document);
    fakeClock().wait(60);
    EXPECT_TRUE(office->isShowing(document));
    fakeClock().wait(60);
    EXPECT_FALSE(office->isShowing(document)) << "never opened";
}

// A document shown for reading opens read-only. LibreOffice locks no such
// document but keeps it open: it is needed while a LibreOffice holds it open,
// not while another program does.
TEST_F(OfficeTest, ADocumentShownForReadingOpensReadOnlyAndIsNeededWhileLibreOfficeHoldsIt)
{
    office->show(document, platform::View::Reading);
    EXPECT_EQ(programs->runs.last(),
              (QStringList{QStringLiteral("soffice"), QStringLiteral("--writer"), QStringLiteral("--norestore"),
                           QStringLiteral("--view"), document}));
    fakeClock().wait(121); // past its opening

    const struct {
        const char* programa;
        bool loTieneAbierto;
    } casos[] = {{"soffice.bin", true}, {"lector", false}, {nullptr, false}};
    QTemporaryDir carpeta;
    for (const auto& caso : casos) {
        QProcess lector;
        if (caso.programa) {
            const QString programa = carpeta.filePath(QString::fromLatin1(caso.programa));
            ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), programa));
            QFile::setPermissions(programa, QFile::ReadOwner | QFile::ExeOwner);
            lector.setStandardInputFile(document);
            lector.start(programa, {QStringLiteral("30")});
            ASSERT_TRUE(lector.waitForStarted());
        }
        EXPECT_EQ(office->isShowing(document), caso.loTieneAbierto) << (caso.programa ? caso.programa : "nobody");
        lector.kill();
        lector.waitForFinished();
    }
    EXPECT_FALSE(office->isShowing(document)) << "let go";
}
