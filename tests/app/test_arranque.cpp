#include "TervaloTest.h"

#include "app/frmActualizacion.h"
#include "app/frmMenu.h"
#include "common/Module1.h"
#include "data/Configuracion.h"
#include "data/Esquema.h"
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/Paths.h"
#include "platform/SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLockFile>
#include <QPushButton>

#include <sys/file.h>
#include <unistd.h>

using platform::Forms;
using platform::isShown;

class ArranqueTest : public testing_support::TervaloTest {
protected:
    // A start that must stop at its one message: shown with the critical
    // icon, the program ended, no main window.
    QString arranqueDetenido()
    {
        programEnded = false;
        const std::size_t antes = msg().shown().size();
        Forms::reset();
        Forms::setEndHandler([this] { programEnded = true; });
        platform::SingleInstance::release();
        Forms::show<frmActualizacion>();
        EXPECT_TRUE(programEnded);
        EXPECT_EQ(Forms::loaded<frmMenu>(), nullptr);
        if (msg().shown().size() != antes + 1) {
            ADD_FAILURE() << msg().texts().join(QStringLiteral(" / ")).toStdString();
            return {};
        }
        EXPECT_EQ(msg().shown().back().style, 16);
        return msg().shown().back().text;
    }
};

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

TEST_F(ArranqueTest, ALockThatCannotBeMadeIsNoOtherCopyAndTheStartSaysWhy)
{
    // The folder for drive C: under a plain file: it can never be made.
    writeFile("C:\\archivo", "x");
    const QString bajoArchivo = host("C:\\archivo") + QStringLiteral("/C");
    qputenv("TERVALO_C", bajoArchivo.toUtf8());
    EXPECT_EQ(arranqueDetenido(), u("No se puede iniciar el programa: no se puede escribir en la carpeta de la "
                                     "unidad C: (%1).").arg(bajoArchivo));
    qputenv("TERVALO_C", driveC.path().toUtf8());

    // A disk with no room for the lock.
    {
        testing_support::FileSizeLimit lleno(16);
        EXPECT_EQ(arranqueDetenido(),
                  u("No se puede iniciar el programa: el disco de la unidad C: (%1) está lleno.").arg(driveC.path()));
    }
    EXPECT_EQ(QDir(driveC.path()).entryList(QDir::Files), QStringList{"archivo"});
    EXPECT_FALSE(exists("C:\\Quelvan"));
}

TEST_F(ArranqueTest, ADamagedDatabaseIsSaidSoBeforeAnyWindowAndLeftAsItIs)
{
    writeFile("C:\\Quelvan\\Dorvane\\configold", "");
    QByteArray azar(20000, 0);
    for (qsizetype i = 0; i < azar.size(); ++i)
        azar[i] = static_cast<char>((i * 7919 + 13) % 251);
    writeFile(kRutaBaseDatos, azar);
    const QString danada = u("La base de datos C:\\Quelvan\\Dorvane\\Tervalo.mdb está dañada: el programa no puede "
                             "leerla y no la ha modificado. Sustitúyala por una copia de seguridad.");
    EXPECT_EQ(arranqueDetenido(), danada);
    EXPECT_EQ(readFile(kRutaBaseDatos), azar);
    EXPECT_FALSE(exists("C:\\Quelvan\\Dorvane\\Actu")) << "no upgrade tried";

    // A database cut short, with the backups an earlier upgrade kept.
    QFile::remove(host(kRutaBaseDatos));
    esquema::crearSiFalta(host(kRutaBaseDatos));
    {
        RutaBaseDatos();
        auto db = AbrirBaseDatos();
        platform::Transaction transaccion(db);
        for (int i = 0; i < 2000; ++i)
            db.insert(QStringLiteral("Clausulas"), {{QStringLiteral("Clausula"), QString(200, QLatin1Char('c'))}});
        transaccion.commit();
    }
    QFile::resize(host(kRutaBaseDatos), QFileInfo(host(kRutaBaseDatos)).size() / 2);
    const QByteArray cortada = readFile(kRutaBaseDatos);
    writeFile("C:\\basedatosantigua.mdb", "");
    writeFile("C:\\basedatosantigua1.mdb", "");
    EXPECT_EQ(arranqueDetenido(), danada + u("\n\nLa actualización del programa guardó la base de datos anterior en "
                                             "C:\\basedatosantigua1.mdb."));
    EXPECT_EQ(readFile(kRutaBaseDatos), cortada);
}

