#include "platform/Desktop.h"

#include "platform/Characters.h"
#include "platform/DesktopWindows.h"
#include "platform/Forms.h"
#include "platform/MessageBoxes.h"
#include "platform/Printer.h"

#include <QApplication>
#include <QDebug>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>
#include <QWindow>

namespace platform {

namespace {

bool withoutScreen()
{
    const QString platformName = QGuiApplication::platformName();
    return platformName == QLatin1String("offscreen") || platformName == QLatin1String("minimal");
}

class DesktopMessageBoxes final : public MessageBoxes {
public:
    Answer show(const QString& text, int style, const QString& title) override
    {
        // A path is read whole: it keeps to one line.
        QMessageBox box(iconOf(style), title, withPathsUnbroken(text), QMessageBox::NoButton, messageBoxOwner());
        box.setTextFormat(Qt::PlainText);
        const bool second = (style & style::DefaultButton2) != 0;
        QPushButton* first = nullptr;
        QPushButton* other = nullptr;
        switch (style & 7) {
        case style::OkCancel:
            first = box.addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole);
            other = box.addButton(QStringLiteral("Cancelar"), QMessageBox::RejectRole);
            box.setEscapeButton(other);
            break;
        case style::YesNo:
        case style::YesNoCancel:
            first = box.addButton(QStringLiteral("Sí"), QMessageBox::YesRole);
            other = box.addButton(QStringLiteral("No"), QMessageBox::NoRole);
            if ((style & 7) == style::YesNoCancel)
                box.setEscapeButton(box.addButton(QStringLiteral("Cancelar"), QMessageBox::RejectRole));
            break;
        default:
            first = box.addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole);
            box.setEscapeButton(first);
            break;
        }
        box.setDefaultButton(second && other ? other : first);
        // Above a document the word processor opens meanwhile.
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
        // Opened over its window but not tied to it on the desktop: a window
        // manager raises the window a modal box belongs to with the box, and
        // that window would cover the document the question is about.
        box.winId();
        box.windowHandle()->setTransientParent(nullptr);
        KeepAbove above(box);
        // The box has the keyboard, also over a document the word processor
        // shows with the focus: Enter answers its default.
        QTimer::singleShot(0, &box, [&box] {
            if (QWindow* window = box.windowHandle())
                desktopWindows().activate(*window);
        });
        box.exec();
        const auto* clicked = box.clickedButton();
        switch (style & 7) {
        case style::OkCancel:
            return clicked == first ? Answer::Ok : Answer::Cancel;
        case style::YesNo:
            return clicked == first ? Answer::Yes : Answer::No;
        case style::YesNoCancel:
            return clicked == first ? Answer::Yes : clicked == other ? Answer::No : Answer::Cancel;
        default:
            return Answer::Ok;
        }
    }

private:
    static QMessageBox::Icon iconOf(int style)
    {
        switch (style & 0x70) {
        case style::Critical:
            return QMessageBox::Critical;
        case style::Question:
            return QMessageBox::Question;
        case style::Exclamation:
            return QMessageBox::Warning;
        case style::Information:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
        }
    }
};

// Qt's printer dialog, then the document on the printer chosen there.
class DesktopPrinter final : public Printer {
public:
    DesktopPrinter() : printer_(QPrinter::HighResolution) {}

    bool choose(QWidget* window) override
    {
        // Without a screen nobody can answer the dialog: nothing is printed.
        if (withoutScreen()) {
            qWarning() << "Sin pantalla para el diálogo de impresión: no se imprime nada.";
            return false;
        }
        QPrintDialog dialog(&printer_, window);
        dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, false);
        return dialog.exec() == QDialog::Accepted;
    }

    bool print(const PrintJob& job) override
    {
        printer_.setCopyCount(1);
        printer_.setPrintRange(QPrinter::AllPages);
        printer_.setDocName(job.title());
        if (!render(job, printer_))
            return false;
        return printer_.printerState() != QPrinter::Error;
    }

private:
    QPrinter printer_;
};

void installSpanish(QApplication& app)
{
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* name : {"qtbase_es", "qt_es"}) {
        auto* translator = new QTranslator(&app);
        if (translator->load(QString::fromLatin1(name), folder))
            QCoreApplication::installTranslator(translator);
        else
            delete translator;
    }
}

} // namespace

QWidget* messageBoxOwner()
{
    // Without a window manager the desktop knows no active window; the
    // program always knows its own.
    if (Form* active = Forms::activeForm())
        return active;
    return QApplication::activeWindow();
}

std::unique_ptr<MessageBoxes> makeDesktopMessageBoxes()
{
    return std::make_unique<DesktopMessageBoxes>();
}

void installDesktop(QApplication& app)
{
    installSpanish(app);
    // Without a screen nobody can answer: the boxes are logged and take
    // their default.
    if (!withoutScreen())
        messageBoxesSlot().replace(makeDesktopMessageBoxes());
    printerSlot().replace(std::make_unique<DesktopPrinter>());
}

} // namespace platform
