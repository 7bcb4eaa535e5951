#include "platform/Printer.h"

#include "platform/Characters.h"
#include "platform/Files.h"
#include "platform/MessageBoxes.h"

#include <QDebug>
#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

// Margins around the printed area: a quarter of an inch, in points.
constexpr double kMarginPoints = 18;

// Used where no printer dialog can be shown: nothing is printed.
class NoPrinter final : public Printer {
public:
    bool choose(QWidget*) override
    {
        qWarning() << "Sin diálogo de impresora: no se imprime nada.";
        return false;
    }
    bool print(const PrintJob&) override { return false; }
};

const QRegularExpression& lineBreak()
{
    static const QRegularExpression expression(QStringLiteral("\r\n|\r|\n"));
    return expression;
}

// The lines of `text` within `room` (device units): a line break starts a
// new line, and a line too wide breaks after its last blank that fits, or
// inside a word that fills the room alone. Trailing blanks need no room.
QStringList wrapped(const QString& text, double room, const QFontMetricsF& metrics)
{
    const auto fits = [&](const QString& part) { return metrics.horizontalAdvance(part) <= room; };
    QStringList lines;
    for (QString rest : text.split(lineBreak())) {
        while (true) {
            if (fits(rest)) {
                lines << rest;
                break;
            }
            if (const QString trimmed = unpadded(rest); fits(trimmed)) {
                lines << trimmed;
                break;
            }
            // The longest beginning that fits, one character at least, never
            // ending inside one.
            const QList<qsizetype> ends = characterEnds(rest);
            const qsizetype low = *(std::partition_point(ends.begin() + 1, ends.end(),
                                                         [&](qsizetype end) { return fits(rest.left(end)); })
                                    - 1);
            const qsizetype blank = rest.lastIndexOf(QLatin1Char(' '), low);
            const QString before = blank > 0 ? unpadded(rest.left(blank)) : QString();
            const qsizetype cut = before.isEmpty() ? low : blank;
            lines << (before.isEmpty() ? rest.left(low) : before);
            rest = rest.mid(cut);
            qsizetype start = 0;
            while (start < rest.size() && rest.at(start) == QLatin1Char(' '))
                ++start;
            rest = rest.mid(start);
            if (rest.isEmpty())
                break;
        }
    }
    return lines;
}

// Places the statements of a job on the pages of a device, line by line, and
// paints each line once it is complete.
class Layout {
public:
    Layout(QPagedPaintDevice& device, QPainter& painter, std::vector<PrintedText>* placed)
        : device_(device), painter_(painter), placed_(placed), width_(device.width()), height_(device.height()),
          points_(72.0 / device.logicalDpiX())
    {
    }

    void setFont(const PrintFont& font) { font_ = font; }

    void tab(int column)
    {
        const double target = std::max(0, column - 1) * columnWidth(font_);
        // A text that ends at the column has reached it as one past it has.
        const double slack = columnWidth(font_) / 100;
        if (afterText_ ? x_ > target - slack : x_ > target + slack)
            endLine();
        x_ = target;
        column_ = std::max(1, column);
        afterText_ = false;
    }

    void text(const QString& text)
    {
        const QStringList parts = text.split(lineBreak());
        for (qsizetype i = 0; i < parts.size(); ++i) {
            if (i > 0) {
                endLine();
                column_ = 1;
            }
            place(parts[i]);
        }
    }

