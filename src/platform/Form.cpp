#include "platform/Form.h"

#include "platform/Controls.h"
#include "platform/DBGrid.h"
#include "platform/Database.h"
#include "platform/Files.h"
#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "platform/MessageBoxes.h"
#include "platform/Screen.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>
#include <new>
#include <set>

namespace platform {

namespace {

// The frame the desktop gave the last window it framed.
QSize& lastFrame()
{
    static QSize frame(0, 0);
    return frame;
}

} // namespace

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
    // Enter presses the button that has the focus, as Space does.
    if (auto* button = qobject_cast<QPushButton*>(widget))
        button->setAutoDefault(true);
    // A label shows its text as it stands, a name that looks like markup too.
    if (auto* label = qobject_cast<QLabel*>(widget))
        label->setTextFormat(Qt::PlainText);
    controls_.push_back(widget);
}

void Form::setCancelButton(QAbstractButton* button)
{
    cancelButton_ = button;
}

// Escape reaches the window when the control with the focus has no use for it.
void Form::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && cancelButton_
        && cancelButton_->isEnabled() && isShown(cancelButton_)) {
        event->accept();
        cancelButton_->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Form::onClick(QAbstractButton* button, std::function<void()> handler)
{
    connect(button, &QAbstractButton::clicked, this, [handler = std::move(handler)] { runHandler(handler); });
}

void Form::placeButtonRow(std::initializer_list<RowButton> buttons, int left, int top, int width, int height,
                          int step)
{
    for (const RowButton& b : buttons) {
        *b.button = place(new QPushButton(QString::fromUtf8(b.caption)), b.name, left, top, width, height);
        (*b.button)->setToolTip(QString::fromUtf8(b.toolTip));
        left += step;
    }
}

KeepAbove::KeepAbove(QWidget& window)
{
    // Without a screen (the tests) there are no windows to be above.
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        return;
    const QPointer<QWidget> kept(&window);
    const auto raise = [kept] {
        if (kept && kept->isVisible())
            kept->raise();
    };
    raise();
    QObject::connect(&timer_, &QTimer::timeout, raise);
    timer_.start(300);
}

void runHandler(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const DbError& error) {
        MsgBox(QStringLiteral("No se ha podido completar la operación en la base de datos.\n\n%1")
                   .arg(QString::fromStdString(error.what())),
               style::Critical);
    } catch (const FileError& error) {
        MsgBox(QString::fromStdString(error.what()), style::Critical);
    } catch (const std::bad_alloc&) {
        // What the handler held is given back by now.
        MsgBox(outOfMemoryMessage(), style::Critical);
    }
}

QSize Form::frameExtra() const
{
    if (!isWindow() || windowFlags().testFlag(Qt::FramelessWindowHint))
        return {0, 0};
    if (isVisible()) {
        const QSize frame = frameGeometry().size() - size();
        if (frame.width() >= 0 && frame.height() >= 0)
            return frame;
    }
    return lastFrame();
}

double Form::heightTwips() const
{
    return pixelsToTwips(height() + frameExtra().height());
}

double Form::widthTwips() const
{
    return pixelsToTwips(width() + frameExtra().width());
}

double Form::frameHeightTwips() const
{
    return pixelsToTwips(frameExtra().height());
}

double Form::frameWidthTwips() const
{
    return pixelsToTwips(frameExtra().width());
}

void Form::setHeightTwips(double twips)
{
    outerSize_.setHeight(twipsToPixels(twips));
    if (outerSize_.width() < 0)
        outerSize_.setWidth(width() + frameExtra().width());
    applyOuterSize();
}

void Form::setWidthTwips(double twips)
{
    outerSize_.setWidth(twipsToPixels(twips));
    if (outerSize_.height() < 0)
        outerSize_.setHeight(height() + frameExtra().height());
    applyOuterSize();
}

void Form::applyOuterSize()
{
    frameAssumed_ = frameExtra();
    sizingByCode_ = true;
    resize(std::max(1, outerSize_.width() - frameAssumed_.width()),
           std::max(1, outerSize_.height() - frameAssumed_.height()));
    sizingByCode_ = false;
}

void Form::settleFrame()
{
    if (!isVisible() || !isWindow())
        return;
    const QSize frame = frameExtra();
    if (windowType() == Qt::Window && !windowFlags().testFlag(Qt::FramelessWindowHint))
        lastFrame() = frame;
    if (outerSize_.width() < 0 || frame == frameAssumed_)
        return;
    // Resized as the user would: the layout follows.
    frameAssumed_ = frame;
    resize(std::max(1, outerSize_.width() - frame.width()), std::max(1, outerSize_.height() - frame.height()));
}

