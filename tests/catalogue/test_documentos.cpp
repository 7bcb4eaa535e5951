#include "TervaloTest.h"

#include "app/frmActualizacion.h"
#include "app/frmMenu.h"
#include "catalogue/frmDocumentos.h"
#include "platform/Controls.h"
#include "platform/FileListBox.h"
#include "platform/Forms.h"
#include "platform/Launcher.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using platform::Forms;

class DocumentosTest : public testing_support::TervaloTest {
protected:
    DocumentosTest()
    {
        instalado();
        Forms::show<frmActualizacion>();
    }

    static frmDocumentos& abrir()
    {
        Forms::loaded<frmMenu>()->cmdPlantillas->click();
        return *Forms::loaded<frmDocumentos>();
    }
    static QStringList lista(const frmDocumentos& ventana)
    {
        QStringList nombres;
        for (int i = 0; i < ventana.flbPlantillas->ListCount(); ++i)
            nombres << ventana.flbPlantillas->List(i);
        return nombres;
    }
    // A mouse click on entry `fila` of the list, or below the entries.
    static void pulsar(frmDocumentos& ventana, int fila)
    {
        auto* l = ventana.flbPlantillas;
        const QPoint punto =
            fila < 0 ? QPoint(5, l->viewport()->height() - 5) : l->visualItemRect(l->item(fila)).center();
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, punto);
    }

    static constexpr auto kCopia = "C:\\Quelvan\\Dorvane\\Plantillas\\Temp1.doc";
    static constexpr auto kBloqueo = "C:\\Quelvan\\Dorvane\\Plantillas\\.~lock.Temp1.doc#";
};

TEST_F(DocumentosTest, EachVisitListsTheFolderAfreshWithoutTheWorkingCopy)
{
    EXPECT_TRUE(lista(abrir()).isEmpty()) << "a missing folder is created empty";
    EXPECT_TRUE(exists("C:\\Quelvan\\Dorvane\\Plantillas"));
    EXPECT_EQ(Forms::loaded<frmMenu>(), nullptr);

    for (const char* nombre : {"prorroga.rtf", "Contrato.doc", ".oculto", "Temp1.doc"})
        writeFile((QByteArray("C:\\Quelvan\\Dorvane\\Plantillas\\") + nombre).constData(), "x");
    Forms::loaded<frmDocumentos>()->cmdSalir->click();
    ASSERT_NE(Forms::loaded<frmMenu>(), nullptr);
    EXPECT_FALSE(platform::isShown(Forms::loaded<frmMenu>()->fraMantenimientos));

    EXPECT_EQ(lista(abrir()), (QStringList{u("Contrato.doc"), u("prorroga.rtf")}));
    EXPECT_FALSE(exists(kCopia));
}

TEST_F(DocumentosTest, AClickOrEnterOpensACopyOfTheTemplateUnlessTheLastIsStillOpen)
{
    writeFile("C:\\Quelvan\\Dorvane\\Plantillas\\A.rtf", "{\\rtf1 A}");
    writeFile("C:\\Quelvan\\Dorvane\\Plantillas\\B.doc", "B");
    auto& ventana = abrir();
    const auto& abiertos = fakeLauncher().opened;

    pulsar(ventana, -1);
    pulsar(ventana, 0);
    ASSERT_EQ(abiertos.size(), 1u);
    EXPECT_EQ(abiertos[0], QUrl::fromLocalFile(host(kCopia)));
    EXPECT_EQ(readFile(kCopia), QByteArray("{\\rtf1 A}"));

    writeFile(kBloqueo, "usuario");
    pulsar(ventana, 1);
    EXPECT_EQ(abiertos.size(), 1u);
    EXPECT_EQ(readFile(kCopia), QByteArray("{\\rtf1 A}")) << "the open copy is left alone";
    EXPECT_EQ(msg().shown().at(0).style, 16);

    QFile bloqueo(host(kBloqueo)); // left by a crash before this run
    ASSERT_TRUE(bloqueo.open(QIODevice::ReadWrite));
    ASSERT_TRUE(bloqueo.setFileTime(QDateTime(QDate(2020, 1, 1), QTime(8, 0)), QFileDevice::FileModificationTime));
    bloqueo.close();
    pulsar(ventana, 1);
    EXPECT_EQ(abiertos.size(), 2u);
    EXPECT_EQ(readFile(kCopia), QByteArray("B"));

    QFile::remove(host("C:\\Quelvan\\Dorvane\\Plantillas\\A.rtf"));
    pulsar(ventana, 0);
    EXPECT_EQ(msg().texts().last(), u("No se ha podido copiar la plantilla A.rtf."));

    // The keyboard chooses with the arrows and opens with Enter.
    activar(&ventana);
    ventana.flbPlantillas->setFocus();
    QTest::keyClick(ventana.flbPlantillas, Qt::Key_Down);
    EXPECT_EQ(abiertos.size(), 2u) << "moving opens nothing";
    QTest::keyClick(ventana.flbPlantillas, Qt::Key_Return);
    EXPECT_EQ(abiertos.size(), 3u);
}

TEST_F(DocumentosTest, TheDesktopsOpenerIsAwaitedAndItsFailureSaid)
{
    // The desktop's opener: a script on the PATH that keeps the file it is
    // given and ends as told.
    using namespace std::chrono_literals;
    platform::ScopedService<platform::Launcher> escritorio(platform::launcherSlot(),
                                                           platform::makeDesktopLauncher(3s));
    QTemporaryDir programas;
    struct Ruta {
        const QByteArray antes = qgetenv("PATH");
        ~Ruta() { qputenv("PATH", antes); }
    } ruta;
    qputenv("PATH", QFile::encodeName(programas.path()) + ':' + ruta.antes);
    auto abridor = [&](const QByteArray& fin) {
        QFile guion(programas.filePath(u("xdg-open")));
        ASSERT_TRUE(guion.open(QIODevice::WriteOnly));
        guion.write("#!/bin/sh\necho \"$1\" > \"$0.abierto\"\n" + fin + '\n');
        guion.close();
        guion.setPermissions(guion.permissions() | QFileDevice::ExeOwner);
    };
    writeFile("C:\\Quelvan\\Dorvane\\Plantillas\\A.rtf", "{\\rtf1 A}");
    auto& ventana = abrir();

    abridor("sleep 0.3; exit 3"); // no application for the file
    bool atendida = false;
    QTimer::singleShot(50, [&] { atendida = true; });
    pulsar(ventana, 0);
    EXPECT_TRUE(atendida) << "the window keeps working while the opener answers";
    EXPECT_EQ(msg().texts(), QStringList{u("No se ha podido abrir la plantilla A.rtf: el escritorio no tiene ninguna "
                                           "aplicación que la abra.")});
    QFile abierto(programas.filePath(u("xdg-open.abierto")));
    ASSERT_TRUE(abierto.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromLocal8Bit(abierto.readAll().trimmed()), host(kCopia));

    // Opened, at once or by an application that runs inside the opener.
    abridor("exit 0");
    pulsar(ventana, 0);
    abridor("sleep 10");
    QElapsedTimer reloj;
    reloj.start();
    pulsar(ventana, 0);
    EXPECT_LT(reloj.elapsed(), 8000);
    EXPECT_EQ(msg().texts().size(), 1);
}
