#pragma once

#include "Doubles.h"

#include "platform/Database.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

class QAbstractButton;
class QWidget;
namespace platform {
class DBGrid;
}

// Texts as the program writes them, accents included.
inline QString u(const char* text)
{
    return QString::fromUtf8(text);
}

namespace testing_support {

// While it lives, no file of the process may grow past `bytes`: writing a
// file fails as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(long long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    long long previous_;
};

// Every case starts like a fresh process on an empty host folder standing for
// drive C: (its "Temp" folder the process's temporary one), with the doubles
// of the platform in place: scripted message boxes, a virtual clock
// (2026-12-06 10:00), a 1024 x 768 screen, a launcher that starts nothing, a
// printer that records what it prints, a word processor that shows and
// prints no document and a desktop whose windows only record what they are
// asked.
class TervaloTest : public ::testing::Test {
public:
    // Makes a window the active one, as the user's click on it does.
    static void activar(QWidget* window);
    static void clic(QAbstractButton* button);

protected:
    TervaloTest();
    ~TervaloTest() override;

    // Host path of a Windows path of the program ("C:\Quelvan\Dorvane\config").
    static QString host(const char* windowsPath);
    // Writes a file at a Windows path, creating its folders.
    static void writeFile(const char* windowsPath, const QByteArray& content);
    static QByteArray readFile(const char* windowsPath);
    static bool exists(const char* windowsPath);
    // The flags of an installation whose upgrade and configuration
    // conversion are done, so the main window opens straight away.
    static void instalado();

    QTemporaryDir driveC;
    platform::ScopedService<platform::MessageBoxes> messages;
    platform::ScopedService<platform::Clock> clock;
    platform::ScopedService<platform::Screen> screen;
    platform::ScopedService<platform::Launcher> launcher;
    platform::ScopedService<platform::Office> officeSuite;
    platform::ScopedService<platform::Printer> printer;
    platform::ScopedService<platform::DesktopWindows> desktop;
    bool programEnded = false;

    ScriptedMessageBoxes& msg() { return static_cast<ScriptedMessageBoxes&>(*messages); }
    FakeClock& fakeClock() { return static_cast<FakeClock&>(*clock); }
    FakeScreen& fakeScreen() { return static_cast<FakeScreen&>(*screen); }
    FakeLauncher& fakeLauncher() { return static_cast<FakeLauncher&>(*launcher); }
    FakeOffice& fakeOffice() { return static_cast<FakeOffice&>(*officeSuite); }
    FakePrinter& fakePrinter() { return static_cast<FakePrinter&>(*printer); }
    FakeDesktopWindows& fakeDesktop() { return static_cast<FakeDesktopWindows&>(*desktop); }

private:
    QByteArray previousDrive_;
    QByteArray previousTemp_;
};

// A case on the program's database, created empty where the program keeps it.
class BaseDatosTest : public TervaloTest {
protected:
    BaseDatosTest();

    qint64 insertar(const char* tabla, const platform::Row& campos);
    // The first field of every row of a query, Null read as "-".
    QStringList columna(const QString& sql, const QVariantList& valores = {}) const;
    // The first field of the first row (Null when there is none).
    QVariant valor(const QString& sql, const QVariantList& valores = {}) const;
    // Every row of a table in key order, its fields joined by "|", Null read as "-".
    QStringList filas(const char* tabla) const;
    int cuenta(const char* tabla) const;

    platform::Database db;
};

// A key whose character the desktop sends whole: an emoji is one press of
// two UTF-16 units.
void pulsarCaracter(QWidget* widget, const QString& character);
// What an input method commits to a widget: a letter composed with a dead
// key, an emoji from a picker.
void componer(QWidget* widget, const QString& text);

// The texts of a column of a data-bound grid, top to bottom.
QStringList textos(const platform::DBGrid* grid, int col);
// A click on a row of a data-bound grid, or a double click.
void pulsarFila(platform::DBGrid* grid, int fila);
void dobleClic(platform::DBGrid* grid, int fila);

} // namespace testing_support