void Form::centreOn(const QWidget* owner)
{
    const Screen& desktop = platform::screen();
    const QRect screenArea(0, 0, twipsToPixels(desktop.widthTwips()), twipsToPixels(desktop.heightTwips()));
    const QRect area = owner ? owner->frameGeometry() : screenArea;
    const QSize outer = size() + frameExtra();
    const QPoint centre = area.center();
    const int left = std::clamp(centre.x() - outer.width() / 2, screenArea.left(),
                                std::max(screenArea.left(), screenArea.right() + 1 - outer.width()));
    const int top = std::clamp(centre.y() - outer.height() / 2, screenArea.top(),
                               std::max(screenArea.top(), screenArea.bottom() + 1 - outer.height()));
    move(left, top);
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

void Form::scaleControlColumns(int index, double ratio)
{
    QWidget* control = controls_.at(static_cast<std::size_t>(index));
    if (auto* grid = qobject_cast<FlexGrid*>(control))
        grid->setColumnScale(ratio);
    else if (auto* dataGrid = qobject_cast<DBGrid*>(control))
        dataGrid->setColumnScale(ratio);
}

void Form::raiseResize()
{
    Form_Resize();
}

void Form::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // Once the user gives the window a size of its own, the size code set
    // earlier no longer holds.
    if (outerSize_.width() >= 0 && size() != outerSize_ - frameAssumed_)
        outerSize_ = QSize(-1, -1);
    if (!sizingByCode_)
        Form_Resize();
}

void Form::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    settleFrame();
}

void Form::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    // The desktop frames a window after it is shown; its position changes then.
    settleFrame();
}

void Form::closeEvent(QCloseEvent* event)
{
    if (blocks_ > 0) {
        event->ignore();
        return;
    }
    // The window's close box unloads it like code would.
    event->accept();
    Forms::unload(*this);
}

BlockedWindow::BlockedWindow(Form& form, std::initializer_list<QWidget*> keep)
    : form_(&form), focus_(form.focusWidget())
{
    ++form.blocks_;
    std::set<QWidget*> kept(keep.begin(), keep.end());
    std::set<QWidget*> holders;
    for (QWidget* w : keep) {
        for (QWidget* p = w; p && p != &form; p = p->parentWidget()) {
            holders.insert(p);
            if (p->testAttribute(Qt::WA_ForceDisabled)) {
                p->setEnabled(true);
                enabled_.emplace_back(p);
            }
        }
    }
    std::function<void(QWidget*)> disable = [&](QWidget* parent) {
        for (QObject* o : parent->children()) {
            auto* child = qobject_cast<QWidget*>(o);
            if (!child || child->isWindow() || kept.count(child))
                continue;
            if (holders.count(child)) {
                disable(child);
            } else if (!child->testAttribute(Qt::WA_ForceDisabled)) {
                child->setEnabled(false);
                disabled_.emplace_back(child);
            }
        }
    };
    disable(&form);
}

BlockedWindow::~BlockedWindow()
{
    for (auto it = disabled_.rbegin(); it != disabled_.rend(); ++it) {
        if (*it)
            (*it)->setEnabled(true);
    }
    for (auto& w : enabled_) {
        if (w)
            w->setEnabled(false);
    }
    if (!form_)
        return;
    --form_->blocks_;
    // Unless the run put the focus somewhere itself.
    const auto usable = [this](const QWidget* w) { return w && w->isEnabled() && w->isVisibleTo(form_); };
    if (!usable(form_->focusWidget()) && usable(focus_))
        giveFocus(focus_);
}

namespace {

// Showing a window forgets how its focus came to it: a window given its
// focus before it is on the screen has it shown once it is.
class FocusShownOnShow : public QObject {
public:
    explicit FocusShownOnShow(QWidget* window) : QObject(window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            static_cast<QWidget*>(watched)->setAttribute(Qt::WA_KeyboardFocusChange);
            deleteLater();
        }
        return false;
    }
};

} // namespace

void giveFocus(QWidget* control)
{
    QWidget* window = control->window();
    control->setFocus(Qt::OtherFocusReason);
    if (window->isVisible())
        window->setAttribute(Qt::WA_KeyboardFocusChange);
    else
        new FocusShownOnShow(window);
    control->update();
}

} // namespace platform