    // A row starts on a line of its own; a block open around it goes on
    // holding its lines.
    void row(const std::vector<PrintCell>& cells)
    {
        endOpenLine();
        beginBlock();
        const QFontMetricsF metrics = metricsOf(font_);
        const auto left = [&](std::size_t i) { return std::max(0, cells[i].column - 1) * columnWidth(font_); };
        std::vector<QStringList> lines;
        qsizetype count = 1;
        // A blank's room is left before the next value.
        const double gap = metrics.horizontalAdvance(QLatin1Char(' '));
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const double right = i + 1 < cells.size() && left(i + 1) > left(i) ? left(i + 1) - gap : width_;
            lines.push_back(wrapped(cells[i].text, right - left(i), metrics));
            count = std::max(count, lines.back().size());
        }
        for (qsizetype k = 0; k < count; ++k) {
            for (std::size_t i = 0; i < cells.size(); ++i) {
                if (k < lines[i].size() && !lines[i][k].isEmpty())
                    pieces_.push_back({left(i), std::max(1, cells[i].column), lines[i][k], font_});
            }
            endLine();
        }
        endBlock();
    }

    void beginBlock() { ++blocks_; }

    void endBlock()
    {
        if (blocks_ == 0 || --blocks_ > 0)
            return;
        double height = 0;
        for (const Line& line : held_)
            height += line.height;
        if (top_ > 0 && top_ + height > height_ && height <= height_)
            newPage();
        for (const Line& line : held_)
            paint(line);
        held_.clear();
    }

    void endLine()
    {
        double ascent = 0;
        double height = 0;
        for (const auto& piece : pieces_) {
            const QFontMetricsF metrics = metricsOf(piece.font);
            ascent = std::max(ascent, metrics.ascent());
            height = std::max(height, metrics.lineSpacing());
        }
        if (pieces_.empty()) {
            const QFontMetricsF metrics = metricsOf(font_);
            ascent = metrics.ascent();
            height = metrics.lineSpacing();
        }
        Line line{std::move(pieces_), ascent, height};
        pieces_.clear();
        if (blocks_ > 0)
            held_.push_back(std::move(line));
        else
            paint(line);
        x_ = 0;
        column_ = 0;
        afterText_ = false;
    }

    void endOpenLine()
    {
        if (!pieces_.empty() || x_ > 0)
            endLine();
    }

    // Ends a line left open, and a block, as the end of the document does.
    void finish()
    {
        endOpenLine();
        if (blocks_ > 0) {
            blocks_ = 1;
            endBlock();
        }
    }

private:
    struct Piece {
        double x;
        int column;
        QString text;
        PrintFont font;
    };
    struct Line {
        std::vector<Piece> pieces;
        double ascent;
        double height;
    };

    void newPage()
    {
        device_.newPage();
        ++page_;
        top_ = 0;
        line_ = 1;
    }

    void paint(const Line& line)
    {
        if (top_ > 0 && top_ + line.height > height_)
            newPage();
        for (const auto& piece : line.pieces) {
            painter_.setFont(toQFont(piece.font));
            painter_.drawText(QPointF(piece.x, top_ + line.ascent), piece.text);
            if (placed_) {
                const double width = metricsOf(piece.font).horizontalAdvance(piece.text);
                placed_->push_back(
                    {page_, line_, piece.column, piece.text, piece.font, piece.x * points_, width * points_});
            }
        }
        top_ += line.height;
        ++line_;
    }

    QFontMetricsF metricsOf(const PrintFont& font) const { return QFontMetricsF(toQFont(font), &device_); }
    // Columns are as wide in bold as in the regular weight.
    double columnWidth(PrintFont font) const
    {
        font.bold = false;
        return metricsOf(font).averageCharWidth();
    }

    void place(const QString& text)
    {
        const QFontMetricsF metrics = metricsOf(font_);
        const int column = column_ > 0 ? column_ : static_cast<int>(std::floor(x_ / columnWidth(font_) + 0.01)) + 1;
        const double room = width_ - x_;
        qsizetype fits = text.size();
        if (metrics.horizontalAdvance(text) > room) {
            fits = 0;
            for (const qsizetype end : characterEnds(text)) {
                if (metrics.horizontalAdvance(text.left(end)) > room)
                    break;
                fits = end;
            }
        }
        if (fits > 0)
            pieces_.push_back({x_, column, text.left(fits), font_});
        x_ += metrics.horizontalAdvance(text);
        column_ = 0;
        afterText_ = afterText_ || !text.isEmpty();
    }

    QPagedPaintDevice& device_;
    QPainter& painter_;
    std::vector<PrintedText>* placed_;
    const double width_;
    const double height_;
    const double points_; // points to a device unit
    PrintFont font_;
    std::vector<Piece> pieces_;
    std::vector<Line> held_; // the ended lines of an open block
    int blocks_ = 0;         // blocks open
    bool afterText_ = false; // a text was printed since the last tab or line end
    double x_ = 0;
    double top_ = 0;
    int column_ = 0; // the column a tab moved to, until something is printed there
    int page_ = 1;
    int line_ = 1;
};

} // namespace

