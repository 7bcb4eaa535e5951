#include "Registros.h"

#include "app/frmMenu.h"
#include "platform/Ftp.h"

#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>

#include <csignal>
#include <memory>

using namespace exchange;

namespace {

QString q(const char* texto)
{
    return QString::fromUtf8(texto);
}

// The test FTP server (tests/support/servidor_ftp.py) under Debian's python3,
// started once per test program and ended with it. Its accounts all see the
// same folder, whose OSKA/CONTRATOS each case fills.
class ServidorFtp {
public:
    explicit ServidorFtp(bool sinPasv)
    {
        QDir().mkpath(carpeta());
        QStringList argumentos{q(TERVALO_SERVIDOR_FTP), raiz_.path()};
        if (sinPasv)
            argumentos << q("--sin-pasv");
        proceso_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        proceso_.start(q("/usr/bin/python3"), argumentos);
        if (!proceso_.waitForStarted(10000))
            return;
        while (!proceso_.canReadLine() && proceso_.waitForReadyRead(10000)) {
        }
        puerto_ = proceso_.readLine().trimmed().toInt();
    }

    ~ServidorFtp()
    {
        proceso_.closeWriteChannel();
        if (!proceso_.waitForFinished(3000) && proceso_.processId() > 0) {
            ::kill(static_cast<pid_t>(proceso_.processId()), SIGKILL);
            proceso_.waitForFinished(3000);
        }
    }

    int puerto() const { return puerto_; }
    QString carpeta() const { return raiz_.path() + q("/OSKA/CONTRATOS"); }

    void vaciar() const
    {
        QDir(carpeta()).removeRecursively();
        QDir().mkpath(carpeta());
    }
    void poner(const QString& nombre, const QByteArray& contenido) const
    {
        QFile fichero(carpeta() + QLatin1Char('/') + nombre);
        ASSERT_TRUE(fichero.open(QIODevice::WriteOnly));
        fichero.write(contenido);
    }
    QStringList ficheros() const { return QDir(carpeta()).entryList(QDir::Files, QDir::Name); }

private:
    QTemporaryDir raiz_;
    QProcess proceso_;
    int puerto_ = 0;
};

// The two servers of the program, ended before the application object goes.
class Servidores : public ::testing::Environment {
public:
    static ServidorFtp& normal() { return uno(normal_, false); }
    static ServidorFtp& sinPasv() { return uno(sinPasv_, true); }
    void TearDown() override
    {
        normal_.reset();
        sinPasv_.reset();
    }

private:
    static ServidorFtp& uno(std::unique_ptr<ServidorFtp>& servidor, bool sinPasivo)
    {
        if (!servidor)
            servidor = std::make_unique<ServidorFtp>(sinPasivo);
        return *servidor;
    }
    static inline std::unique_ptr<ServidorFtp> normal_;
    static inline std::unique_ptr<ServidorFtp> sinPasv_;
};

[[maybe_unused]] auto* const servidores = ::testing::AddGlobalTestEnvironment(new Servidores);

int puertoCerrado()
{
    QTcpServer libre;
    libre.listen(QHostAddress::LocalHost);
    return libre.serverPort();
}

} // namespace

class ServidorTest : public ExchangeTest {
protected:
    // Aims the program's FTP client at a test server and fills its folder
    // with the records of two files of key AB, one of key CD.
    ServidorFtp& preparar(ServidorFtp& servidor)
    {
        EXPECT_GT(servidor.puerto(), 0) << "the test FTP server did not start";
        apuntar(servidor.puerto());
        servidor.vaciar();
        servidor.poner(q("AB123400001"), registroDe(q("1234"), q("00001"), q("B1"), q("T1")).bytes());
        servidor.poner(q("AB123400002"), registroDe(q("1234"), q("00002"), q("B1"), q("T2")).bytes());
        servidor.poner(q("CD555500003"), registroDe(q("5555"), q("00003"), q("B5"), q("T3")).bytes());
        return servidor;
    }
    void apuntar(int puerto)
    {
        cliente.reset();
        cliente = std::make_unique<platform::ScopedService<platform::Ftp>>(platform::ftpSlot(),
                                                                           platform::curlFtp(puerto));
    }
    frmMenu& importar(const QString& usuario, const QString& password, const QString& clave = q("AB"))
    {
        auto& menu = abrirMenu(q("127.0.0.1"), usuario, password, clave);
        menu.cmdImportar->click();
        return menu;
    }
    static QStringList contadores(const frmMenu& menu)
    {
        return {menu.txtEmpresas->text(), menu.txtNuevasE->text(), menu.txtNuevosT->text()};
    }

