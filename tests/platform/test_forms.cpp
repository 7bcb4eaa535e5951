#include "TervaloTest.h"

#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/MaskEdBox.h"
#include "platform/SingleInstance.h"
#include "platform/TextBox.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <QLabel>
#include <QLockFile>
#include <QPointer>
#include <QPushButton>
#include <QSysInfo>
#include <QTest>

using platform::Forms;

namespace {

std::vector<QString> events;

class frmUno : public platform::Form {
public:
    frmUno() : Form(QStringLiteral("frmUno"))
    {
        lblUno = place(new QLabel, "lblUno", 0, 0, 1500, 300);
        cmdCerrar = place(new QPushButton(QStringLiteral("Cerrar.")), "cmdCerrar", 0, 400, 1500, 300);
        onClick(cmdCerrar, [this] { Forms::unload(*this); });
    }
    void Form_Load() override { events.push_back(QStringLiteral("Uno.Load")); }
    void Form_Activate() override { events.push_back(QStringLiteral("Uno.Activate")); }
    void Form_Unload() override { events.push_back(QStringLiteral("Uno.Unload")); }
    QLabel* lblUno;
    QPushButton* cmdCerrar;
};

class frmDos : public platform::Form {
public:
    frmDos() : Form(QStringLiteral("frmDos")) {}
    void Form_Activate() override { events.push_back(QStringLiteral("Dos.Activate")); }
};

// A window whose button, boxes and their leaving all run one action.
class frmAccion : public platform::Form {
public:
    frmAccion() : Form(QStringLiteral("frmAccion"))
    {
        cmdAceptar = place(new QPushButton(QStringLiteral("Aceptar")), "cmdAceptar", 0, 0, 1500, 300);
        txtNombre = place(new platform::TextBox, "txtNombre", 0, 400, 1500, 300);
        mskFecha = place(new platform::MaskEdBox, "mskFecha", 0, 800, 1500, 300);
        onClick(cmdAceptar, [this] { accion(); });
        txtNombre->KeyPress = [this](int&) { accion(); };
        txtNombre->Validate = [this](bool&) { accion(); };
        mskFecha->KeyPress = [this](int&) { accion(); };
    }
    std::function<void()> accion;
    QPushButton* cmdAceptar;
    platform::TextBox* txtNombre;
    platform::MaskEdBox* mskFecha;
};

} // namespace

class FormsTest : public testing_support::TervaloTest {
protected:
    FormsTest() { events.clear(); }
};

TEST_F(FormsTest, EnterPressesTheButtonThatHasTheFocus)
{
    auto& uno = Forms::show<frmUno>();
    uno.cmdCerrar->setFocus();
    QTest::keyClick(uno.cmdCerrar, Qt::Key_Return);
    EXPECT_EQ(Forms::loaded<frmUno>(), nullptr);
}

// A label shows a name that looks like markup as it stands, every character of it.
TEST_F(FormsTest, ALabelShowsItsTextAsItStands)
{
    auto& uno = Forms::show<frmUno>();
    const QString nombre = QStringLiteral("Modelo <b>A</b> &Otro");
    uno.lblUno->setText(nombre);
    EXPECT_GE(uno.lblUno->sizeHint().width(), uno.lblUno->fontMetrics().horizontalAdvance(nombre));
}

// A window loads when a control of it is touched, without showing; shows,
// activates and unloads with its events; a touch after its unload gives a
// fresh one; the window under it is activated again.
TEST_F(FormsTest, AWindowLoadsOnceActivatesAndComesBackFresh)
{
    Forms::show<frmDos>();
    Forms::show<frmDos>();
    Forms::get<frmUno>().lblUno->setText(u("viejo"));
    ASSERT_NE(Forms::loaded<frmUno>(), nullptr);
    EXPECT_TRUE(Forms::loaded<frmUno>()->isHidden());
    Forms::get<frmUno>();
    auto& uno = Forms::show<frmUno>();
    uno.cmdCerrar->click();
    EXPECT_EQ(Forms::loaded<frmUno>(), nullptr);
    EXPECT_TRUE(Forms::get<frmUno>().lblUno->text().isEmpty());
    EXPECT_EQ(events, (std::vector<QString>{u("Dos.Activate"), u("Uno.Load"), u("Uno.Activate"), u("Uno.Unload"),
                                            u("Dos.Activate"), u("Uno.Load")}));
    EXPECT_EQ(Forms::activeForm(), Forms::loaded<frmDos>());
}

