#pragma once

#include "platform/Service.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <memory>
#include <stdexcept>

namespace platform {

// Showing or printing failed; the text is for the user and says what is
// missing. Nothing of the document is lost: it stays in its file.
class OfficeError : public std::runtime_error {
public:
    OfficeError(const QString& message, bool programMissing = false);
    bool programMissing() const { return programMissing_; }

private:
    bool programMissing_;
};

enum class PageSet { All, Odd, Even };

// How the word processor shows a document: ready for typing, or read-only
// (the user may still turn to editing there).
enum class View { Editing, Reading };

// The word processor outside the program (LibreOffice Writer) and the
// printer. Each call reads the file as it is on disk at that moment, so
// changes the user saved in the word processor are printed too.
class Office {
public:
    virtual ~Office() = default;
    // Opens the document in the word processor for the user and returns at
    // once; the user may change and save it there.
    virtual void show(const QString& hostPath, View view = View::Editing) = 0;
    // Prints `copies` copies of the pages of the set on the default printer;
    // zero prints nothing. Odd and Even are the two passes of printing by
    // hand on both sides, one side of a sheet a page, exactly those pages:
    // the even pages are the backs of the odd pass's sheets, so with several
    // copies of a document with an odd number of pages a blank page passes
    // over each copy's last sheet before the next copy. A pass without pages
    // (the backs of a one-page document) sends nothing.
    virtual void print(const QString& hostPath, PageSet pages, int copies) = 0;
    // The document converted to another format ("docx", "pdf").
    virtual QByteArray convert(const QString& hostPath, const QString& format) = 0;
    // Whether the word processor may still need a document: one it was given
    // by show and is loading still, or one it has open.
    virtual bool isShowing(const QString& hostPath) = 0;
    // Whether the word processor has the document open now, whatever screen
    // it shows it on.
    virtual bool isOpen(const QString& hostPath) = 0;
};

// Shows the document in the word processor and, once its window is on the
// screen, brings that window to the front, maximised and active, so that
// what the program asks next is asked over it. The windows keep working
// meanwhile. Once the word processor has the document, a window that is not
// on the program's desktop (another display, or Wayland while the program
// runs through XWayland) is not waited for; one that never comes, for no
// more than a minute.
void showDocument(const QString& hostPath, View view = View::Editing);

// The lock file LibreOffice keeps beside a document while it has it open.
QString officeLockFile(const QString& hostPath);

ServiceSlot<Office>& officeSlot();
inline Office& office() { return officeSlot().get(); }

// The programs the real implementation runs. Tests give it recording ones to
// check what it would run without LibreOffice or a printer.
class OfficePrograms {
public:
    struct Result {
        bool started = false;
        int exitCode = -1;
        QString errors;
    };
    virtual ~OfficePrograms() = default;
    // Full path of a program on the PATH, empty when it is not installed.
    virtual QString find(const QString& name) = 0;
    // Runs a program to its end while the windows keep working.
    virtual Result run(const QString& program, const QStringList& arguments) = 0;
    // Starts a program in the environment given and does not wait.
    virtual bool startDetached(const QString& program, const QStringList& arguments,
                               const QProcessEnvironment& environment) = 0;
};

// LibreOffice for showing and converting (conversions run headless with a
// profile of their own, apart from the user's open LibreOffice), CUPS's lp
// for printing; the programs of the system when none are given.
std::unique_ptr<Office> makeLibreOffice(std::unique_ptr<OfficePrograms> programs = nullptr);

// The programs of the system, run as LibreOffice's conversions are.
std::unique_ptr<OfficePrograms> makeSystemPrograms();

// Makes a LibreOffice profile folder ready before work is done on it. The
// first start on a new profile only sets it up: LibreOffice can fail on the
// start that creates its profile (seen on a new machine) where every later
// start works, so a conversion never counts on being that start. A profile
// made ready once is not started again for it. Returns whether it is ready;
// when it is not, what runs on it says its own failure.
bool prepareLibreOfficeProfile(OfficePrograms& programs, const QString& soffice, const QString& folder);

} // namespace platform
