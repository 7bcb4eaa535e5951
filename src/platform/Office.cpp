#include "platform/Office.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

namespace platform {

OfficeError::OfficeError(const QString& message, bool programMissing)
    : std::runtime_error(message.toStdString()), programMissing_(programMissing)
{
}

namespace {

// How long LibreOffice may take over one conversion.
constexpr int kConversionLimitMs = 180000;

QString describe(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The extension LibreOffice needs to read a copy, told by the content.
QString extensionFor(const QByteArray& head)
{
    if (head.trimmed().startsWith("{\\rtf"))
        return QStringLiteral("rtf");
    if (head.startsWith("PK"))
        return QStringLiteral("docx");
    return QStringLiteral("doc");
}

int pageCount(const QByteArray& pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![A-Za-z])"));
    int count = 0;
    for (auto it = page.globalMatch(QString::fromLatin1(pdf)); it.hasNext(); it.next())
        ++count;
    return count;
}

// A one-page blank PDF the size of the first page of `pdf` (A4 otherwise).
QByteArray blankPage(const QByteArray& pdf)
{
    QString box = QStringLiteral("0 0 595 842");
    static const QRegularExpression mediaBox(
        QStringLiteral("/MediaBox\\s*\\[\\s*([-\\d.]+\\s+[-\\d.]+\\s+[-\\d.]+\\s+[-\\d.]+)\\s*\\]"));
    const auto match = mediaBox.match(QString::fromLatin1(pdf));
    if (match.hasMatch())
        box = match.captured(1);
    const QByteArray objects[] = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [" + box.toLatin1() + "] /Resources << >> >>",
    };
    QByteArray out = "%PDF-1.4\n";
    QList<qsizetype> offsets;
    for (int i = 0; i < 3; ++i) {
        offsets << out.size();
        out += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype xref = out.size();
    out += "xref\n0 4\n0000000000 65535 f \n";
    for (qsizetype offset : offsets)
        out += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    out += "trailer\n<< /Size 4 /Root 1 0 R >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return out;
}

class SystemPrograms final : public OfficePrograms {
public:
    QString find(const QString& name) override { return QStandardPaths::findExecutable(name); }

    Result run(const QString& program, const QStringList& arguments) override
    {
        Result result;
        QProcess process;
        QEventLoop loop;
        QTimer limit;
        limit.setSingleShot(true);
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
        QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
        process.start(program, arguments);
        if (!process.waitForStarted(10000)) {
            result.errors = process.errorString();
            return result;
        }
        result.started = true;
        limit.start(kConversionLimitMs);
        if (process.state() != QProcess::NotRunning)
            loop.exec();
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
            result.errors = QStringLiteral("no terminó en tres minutos");
            return result;
        }
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.errors = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        return result;
    }

    bool startDetached(const QString& program, const QStringList& arguments) override
    {
        return QProcess::startDetached(program, arguments);
    }
};

class LibreOffice final : public Office {
public:
    explicit LibreOffice(std::unique_ptr<OfficePrograms> programs) : programs_(std::move(programs)) {}

    void show(const QString& hostPath) override
    {
        const QString soffice = libreOffice(QStringLiteral("Para mostrar el documento %1 hace falta LibreOffice "
                                                           "Writer, que no está instalado; el documento sigue "
                                                           "guardado en su fichero.")
                                                .arg(describe(hostPath)));
        if (!programs_->startDetached(soffice, {QStringLiteral("--writer"), QStringLiteral("--norestore"), hostPath}))
            throw OfficeError(QStringLiteral("No se ha podido abrir LibreOffice Writer para mostrar el documento %1.")
                                  .arg(describe(hostPath)));
    }

    void print(const QString& hostPath, PageSet pages, int copies) override
    {
        if (copies <= 0)
            return;
        const QString missing = QStringLiteral("No se puede imprimir el documento %1: hace falta %2, que no está "
                                               "instalado; el documento sigue guardado en su fichero.");
        libreOffice(missing.arg(describe(hostPath), QStringLiteral("LibreOffice")));
        const QString lp = programs_->find(QStringLiteral("lp"));
        if (lp.isEmpty())
            throw OfficeError(missing.arg(describe(hostPath), QStringLiteral("el cliente de impresión de CUPS (lp)")),
                              true);

        QTemporaryDir folder;
        const QByteArray pdf = convert(hostPath, QStringLiteral("pdf"));
        const QString pdfPath = folder.filePath(QStringLiteral("documento.pdf"));
        writeFile(pdfPath, pdf);
        const int count = pageCount(pdf);

        // Several copies of an odd number of pages: a blank sheet closes each
        // copy of the even pages, so the backs stay with their fronts.
        if (pages == PageSet::Even && copies > 1 && count > 1 && count % 2 == 1) {
            const QString blank = folder.filePath(QStringLiteral("blanco.pdf"));
            writeFile(blank, blankPage(pdf));
            for (int i = 0; i < copies; ++i) {
                sendToPrinter(lp, {QStringLiteral("-o"), QStringLiteral("page-set=even"), pdfPath}, hostPath);
                sendToPrinter(lp, {blank}, hostPath);
            }
            return;
        }
        QStringList arguments{QStringLiteral("-n"), QString::number(copies)};
        if (copies > 1)
            arguments << QStringLiteral("-o") << QStringLiteral("collate=true");
        if (pages != PageSet::All)
            arguments << QStringLiteral("-o")
                      << (pages == PageSet::Odd ? QStringLiteral("page-set=odd") : QStringLiteral("page-set=even"));
        arguments << pdfPath;
        sendToPrinter(lp, arguments, hostPath);
    }