// A pause lets the user's clicks through: a window closed by one of them
// while a handler of its own waits stays whole until that handler is done.
TEST_F(FormsTest, AWindowUnloadedDuringAPauseOfItsOwnHandlerOutlivesTheHandler)
{
    Forms::show<frmDos>();
    auto& uno = Forms::show<frmUno>();
    const QPointer<frmUno> ventana(&uno);
    bool enteraTrasLaPausa = false;
    QEventLoop programa;
    QTimer::singleShot(0, [&] {
        QEventLoop pausa;
        QTimer::singleShot(0, uno.cmdCerrar, &QPushButton::click);
        QTimer::singleShot(200, &pausa, &QEventLoop::quit);
        pausa.exec();
        enteraTrasLaPausa = ventana && ventana->lblUno->text().isEmpty();
        programa.quit();
    });
    programa.exec();
    EXPECT_TRUE(enteraTrasLaPausa);
    EXPECT_EQ(Forms::loaded<frmUno>(), nullptr);

    // Back in the program's own loop, it goes.
    QEventLoop despues;
    QTimer::singleShot(300, &despues, &QEventLoop::quit);
    despues.exec();
    EXPECT_TRUE(ventana.isNull());
}

TEST_F(FormsTest, UnloadingTheLastWindowEndsTheProgram)
{
    Forms::show<frmUno>();
    Forms::show<frmDos>();
    Forms::unload<frmUno>();
    EXPECT_FALSE(programEnded);
    Forms::unload<frmDos>();
    EXPECT_TRUE(programEnded);
}

TEST_F(FormsTest, AProgramWithNoWindowLeftOnTheScreenEnds)
{
    // A window closed while another is loaded but hidden: nothing the user could close is left.
    Forms::get<frmDos>();
    Forms::show<frmUno>();
    Forms::unload<frmUno>();
    EXPECT_FALSE(programEnded) << "the handler that closed it may still show another";
    QCoreApplication::processEvents();
    EXPECT_TRUE(programEnded);

    // A window shown again by the same handler keeps the program going.
    Forms::reset();
    programEnded = false;
    Forms::show<frmDos>();
    Forms::hide(Forms::get<frmDos>());
    Forms::show<frmUno>();
    QCoreApplication::processEvents();
    EXPECT_FALSE(programEnded);

    // A handler that hides the last window, waits in a nested event loop and
    // then shows the next one keeps the program going.
    Forms::reset();
    programEnded = false;
    Forms::show<frmDos>();
    QEventLoop bucle;
    QTimer::singleShot(0, [this, &bucle] {
        Forms::hide(Forms::get<frmDos>());
        QEventLoop espera;
        QTimer::singleShot(300, &espera, &QEventLoop::quit);
        espera.exec();
        EXPECT_FALSE(programEnded);
        Forms::show<frmUno>();
        bucle.quit();
    });
    bucle.exec();
    QCoreApplication::processEvents();
    EXPECT_FALSE(programEnded);
}

TEST_F(FormsTest, OneRunningCopyHoldsTheLockAndACrashedOneLeavesNone)
{
    {
        QLockFile other(platform::SingleInstance::lockPath());
        ASSERT_TRUE(other.tryLock(0));
        EXPECT_EQ(platform::SingleInstance::acquire(), platform::SingleInstance::Result::Running);
    }
    // A lock left by a process that is gone is taken over.
    QFile stale(platform::SingleInstance::lockPath());
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("999999\ntervalo\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    stale.close();
    EXPECT_EQ(platform::SingleInstance::acquire(), platform::SingleInstance::Result::Taken);
}

// A handler that runs out of memory says so, whichever event ran it, and the
// window goes on working.
TEST_F(FormsTest, AHandlerThatRunsOutOfMemorySaysSoAndTheWindowGoesOn)
{
    auto& ventana = Forms::show<frmAccion>();
    int hechas = 0;
    ventana.accion = [] { throw std::bad_alloc(); };
    clic(ventana.cmdAceptar);
    QTest::keyClick(ventana.txtNombre, Qt::Key_A);
    QTest::keyClick(ventana.mskFecha, Qt::Key_1);
    ventana.txtNombre->leaveFocus();
    EXPECT_EQ(msg().texts(), QStringList(4, QStringLiteral("No hay memoria suficiente para completar la operación.")));

    ventana.accion = [&] { ++hechas; };
    clic(ventana.cmdAceptar);
    EXPECT_EQ(hechas, 1);
    EXPECT_EQ(Forms::loaded<frmAccion>(), &ventana);
}