    std::unique_ptr<platform::ScopedService<platform::Ftp>> cliente;
};

TEST_F(ServidorTest, TheKeysFilesAreImportedAndGoneFromTheServer)
{
    auto& servidor = preparar(Servidores::normal());

    auto& menu = importar(q("tervalo"), q("clave"));

    EXPECT_EQ(msg().texts(), (QStringList{q("Se encontraron 2 Contratos"), q("Ha finalizado la importación de contratos")}));
    EXPECT_EQ(servidor.ficheros(), QStringList{q("CD555500003")});
    EXPECT_EQ(contadores(menu), (QStringList{q("2"), q("1"), q("2")}));
    EXPECT_EQ(en(kContratosTemp), (QStringList{q("123400001"), q("123400002")}));
    EXPECT_TRUE(en(kContratosImp).isEmpty());
}

TEST_F(ServidorTest, APasswordWithColonAndAtSignLogsIn)
{
    auto& servidor = preparar(Servidores::normal());
    importar(q("especial"), q("p:s@w"));
    EXPECT_EQ(servidor.ficheros(), QStringList{q("CD555500003")});
    EXPECT_EQ(en(kContratosTemp).size(), 2);
}

TEST_F(ServidorTest, AKeyOfTwoBlanksTakesTheFilesOf99)
{
    auto& servidor = preparar(Servidores::normal());
    servidor.poner(q("99777700004"), registroDe(q("7777"), q("00004"), q("B7"), q("T4")).bytes());
    importar(q("tervalo"), q("clave"), q("  "));
    EXPECT_EQ(en(kContratosTemp), QStringList{q("777700004")});
    EXPECT_EQ(servidor.ficheros().size(), 3);
}

TEST_F(ServidorTest, AFileSentShortStaysOnTheServerAndNowhereHere)
{
    auto& servidor = preparar(Servidores::normal());

    auto& menu = importar(q("corto"), q("clave"));

    EXPECT_EQ(msg().texts(), (QStringList{q("Se ha producido un error al conectar con el Servidor UNIX."),
                                          q("No se encontraron ficheros"),
                                          q("Ha finalizado la importación de contratos")}));
    EXPECT_EQ(servidor.ficheros().size(), 3);
    EXPECT_TRUE(en(kContratosImp).isEmpty()) << "no part file is left behind either";
    EXPECT_TRUE(en(kContratosTemp).isEmpty());
    EXPECT_EQ(contadores(menu), (QStringList{q("0"), q("0"), q("0")}));
}

TEST_F(ServidorTest, FilesThatCannotBeDeletedThereAreImportedAndTold)
{
    auto& servidor = preparar(Servidores::normal());
    importar(q("sinborrar"), q("clave"));
    EXPECT_EQ(msg().texts().first(), q("Se ha producido un error al conectar con el Servidor UNIX."));
    EXPECT_EQ(servidor.ficheros().size(), 3);
    EXPECT_EQ(en(kContratosTemp).size(), 2);
}

TEST_F(ServidorTest, AServerThatRefusesPassiveModeIsFetchedFromInActiveMode)
{
    auto& servidor = preparar(Servidores::sinPasv());
    importar(q("tervalo"), q("clave"));
    EXPECT_EQ(msg().texts().first(), q("Se encontraron 2 Contratos"));
    EXPECT_EQ(servidor.ficheros(), QStringList{q("CD555500003")});
}

TEST_F(ServidorTest, AWrongPasswordOrAClosedPortFetchesNothingAndSaysSo)
{
    auto& servidor = preparar(Servidores::normal());
    const QStringList esperados{q("Se ha producido un error al conectar con el Servidor UNIX."),
                                q("No se encontraron ficheros"), q("Ha finalizado la importación de contratos")};

    auto& menu = importar(q("tervalo"), q("mala"));
    EXPECT_EQ(msg().texts(), esperados);
    EXPECT_EQ(contadores(menu), (QStringList{q("0"), q("0"), q("0")}));
    EXPECT_EQ(servidor.ficheros().size(), 3);

    apuntar(puertoCerrado());
    menu.cmdImportar->click();
    EXPECT_EQ(msg().texts().mid(3), esperados);
    EXPECT_EQ(contadores(menu), (QStringList{q("0"), q("0"), q("0")}));
}