    QByteArray convert(const QString& hostPath, const QString& format) override
    {
        const QString soffice = libreOffice(QStringLiteral("Para leer el documento %1 hace falta LibreOffice, que "
                                                           "no está instalado.")
                                                .arg(describe(hostPath)));
        QFile source(hostPath);
        if (!source.open(QIODevice::ReadOnly))
            throw OfficeError(QStringLiteral("No se puede leer el documento %1.").arg(describe(hostPath)));
        const QByteArray content = source.readAll();

        // A copy of its own: the user may have the file open, and LibreOffice
        // needs a name that says the format.
        QTemporaryDir folder;
        const QString copy = folder.filePath(QStringLiteral("documento.") + extensionFor(content.left(16)));
        writeFile(copy, content);
        // The result goes to a folder of its own: converted into its own
        // format, it would bear the copy's name.
        const QString output = folder.filePath(QStringLiteral("salida"));
        QDir().mkpath(output);
        // A LibreOffice started on a profile that another one is using hands
        // it the work and ends, converting nothing: one conversion at a time.
        QLockFile busy(profileFolder() + QStringLiteral(".lock"));
        busy.setStaleLockTime(0); // only a lock left by a process that ended is stale
        if (!busy.tryLock(kConversionLimitMs))
            throw OfficeError(QStringLiteral("LibreOffice no ha podido convertir el documento %1: otra conversión "
                                             "no termina.")
                                  .arg(describe(hostPath)));
        const auto result = programs_->run(
            soffice, {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profileFolder()).toString(),
                      QStringLiteral("--headless"), QStringLiteral("--norestore"), QStringLiteral("--nologo"),
                      QStringLiteral("--convert-to"), format, QStringLiteral("--outdir"), output, copy});
        QFile converted(output + QStringLiteral("/documento.") + format);
        if (!result.started || result.exitCode != 0 || !converted.open(QIODevice::ReadOnly))
            throw OfficeError(QStringLiteral("LibreOffice no ha podido convertir el documento %1%2.")
                                  .arg(describe(hostPath),
                                       result.errors.isEmpty() ? QString() : QStringLiteral(": ") + result.errors));
        return converted.readAll();
    }

private:
    QString libreOffice(const QString& missingMessage)
    {
        for (const char* name : {"soffice", "libreoffice"}) {
            const QString found = programs_->find(QString::fromLatin1(name));
            if (!found.isEmpty())
                return found;
        }
        throw OfficeError(missingMessage, true);
    }

    // Conversions use a profile of their own, so they never go to a
    // LibreOffice the user has open.
    static QString profileFolder()
    {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
                               + QStringLiteral("/tervalo/libreoffice");
        QDir().mkpath(folder);
        return folder;
    }

    static void writeFile(const QString& path, const QByteArray& content)
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            throw OfficeError(QStringLiteral("No se puede escribir la copia de trabajo %1.").arg(describe(path)));
    }

    void sendToPrinter(const QString& lp, const QStringList& arguments, const QString& document)
    {
        const auto result = programs_->run(lp, arguments);
        if (result.started && result.exitCode == 0)
            return;
        QString why = result.errors;
        if (why.contains(QLatin1String("default destination"), Qt::CaseInsensitive))
            why = QStringLiteral("no hay ninguna impresora predeterminada");
        else if (why.contains(QLatin1String("Scheduler"), Qt::CaseInsensitive)
                 || why.contains(QLatin1String("connect to server"), Qt::CaseInsensitive))
            why = QStringLiteral("el servicio de impresión (CUPS) no responde");
        while (why.endsWith(QLatin1Char('.')))
            why.chop(1);
        throw OfficeError(QStringLiteral("No se ha podido enviar el documento %1 a la impresora%2.")
                              .arg(describe(document), why.isEmpty() ? QString() : QStringLiteral(": ") + why));
    }

    std::unique_ptr<OfficePrograms> programs_;
};

} // namespace

ServiceSlot<Office>& officeSlot()
{
    static ServiceSlot<Office> slot([]() -> std::unique_ptr<Office> { return makeLibreOffice(); });
    return slot;
}

std::unique_ptr<Office> makeLibreOffice(std::unique_ptr<OfficePrograms> programs)
{
    if (!programs)
        programs = std::make_unique<SystemPrograms>();
    return std::make_unique<LibreOffice>(std::move(programs));
}

} // namespace platform
