#include "TervaloTest.h"

#include "common/Module1.h"
#include "common/class_Elastic.h"
#include "platform/DBGrid.h"
#include "platform/FlexGrid.h"
#include "platform/Forms.h"

#include <QLabel>

#include <cmath>

using platform::ElasticSurface;

namespace {

// A window without a screen: its controls are numbers.
class FakeWindow : public ElasticSurface {
public:
    FakeWindow(double width, double height, class_Elastic& layout) : width_(width), height_(height), layout_(layout) {}

    double heightTwips() const override { return height_; }
    double widthTwips() const override { return width_; }
    void setHeightTwips(double t) override { height_ = t; }
    void setWidthTwips(double t) override { width_ = t; }
    double frameHeightTwips() const override { return frameHeight; }
    double frameWidthTwips() const override { return frameWidth; }
    bool isMaximised() const override { return maximised; }
    int controlCount() const override { return static_cast<int>(controls.size()); }
    Control control(int i) const override { return controls[i]; }
    void placeControl(int i, int top, int left, int height, int width) override
    {
        controls[i].top = top;
        controls[i].left = left;
        controls[i].height = height;
        controls[i].width = width;
    }
    void setControlFontSize(int i, int points) override { controls[i].fontSize = points; }
    void raiseResize() override
    {
        ++resizes;
        layout_.FormResize(*this);
    }

    // The user drags the window to a new size.
    void drag(double width, double height)
    {
        width_ = width;
        height_ = height;
        raiseResize();
    }

    std::vector<Control> controls;
    double frameHeight = 0; // what caption and borders add to the height
    double frameWidth = 0;
    bool maximised = false;
    int resizes = 0;

private:
    double width_;
    double height_;
    class_Elastic& layout_;
};

ElasticSurface::Control box(double top, double left, double height, double width, double font)
{
    ElasticSurface::Control c;
    c.hasFont = true;
    c.top = top;
    c.left = left;
    c.height = height;
    c.width = width;
    c.fontSize = font;
    return c;
}

// A window on the screen, laid out by the shared layout.
class frmDisenada : public platform::Form {
public:
    frmDisenada() : Form(QStringLiteral("frmDisenada"))
    {
        setWindowTitle(QStringLiteral("Diseñada"));
        designSize(9000, 6000);
        place(new QLabel(QStringLiteral("Abajo")), "lblAbajo", 240, 5400, 3000, 300);
        mshLista = place(new platform::FlexGrid, "mshLista", 240, 240, 4000, 2000);
        mshLista->setColWidth(0, 1500);
        dbgLista = place(new platform::DBGrid, "dbgLista", 4440, 240, 4000, 2000);
        dbgLista->setColumns({{QStringLiteral("Fecha"), QStringLiteral("Fecha"), 1500, true, {}}});
    }
    platform::FlexGrid* mshLista;
    platform::DBGrid* dbgLista;
    void Form_Load() override { Elastico().Init(*this); }
    void Form_Resize() override { Elastico().FormResize(*this); }
};

} // namespace

class ElasticTest : public testing_support::TervaloTest {
protected:
    class_Elastic layout;
};

TEST_F(ElasticTest, InitSizesTheWindowToTheScreen)
{
    fakeScreen().setPixels(1024, 768); // 15,360 x 11,520 twips
    FakeWindow w(9000, 6000, layout);
    w.controls = {box(1000, 1200, 500, 3000, 8)};
    layout.Init(w);
    EXPECT_DOUBLE_EQ(w.heightTwips(), 10944);
    EXPECT_DOUBLE_EQ(w.widthTwips(), 11520);
    EXPECT_EQ(w.resizes, 2);
    // Laid out for the new size by the second resize inside Init.
    const double qy = (6000.0 - 400) / (10944 - 400);
    const double qx = 9000.0 / 11520;
    EXPECT_EQ(w.controls[0].top, std::floor(1000 / qy));
    EXPECT_EQ(w.controls[0].left, std::floor(1200 / qx));
    EXPECT_EQ(w.controls[0].width, std::floor(3000 / qx));
    EXPECT_EQ(w.controls[0].fontSize, 10);

    FakeWindow maximised(9000, 6000, layout);
    maximised.maximised = true;
    layout.Init(maximised);
    EXPECT_DOUBLE_EQ(maximised.heightTwips(), 11520);
    EXPECT_DOUBLE_EQ(maximised.widthTwips(), 15360);
}