QFont toQFont(const PrintFont& font)
{
    QFont result;
    const QString name = font.name.trimmed().toLower();
    if (name == QLatin1String("arial")) {
        result.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
        result.setStyleHint(QFont::SansSerif);
    } else if (name == QLatin1String("courier") || name == QLatin1String("courier new")) {
        result.setFamilies({QStringLiteral("Liberation Mono"), QStringLiteral("Courier New")});
        result.setStyleHint(QFont::Monospace);
    } else {
        result.setFamilies({font.name});
    }
    result.setPointSizeF(font.size > 0 ? font.size : 11);
    result.setBold(font.bold);
    result.setUnderline(font.underline);
    result.setHintingPreference(QFont::PreferNoHinting);
    return result;
}

PrintJob& PrintJob::tab(int column)
{
    steps_.push_back({Step::Tab, font_, column, {}, {}});
    return *this;
}

PrintJob& PrintJob::print(const QString& text)
{
    steps_.push_back({Step::Text, font_, 0, text, {}});
    return *this;
}

QString PrintJob::numberText(qint64 number)
{
    const QString sign = number < 0 ? QStringLiteral("-") : QStringLiteral(" ");
    return sign + QString::number(number < 0 ? -number : number) + QLatin1Char(' ');
}

PrintJob& PrintJob::printNumber(qint64 number)
{
    return print(numberText(number));
}

void PrintJob::printRow(const std::vector<PrintCell>& cells)
{
    steps_.push_back({Step::Row, font_, 0, {}, cells});
}

void PrintJob::endLine()
{
    steps_.push_back({Step::EndLine, font_, 0, {}, {}});
}

void PrintJob::beginBlock()
{
    steps_.push_back({Step::BeginBlock, font_, 0, {}, {}});
}

void PrintJob::endBlock()
{
    steps_.push_back({Step::EndBlock, font_, 0, {}, {}});
}

void PrintJob::emptyLines(int count)
{
    for (int i = 0; i < count; ++i)
        endLine();
}

bool PrintJob::endDoc()
{
    if (printer().print(*this))
        return true;
    MsgBox(QString::fromUtf8(kPrinterFailure), style::Critical);
    return false;
}

bool render(const PrintJob& job, QPagedPaintDevice& device, std::vector<PrintedText>* placed)
{
    device.setPageOrientation(job.orientation() == Orientation::Landscape ? QPageLayout::Landscape
                                                                          : QPageLayout::Portrait);
    const QMarginsF margins(kMarginPoints, kMarginPoints, kMarginPoints, kMarginPoints);
    if (!device.setPageMargins(margins, QPageLayout::Point)) {
        const QPageLayout layout = device.pageLayout();
        device.setPageMargins(layout.minimumMargins(), layout.units());
    }

    QPainter painter;
    if (!painter.begin(&device))
        return false;
    Layout layout(device, painter, placed);
    for (const auto& step : job.steps()) {
        layout.setFont(step.font);
        switch (step.kind) {
        case PrintJob::Step::Tab:
            layout.tab(step.column);
            break;
        case PrintJob::Step::Text:
            layout.text(step.text);
            break;
        case PrintJob::Step::EndLine:
            layout.endLine();
            break;
        case PrintJob::Step::Row:
            layout.row(step.cells);
            break;
        case PrintJob::Step::BeginBlock:
            layout.beginBlock();
            break;
        case PrintJob::Step::EndBlock:
            layout.endBlock();
            break;
        }
    }
    layout.finish();
    return painter.end();
}

ServiceSlot<Printer>& printerSlot()
{
    static ServiceSlot<Printer> slot([]() -> std::unique_ptr<Printer> { return std::make_unique<NoPrinter>(); });
    return slot;
}

} // namespace platform
