#include "TervaloTest.h"

#include "app/frmActualizacion.h"
#include "app/frmMenu.h"
#include "catalogue/frmDocumentos.h"
#include "platform/Controls.h"
#include "platform/FileListBox.h"
#include "platform/Forms.h"

#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>

using platform::Forms;
using platform::isShown;

class DocumentosTest : public testing_support::TervaloTest {
protected:
    DocumentosTest()
    {
        writeFile("C:\\Quelvan\\Dorvane\\Actu", "Si");
        writeFile("C:\\Quelvan\\Dorvane\\configold", "");
    }

    // The main window as the program opens it, then its templates button.
    frmDocumentos& abrir()
    {
        Forms::show<frmActualizacion>();
        Forms::loaded<frmMenu>()->cmdPlantillas->click();
        return *Forms::loaded<frmDocumentos>();
    }

    QStringList lista(const frmDocumentos& ventana) const
    {
        QStringList nombres;
        for (int i = 0; i < ventana.flbPlantillas->ListCount(); ++i)
            nombres << ventana.flbPlantillas->List(i);
        return nombres;
    }

    // A click of the mouse on entry `fila` of the list.
    static void pulsar(frmDocumentos& ventana, int fila)
    {
        auto* lista = ventana.flbPlantillas;
        const QPoint punto = fila < 0 ? QPoint(5, lista->viewport()->height() - 5)
                                      : lista->visualItemRect(lista->item(fila)).center();
        QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, punto);
    }

    static constexpr auto kCopia = "C:\\Quelvan\\Dorvane\\Plantillas\\Temp1.doc";
    static constexpr auto kBloqueo = "C:\\Quelvan\\Dorvane\\Plantillas\\.~lock.Temp1.doc#";
};

TEST_F(DocumentosTest, OpensAFreshListWithoutTheWorkingCopy)
{
    EXPECT_TRUE(lista(abrir()).isEmpty()) << "a missing folder is created empty";
    EXPECT_TRUE(exists("C:\\Quelvan\\Dorvane\\Plantillas"));
    EXPECT_EQ(Forms::loaded<frmMenu>(), nullptr);

    writeFile("C:\\Quelvan\\Dorvane\\Plantillas\\prorroga.rtf", "p");
    writeFile("C:\\Quelvan\\Dorvane\\Plantillas\\Contrato.doc", "c");
    writeFile("C:\\Quelvan\\Dorvane\\Plantillas\\.oculto", "h");
    writeFile(kCopia, "vieja");
    Forms::loaded<frmDocumentos>()->cmdSalir->click();
    auto* menu = Forms::loaded<frmMenu>();
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(menu->isHidden());
    EXPECT_FALSE(isShown(menu->fraMantenimientos)) << "back without the maintenance panel";
    EXPECT_EQ(Forms::loaded<frmDocumentos>(), nullptr);

    menu->cmdPlantillas->click();
    EXPECT_EQ(lista(*Forms::loaded<frmDocumentos>()),
              (QStringList{QStringLiteral("Contrato.doc"), QStringLiteral("prorroga.rtf")}));
    EXPECT_FALSE(exists(kCopia));
}

TEST_F(DocumentosTest, AClickOpensACopyOfTheTemplateUnlessTheLastIsStillOpen)
{
    writeFile("C:\\Quelvan\\Dorvane\\Plantillas\\A.rtf", "{\\rtf1 A}");
    writeFile("C:\\Quelvan\\Dorvane\\Plantillas\\B.doc", "B");
    auto& ventana = abrir();
    auto& abiertos = fakeLauncher().opened;

    pulsar(ventana, -1);
    EXPECT_TRUE(abiertos.empty()) << "a click on no entry";

    pulsar(ventana, 0);
    ASSERT_EQ(abiertos.size(), 1u);
    EXPECT_EQ(abiertos[0], QUrl::fromLocalFile(host(kCopia)));
    EXPECT_EQ(readFile(kCopia), QByteArray("{\\rtf1 A}"));

    writeFile(kBloqueo, "usuario");
    pulsar(ventana, 1);
    EXPECT_EQ(abiertos.size(), 1u);
    EXPECT_EQ(readFile(kCopia), QByteArray("{\\rtf1 A}")) << "the open copy is left alone";
    ASSERT_EQ(msg().shown().size(), 1u);
    EXPECT_EQ(msg().shown()[0].style, 16);

    // A lock left behind by an earlier run does not count.
    QFile bloqueo(host(kBloqueo));
    ASSERT_TRUE(bloqueo.open(QIODevice::ReadWrite));
    ASSERT_TRUE(bloqueo.setFileTime(QDateTime(QDate(2020, 1, 1), QTime(8, 0)), QFileDevice::FileModificationTime));
    bloqueo.close();
    pulsar(ventana, 1);
    EXPECT_EQ(abiertos.size(), 2u);
    EXPECT_EQ(readFile(kCopia), QByteArray("B"));

    fakeLauncher().succeed = false;
    QFile::remove(host("C:\\Quelvan\\Dorvane\\Plantillas\\A.rtf"));
    pulsar(ventana, 0);
    EXPECT_EQ(msg().texts().last(), QStringLiteral("No se ha podido copiar la plantilla A.rtf."));
    pulsar(ventana, 1);
    EXPECT_EQ(msg().texts().last(), QStringLiteral("No se ha podido abrir la plantilla B.doc."));
}