TEST_F(ElasticTest, TheFirstResizeAfterInitChangesNothing)
{
    FakeWindow w(12000, 8000, layout);
    w.controls = {box(100, 100, 100, 100, 8)};
    layout.Init(w);
    const auto before = w.controls[0];
    w.drag(6000, 4000);
    EXPECT_EQ(w.controls[0].width, before.width);
    w.drag(6000, 4000);
    EXPECT_NE(w.controls[0].width, before.width);
}

TEST_F(ElasticTest, ResizingScalesFromTheRecordingAndSnapsAtHalfSize)
{
    fakeScreen().setPixels(800, 600); // 12,000 x 9,000 twips: width unchanged
    FakeWindow w(12000, 8000, layout);
    ElasticSurface::Control line; // a line keeps its end points (X1 left, X2 width) and gets no font
    line.isLine = true;
    line.left = 200;
    line.width = 900;
    w.controls = {box(2000, 3000, 1000, 4000, 8), line};
    layout.Init(w);
    w.drag(12000, 8000); // the resize of the first showing
    w.drag(24000, 16000);
    EXPECT_EQ(w.controls[1].left * 10000 + w.controls[1].width, 4001800);
    EXPECT_EQ(w.controls[1].fontSize, 0);
    EXPECT_EQ(w.controls[0].left, 6000);
    EXPECT_EQ(w.controls[0].width, 8000);
    EXPECT_EQ(w.controls[0].top, std::floor(2000 / ((8000.0 - 400) / (16000 - 400))));
    EXPECT_EQ(w.controls[0].fontSize, 16);

    w.drag(2000, 1000);
    EXPECT_DOUBLE_EQ(w.heightTwips(), 4000);
    EXPECT_DOUBLE_EQ(w.widthTwips(), 6000);
    EXPECT_EQ(w.controls[0].left, 1500);
}

// A desktop frames a window once it is on the screen, and the first window
// of a run finds no frame known before it: laid out once framed, it looks as
// it would had its frame been known when it was recorded.
TEST_F(ElasticTest, AFrameKnownOnlyOnceShownGivesTheSameLayout)
{
    fakeScreen().setPixels(1280, 1024);
    const auto bottomControl = [&](bool frameKnown) {
        FakeWindow w(12000, frameKnown ? 9375 : 9000, layout);
        w.frameHeight = frameKnown ? 375 : 0;
        w.controls = {box(8400, 240, 600, 2000, 8)};
        layout.Init(w);
        w.drag(w.widthTwips(), w.heightTwips()); // the resize of the first showing
        w.frameHeight = 375;                     // framed: the same outer size, less inside
        w.drag(w.widthTwips(), w.heightTwips());
        return w.controls[0];
    };
    const auto known = bottomControl(true);
    const auto learnt = bottomControl(false);
    EXPECT_EQ(learnt.top, known.top);
    EXPECT_EQ(learnt.height, known.height);
}

