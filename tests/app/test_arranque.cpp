#include "TervaloTest.h"

#include "app/frmActualizacion.h"
#include "app/frmMenu.h"
#include "common/Module1.h"
#include "data/Configuracion.h"
#include "data/Esquema.h"
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLockFile>
#include <QPushButton>

using platform::Forms;
using platform::isShown;

class ArranqueTest : public testing_support::TervaloTest {};

TEST_F(ArranqueTest, AFreshFolderGetsWhatAnInstallationLeavesAndTheMainWindowOpens)
{
    Forms::show<frmActualizacion>();

    EXPECT_EQ(RutaBD, QStringLiteral("C:\\Quelvan\\Dorvane\\Tervalo.mdb"));
    EXPECT_TRUE(exists("C:\\Quelvan\\Dorvane\\Tervalo.mdb"));
    EXPECT_TRUE(exists("C:\\Tervalo.mdb"));
    EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\config"), QByteArray(53, ' ') + "0");
    EXPECT_TRUE(exists("C:\\Quelvan\\Dorvane\\configold"));
    EXPECT_TRUE(exists("C:\\Quelvan\\Dorvane\\Actu"));

    for (const char* carpeta : {"Contratos", "ContratosTemp", "ContratosImp"})
        EXPECT_TRUE(QFileInfo(host("C:\\Quelvan\\Dorvane") + "/" + carpeta).isDir()) << carpeta;

    EXPECT_EQ(Forms::loaded<frmActualizacion>(), nullptr);
    auto* menu = Forms::loaded<frmMenu>();
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(menu->isHidden() || isShown(menu->fraAvisos) || isShown(menu->fraConfigurar));
    EXPECT_FALSE(menu->Fondo().isNull()) << "the built-in background";
    EXPECT_FALSE(programEnded);
}

TEST_F(ArranqueTest, ASecondCopyIsRefusedAndWritesNothing)
{
    QDir().mkpath(driveC.path());
    QLockFile first(platform::SingleInstance::lockPath());
    ASSERT_TRUE(first.tryLock(0));

    Forms::show<frmActualizacion>();

    ASSERT_EQ(msg().shown().size(), 1u);
    EXPECT_EQ(msg().shown()[0].text, QStringLiteral("Ya hay una aplicación de contratos ejecutandose."));
    EXPECT_EQ(msg().shown()[0].style, 16);
    EXPECT_EQ(msg().shown()[0].title, QStringLiteral("Tervalo"));
    EXPECT_TRUE(programEnded);
    EXPECT_FALSE(exists("C:\\Quelvan"));
    EXPECT_EQ(Forms::loaded<frmMenu>(), nullptr);
}

TEST_F(ArranqueTest, ADoneStartTouchesNoFile)
{
    writeFile("C:\\Quelvan\\Dorvane\\config", "x");
    writeFile("C:\\Quelvan\\Dorvane\\configold", "y");
    writeFile("C:\\Quelvan\\Dorvane\\Actu", "Si");
    Forms::show<frmActualizacion>(); // creates the databases
    Forms::reset();
    Forms::setEndHandler([this] { programEnded = true; });
    const QDateTime before = QFileInfo(host("C:\\Quelvan\\Dorvane\\Tervalo.mdb")).lastModified();

    Forms::show<frmActualizacion>();

    EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\config"), QByteArray("x"));
    EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\configold"), QByteArray("y"));
    EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\Actu"), QByteArray("Si"));
    EXPECT_EQ(QFileInfo(host("C:\\Quelvan\\Dorvane\\Tervalo.mdb")).lastModified(), before);
    EXPECT_NE(Forms::loaded<frmMenu>(), nullptr);
}

TEST_F(ArranqueTest, SalirEndsTheProgram)
{
    Forms::show<frmActualizacion>();
    Forms::get<frmMenu>().cmdSalir->click();
    EXPECT_TRUE(programEnded);
    EXPECT_EQ(Forms::loaded<frmMenu>(), nullptr);
}

TEST_F(ArranqueTest, TheOfficesDataIsReadableByItsOwnerAlone)
{
    // The folder standing for drive C: made by the program itself.
    const QByteArray carpeta = (driveC.path() + QStringLiteral("/nueva/C")).toUtf8();
    qputenv("TERVALO_C", carpeta);
    Forms::show<frmActualizacion>();
    ASSERT_NE(Forms::loaded<frmMenu>(), nullptr);

    const auto otros = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
        | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    for (const char* ruta : {"C:\\Quelvan\\Dorvane\\config", "C:\\Quelvan\\Dorvane\\configold",
                             "C:\\Quelvan\\Dorvane\\Tervalo.mdb"}) {
        ASSERT_TRUE(exists(ruta)) << ruta;
        EXPECT_FALSE(QFile::permissions(host(ruta)) & otros) << ruta;
    }
    EXPECT_EQ(QFile::permissions(QString::fromUtf8(carpeta)) & (otros | QFileDevice::ExeOwner), QFileDevice::ExeOwner);

    // A record left readable by an earlier version becomes private when next written.
    QFile::setPermissions(host(kRutaConfiguracion), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);
    ActualizarConfiguracion([](DatosConfiguracion& d) { d.Usuario = QStringLiteral("root"); });
    EXPECT_FALSE(QFile::permissions(host(kRutaConfiguracion)) & otros);
}

TEST_F(ArranqueTest, TheUpgradeRunsUnlessTheFlagSaysSiExactly)
{
    writeFile("C:\\Quelvan\\Dorvane\\configold", "");
    writeFile("C:\\Quelvan\\Dorvane\\Actu", "si");
    esquema::crearBasesDeDatosQueFalten();
    RutaBaseDatos();
    AbrirBaseDatos().insert(QStringLiteral("Contrato"),
                            {{QStringLiteral("Contrato"),
                              QStringLiteral("Comunicación de conversión de contrato temporal en contrato indefinido")},
                             {QString::fromUtf8("Código"), QStringLiteral("109")}});

    Forms::show<frmActualizacion>();

    EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\Actu"), QByteArray("Si"));
    EXPECT_TRUE(AbrirBaseDatos().first(QStringLiteral("SELECT Contrato FROM Contrato"))->text(QStringLiteral("Contrato")).endsWith(
        QStringLiteral("a T.Completo bonif.")));
    EXPECT_NE(Forms::loaded<frmMenu>(), nullptr);
}