TEST_F(ArranqueTest, ADatabaseThatCannotBeMadeLeavesNoHalfOfItAndIsNamedAsTheProgramKnowsIt)
{
    {
        testing_support::FileSizeLimit lleno(2000);
        EXPECT_EQ(arranqueDetenido(),
                  u("No se puede crear la base de datos C:\\Quelvan\\Dorvane\\Tervalo.mdb. El disco está lleno."));
    }
    EXPECT_EQ(QDir(host(platform::kProgramFolder)).entryList(QDir::Files), QStringList{});

    // Something in the way of the fresh one's temporary file.
    QDir().mkpath(host("C:\\Tervalo.mdb.nuevo"));
    EXPECT_EQ(arranqueDetenido(), u("No se puede crear la base de datos C:\\Tervalo.mdb. No se puede escribir en el "
                                     "archivo de la base de datos o en su carpeta."));
    EXPECT_FALSE(exists("C:\\Tervalo.mdb"));
}

TEST_F(ArranqueTest, AProgramFolderThatCannotBeMadeIsNamedAsTheProgramKnowsIt)
{
    writeFile("C:\\Quelvan", "un fichero donde va la carpeta");
    EXPECT_EQ(arranqueDetenido(), u("No se puede crear la carpeta C:\\Quelvan\\Dorvane."));
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

// What a killed run left with personal data goes at the next start: working
// copies (a save's half-written file and LibreOffice's lock among them), the
// files of a conversion, the scratch document. Other programs' files stay;
// so does all while another copy of the program runs, whose files they may be.
TEST_F(ArranqueTest, WhatAKilledRunLeftGoesAtTheNextStart)
{
    instalado();
    const QDir temporal(QDir::tempPath());
    const QStringList dejados{"ContratoAb12Cd.tmp", "ContratoAb12Cd.tmp.Xy34Zw", ".~lock.ContratoAb12Cd.tmp#",
                              "tervalo-Qw12Er/salida/documento.pdf"};
    const QStringList ajenos{"Contratos.tmp", "ContratoAb12Cd.txt", "otro-Qw12Er/documento.pdf"};
    for (const QString& nombre : dejados + ajenos) {
        QDir().mkpath(QFileInfo(temporal.filePath(nombre)).absolutePath());
        QFile fichero(temporal.filePath(nombre));
        ASSERT_TRUE(fichero.open(QIODevice::WriteOnly));
        fichero.write("12345678Z");
    }
    writeFile("C:\\Borrador.doc", "12345678Z");

    {
        QFile otraCopia(temporal.filePath(QStringLiteral(".tervalo-%1.lock").arg(::getuid())));
        ASSERT_TRUE(otraCopia.open(QIODevice::ReadWrite));
        ASSERT_EQ(::flock(otraCopia.handle(), LOCK_SH), 0);
        Forms::show<frmActualizacion>();
        for (const QString& nombre : dejados)
            EXPECT_TRUE(temporal.exists(nombre)) << nombre.toStdString();
    }
    EXPECT_FALSE(exists("C:\\Borrador.doc"));

    Forms::reset();
    Forms::setEndHandler([this] { programEnded = true; });
    platform::SingleInstance::release();
    Forms::show<frmActualizacion>();
    ASSERT_NE(Forms::loaded<frmMenu>(), nullptr);
    for (const QString& nombre : dejados)
        EXPECT_FALSE(temporal.exists(nombre.section(QLatin1Char('/'), 0, 0))) << nombre.toStdString();
    for (const QString& nombre : ajenos)
        EXPECT_TRUE(temporal.exists(nombre)) << nombre.toStdString();
}