// The first window of a run is taken to have no frame, later ones the frame
// of the last window framed: either way a window designed as wide as the
// reference screen fills the screen, frame included, and lays out the same.
TEST_F(ElasticTest, AWindowIsAsWideWhateverFrameItIsTakenToHave)
{
    fakeScreen().setPixels(1280, 1024);
    const auto layOut = [&](double frameTakenFor) {
        FakeWindow w(12000 + frameTakenFor, 9000, layout);
        w.frameWidth = frameTakenFor;
        w.controls = {box(240, 11000, 300, 900, 8)};
        layout.Init(w);
        EXPECT_DOUBLE_EQ(w.widthTwips(), 19200) << "frame taken to be " << frameTakenFor;
        w.drag(w.widthTwips(), w.heightTwips()); // the resize of the first showing
        w.frameWidth = 30;                       // framed: the same outer size, less inside
        w.drag(w.widthTwips(), w.heightTwips());
        return w.controls[0];
    };
    const auto unknown = layOut(0);
    const auto known = layOut(30);
    EXPECT_EQ(unknown.left, known.left);
    EXPECT_EQ(unknown.width, known.width);
}

TEST_F(ElasticTest, FontSizesFollowTheWidthAndRoundUpToEven)
{
    fakeScreen().setPixels(800, 600);
    const auto fontAtWidth = [&](double width) {
        FakeWindow w(12000, 8000, layout);
        w.controls = {box(0, 0, 10, 10, 10)};
        layout.Init(w);
        w.drag(12000, 8000);
        w.drag(width, 8000);
        return w.controls[0].fontSize;
    };
    EXPECT_EQ(fontAtWidth(15480), 12); // 12.9 is cut to 12
    EXPECT_EQ(fontAtWidth(15720), 14); // 13.1 gives 14
    EXPECT_EQ(fontAtWidth(11640), 10); // 9.7 gives 10
}

TEST_F(ElasticTest, EachWindowKeepsItsOwnRecording)
{
    fakeScreen().setPixels(800, 600);
    FakeWindow menu(12000, 8000, layout);
    menu.controls = {box(1000, 1000, 1000, 1000, 8)};
    layout.Init(menu);
    menu.drag(12000, 8000);

    FakeWindow list(6000, 4000, layout);
    list.controls = {box(50, 50, 50, 50, 8), box(60, 60, 60, 60, 8)};
    layout.Init(list);

    // The main window, resized while another window was loaded after it,
    // still scales from its own design.
    menu.drag(24000, 8000);
    EXPECT_EQ(menu.controls[0].left, 2000);
    EXPECT_EQ(menu.controls[0].width, 2000);

    FakeWindow neverInitialised(5000, 5000, layout);
    neverInitialised.controls = {box(10, 10, 10, 10, 8)};
    neverInitialised.drag(10000, 10000);
    EXPECT_EQ(neverInitialised.controls[0].left, 10);
}

TEST_F(ElasticTest, AWindowOnTheScreenIsSizedByItsOuterFrameAndItsGridColumnsWiden)
{
    // 1024 x 768: 95 % of the height is 729.6 pixels, caption and borders included.
    auto* w = &platform::Forms::show<frmDisenada>();
    EXPECT_NEAR(w->frameGeometry().height(), 729.6, 1.0);
    EXPECT_NEAR(w->frameGeometry().width(), 768, 1.0) << "9,000 twips at 15,360 / 12,000";
    EXPECT_NEAR(w->heightTwips(), 0.95 * 11520, 15.0);
    // The bottom control keeps its place inside the window.
    EXPECT_LE(w->findChild<QLabel*>(u("lblAbajo"))->geometry().bottom(), w->height());

    // 1280 pixels wide: a window designed 9,000 twips wide is laid out about 1.6 times as wide.
    platform::Forms::unload<frmDisenada>();
    fakeScreen().setPixels(1280, 1024);
    w = &platform::Forms::show<frmDisenada>();
    EXPECT_NEAR(w->mshLista->columnWidth(0), 160, 2);
    EXPECT_EQ(w->mshLista->ColWidth(0), 1500) << "read back as set";
    EXPECT_NEAR(w->dbgLista->columnWidth(0), 160, 2);
    EXPECT_EQ(w->dbgLista->columns()[0].width, 1500);
}
