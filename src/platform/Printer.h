#pragma once

#include "platform/Service.h"

#include <QString>

#include <vector>

class QFont;
class QPagedPaintDevice;
class QWidget;

namespace platform {

enum class Orientation { Portrait = 1, Landscape = 2 };

// A printer font as the listings name it. "Arial" prints in Liberation Sans
// and "Courier" ("Courier New") in Liberation Mono, their metric twins.
struct PrintFont {
    QString name = QStringLiteral("Arial");
    double size = 11;
    bool bold = false;
    bool underline = false;
    bool operator==(const PrintFont&) const = default;
};

QFont toQFont(const PrintFont& font);

// A text as the layout put it on paper: page and line (both from 1, empty
// lines counted), the character column it starts at (from 1), what of it
// fits before the right margin, and where it stands: its left edge and its
// width in points, from the left margin.
struct PrintedText {
    int page;
    int line;
    int column;
    QString text;
    PrintFont font;
    double x = 0;
    double width = 0;
};

// A value of a row at its character column (see PrintJob::printRow).
struct PrintCell {
    int column;
    QString text;
};

// One printed document, written line by line like the printer object of the
// listings: fonts are set as the text goes, positions are character columns
// of the current font (the average character width of its regular weight,
// so bold headings stand at the same places as the values under them), and
// pages break by themselves when a line no longer fits. Nothing reaches the
// printer until endDoc().
class PrintJob {
public:
    // Applies to the whole document; set it before printing anything.
    void setOrientation(Orientation orientation) { orientation_ = orientation; }
    Orientation orientation() const { return orientation_; }

    void setFontName(const QString& name) { font_.name = name; }
    void setFontSize(double points) { font_.size = points; }
    void setFontBold(bool bold) { font_.bold = bold; }
    void setFontUnderline(bool underline) { font_.underline = underline; }
    const PrintFont& font() const { return font_; }

    // The name the printer's queue shows for the document.
    void setTitle(const QString& title) { title_ = title; }
    const QString& title() const { return title_; }

    // Moves to character column `column` of the line (1 is the left margin);
    // a column the line has already passed is reached on the next line, and
    // so is one a text printed on the line has reached, so that two texts
    // never touch.
    PrintJob& tab(int column);
    // Prints where the line stands and stays on the line. What passes the
    // right margin is cut off; a line break inside the text goes on at
    // column 1 of the next line.
    PrintJob& print(const QString& text);
    // A whole number as the printer object prints it: a blank in place of the
    // sign ("-" when negative), the digits and a blank.
    PrintJob& printNumber(qint64 number);
    static QString numberText(qint64 number);
    // Prints a row of values on lines of their own, each value at its column
    // and kept within it: one wider than the room up to a blank before the
    // next value's column (the right margin for the last) goes on at its own
    // column on the following lines, broken between words where it can, as
    // does each line after a line break in it. The row ends after its longest
    // value; cells go from left to right.
    void printRow(const std::vector<PrintCell>& cells);
    // Ends the line. On a line where nothing was printed this prints an
    // empty line.
    void endLine();
    void emptyLines(int count);
    // The lines ended between the two stay on one page: when they do not fit
    // on what is left of it, they start the next one (unless they would not
    // fit on a page of their own either). A row of printRow is kept so by
    // itself, and the rows of a block with the rest of its lines.
    void beginBlock();
    void endBlock();

    // Ends the document and sends it to the printer chosen in the printer
    // dialog (printer().choose). A failure is told to the user in a message
    // and gives false; the program goes on.
    bool endDoc();

    // The statements in order, each with the font current at it, as the
    // layout reads them.
    struct Step {
        enum Kind { Tab, Text, EndLine, Row, BeginBlock, EndBlock } kind;
        PrintFont font;
        int column = 0;
        QString text;
        std::vector<PrintCell> cells; // a row's
    };
    const std::vector<Step>& steps() const { return steps_; }

private:
    Orientation orientation_ = Orientation::Portrait;
    PrintFont font_;
    QString title_;
    std::vector<Step> steps_;
};

// Lays the job out on the pages of `device` (its orientation and margins are
// set here: a quarter of an inch, or the device's least) and paints it there.
// `placed` receives every text with its page, line and column. False when
// the device cannot be painted on (a printer that is missing or not ready).
bool render(const PrintJob& job, QPagedPaintDevice& device, std::vector<PrintedText>* placed = nullptr);

// The printer of the listings: the printer dialog, then the document on the
// printer chosen there, one copy.
class Printer {
public:
    virtual ~Printer() = default;
    // Shows the printer dialog over `window`; false when the user cancelled
    // it, and then nothing is to be printed.
    virtual bool choose(QWidget* window) = 0;
    // Prints a finished document on the printer chosen last; false when it
    // could not be printed.
    virtual bool print(const PrintJob& job) = 0;
};

ServiceSlot<Printer>& printerSlot();
inline Printer& printer() { return printerSlot().get(); }

// What the user is told when a document could not be printed.
inline constexpr auto kPrinterFailure =
    "No se ha podido imprimir. Compruebe que la impresora está instalada y preparada.";

} // namespace platform
