#include "platform/Form.h"

#include "platform/Controls.h"
#include "platform/Database.h"
#include "platform/Forms.h"
#include "platform/MessageBoxes.h"
#include "platform/Screen.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QResizeEvent>

#include <cmath>

namespace platform {

Form::Form(const QString& name) : QWidget(nullptr)
{
    setObjectName(name);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setMouseTracking(true);
    QFont designed = font();
    designed.setPointSize(8);
    setFont(designed);
}

Form::~Form() = default;

void Form::setMousePointer(int pointer)
{
    mousePointer_ = pointer;
    switch (pointer) {
    case 11:
        setCursor(Qt::WaitCursor);
        break;
    case 14:
        setCursor(Qt::WhatsThisCursor);
        break;
    default:
        unsetCursor();
        break;
    }
}

void Form::designSize(int widthTwips, int heightTwips)
{
    resize(twipsToPixels(widthTwips), twipsToPixels(heightTwips));
}

void Form::placeWidget(QWidget* widget, const char* name, int left, int top, int width, int height,
                       QWidget* container)
{
    widget->setParent(container ? container : this);
    widget->setObjectName(QString::fromUtf8(name));
    widget->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
    controls_.push_back(widget);
}

void Form::onClick(QAbstractButton* button, std::function<void()> handler)
{
    connect(button, &QAbstractButton::clicked, this, [handler = std::move(handler)] { runHandler(handler); });
}

void runHandler(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const DbError& error) {
        MsgBox(QStringLiteral("No se ha podido completar la operación en la base de datos.\n\n%1")
                   .arg(QString::fromStdString(error.what())),
               style::Critical);
    }
}

double Form::heightTwips() const
{
    return pixelsToTwips(height());
}

double Form::widthTwips() const
{
    return pixelsToTwips(width());
}

void Form::setHeightTwips(double twips)
{
    sizingByCode_ = true;
    resize(width(), twipsToPixels(twips));
    sizingByCode_ = false;
}

void Form::setWidthTwips(double twips)
{
    sizingByCode_ = true;
    resize(twipsToPixels(twips), height());
    sizingByCode_ = false;
}

bool Form::isMaximised() const
{
    return windowState().testFlag(Qt::WindowMaximized);
}

int Form::controlCount() const
{
    return static_cast<int>(controls_.size());
}

ElasticSurface::Control Form::control(int index) const
{
    const QWidget* w = controls_.at(static_cast<std::size_t>(index));
    Control c;
    c.isLine = false;
    c.hasFont = !qobject_cast<const Shape*>(w) && !w->property(kNoFontProperty).toBool();
    const QRect g = w->geometry();
    c.top = pixelsToTwips(g.top());
    c.left = pixelsToTwips(g.left());
    c.height = pixelsToTwips(g.height());
    c.width = pixelsToTwips(g.width());
    c.fontSize = w->font().pointSizeF();
    return c;
}

void Form::placeControl(int index, int top, int left, int height, int width)
{
    QWidget* w = controls_.at(static_cast<std::size_t>(index));
    w->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

void Form::setControlFontSize(int index, int points)
{
    QWidget* w = controls_.at(static_cast<std::size_t>(index));
    QFont f = w->font();
    f.setPointSize(points);
    w->setFont(f);
}

void Form::raiseResize()
{
    Form_Resize();
}

void Form::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!sizingByCode_)
        Form_Resize();
}

void Form::closeEvent(QCloseEvent* event)
{
    // The window's close box unloads it like code would.
    event->accept();
    Forms::unload(*this);
}

} // namespace platform
