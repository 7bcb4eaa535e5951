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

using namespace exchange;

namespace {

// The test FTP server (tests/support/servidor_ftp.py) under Debian's python3.
// Its accounts all see one folder, whose OSKA/CONTRATOS each case fills.
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
        while (proceso_.waitForStarted(10000) && !proceso_.canReadLine() && proceso_.waitForReadyRead(10000)) {
        }
        puerto_ = proceso_.readLine().trimmed().toInt();
    }
    // It ends when its input closes; its pid ends it otherwise.
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
    QStringList ficheros() const { return QDir(carpeta()).entryList(QDir::Files, QDir::Name); }
    void poner(const char* nombre, const QByteArray& contenido) const
    {
        QFile fichero(carpeta() + QLatin1Char('/') + q(nombre));
        ASSERT_TRUE(fichero.open(QIODevice::WriteOnly));
        fichero.write(contenido);
    }

private:
    QTemporaryDir raiz_;
    QProcess proceso_;
    int puerto_ = 0;
};

// The two servers are started once for the test program, when first used,
// and ended before the application object goes.
class Servidores : public ::testing::Environment {
public:
    static ServidorFtp& uno(bool sinPasv)
    {
        auto& servidor = sinPasv ? sinPasv_ : normal_;
        if (!servidor)
            servidor = std::make_unique<ServidorFtp>(sinPasv);
        return *servidor;
    }
    void TearDown() override
    {
        normal_.reset();
        sinPasv_.reset();
    }

private:
    static inline std::unique_ptr<ServidorFtp> normal_;
    static inline std::unique_ptr<ServidorFtp> sinPasv_;
};

[[maybe_unused]] auto* const servidores = ::testing::AddGlobalTestEnvironment(new Servidores);

} // namespace

class ServidorTest : public ExchangeTest {
protected:
    // Aims the program's FTP client at a test server whose folder holds two
    // files of the key AB and one of CD.
    ServidorFtp& preparar(bool sinPasv = false)
    {
        ServidorFtp& servidor = Servidores::uno(sinPasv);
        EXPECT_GT(servidor.puerto(), 0) << "the test FTP server did not start";
        apuntar(servidor.puerto());
        QDir(servidor.carpeta()).removeRecursively();
        QDir().mkpath(servidor.carpeta());
        servidor.poner("AB123400001", registroDe(q("1234"), q("00001"), q("B1"), q("T1")).bytes());
        servidor.poner("AB123400002", registroDe(q("1234"), q("00002"), q("B1"), q("T2")).bytes());
        servidor.poner("CD555500003", registroDe(q("5555"), q("00003"), q("B5"), q("T3")).bytes());
        return servidor;
    }
    void apuntar(int puerto)
    {
        cliente.reset();
        cliente = std::make_unique<platform::ScopedService<platform::Ftp>>(platform::ftpSlot(),
                                                                           platform::curlFtp(puerto));
    }
    frmMenu& importar(const char* usuario, const char* password, const char* clave = "AB")
    {
        auto& menu = abrirMenu(q("127.0.0.1"), q(usuario), q(password), q(clave));
        menu.cmdImportar->click();
        return menu;
    }
    static QString contadores(const frmMenu& menu)
    {
        return menu.txtEmpresas->text() + menu.txtNuevasE->text() + menu.txtNuevosT->text();
    }

    const QString fallo = q("Se ha producido un error al conectar con el Servidor UNIX.");
    const QString fin = q("Ha finalizado la importación de contratos");
    std::unique_ptr<platform::ScopedService<platform::Ftp>> cliente;
};

TEST_F(ServidorTest, TheKeysFilesAreImportedAndGoneFromTheServer)
{
    auto& servidor = preparar();
    servidor.poner("AB", registroDe(q("1234"), q("00009"), q("B1"), q("T9")).bytes());
    auto& menu = importar("tervalo", "clave");
    EXPECT_EQ(msg().texts(), (QStringList{q("Se encontraron 2 Contratos"), fin}));
    EXPECT_EQ(servidor.ficheros(), (QStringList{q("AB"), q("CD555500003")}))
        << "a file named by the key alone could never be filed: it stays there";
    EXPECT_EQ(contadores(menu), q("212"));
    EXPECT_EQ(en(kContratosTemp), (QStringList{q("123400001"), q("123400002")}));
    EXPECT_EQ(QFile::permissions(host("C:\\Quelvan\\Dorvane\\ContratosTemp\\123400001"))
                  & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
              0);
}

TEST_F(ServidorTest, APasswordWithColonAndAtSignAndAKeyOfTwoBlanks)
{
    auto& servidor = preparar();
    servidor.poner("99777700004", registroDe(q("7777"), q("00004"), q("B7"), q("T4")).bytes());
    importar("especial", "p:s@w", "  ");
    EXPECT_EQ(en(kContratosTemp), QStringList{q("777700004")});
    EXPECT_EQ(servidor.ficheros().size(), 3);
}

TEST_F(ServidorTest, AFileSentShortStaysOnTheServerAndNowhereHere)
{
    auto& servidor = preparar();
    auto& menu = importar("corto", "clave");
    EXPECT_EQ(msg().texts(), (QStringList{fallo, q("No se encontraron ficheros"), fin}));
    EXPECT_EQ(servidor.ficheros().size(), 3);
    EXPECT_TRUE(en(kContratosImp).isEmpty()) << "no part file is left behind either";
    EXPECT_TRUE(en(kContratosTemp).isEmpty());
    EXPECT_EQ(contadores(menu), q("000"));
}

TEST_F(ServidorTest, FilesThatCannotBeDeletedThereAreImportedAndTold)
{
    auto& servidor = preparar();
    importar("sinborrar", "clave");
    EXPECT_EQ(msg().texts().first(), fallo);
    EXPECT_EQ(servidor.ficheros().size(), 3);
    EXPECT_EQ(en(kContratosTemp).size(), 2);
}

TEST_F(ServidorTest, AServerThatRefusesPassiveModeIsFetchedInActiveMode)
{
    auto& servidor = preparar(true);
    importar("tervalo", "clave");
    EXPECT_EQ(msg().texts().first(), q("Se encontraron 2 Contratos"));
    EXPECT_EQ(servidor.ficheros(), QStringList{q("CD555500003")});
}

TEST_F(ServidorTest, AWrongPasswordOrAClosedPortFetchesNothingAndSaysSo)
{
    auto& servidor = preparar();
    const QStringList esperados{fallo, q("No se encontraron ficheros"), fin};
    auto& menu = importar("tervalo", "mala");
    EXPECT_EQ(msg().texts(), esperados);
    EXPECT_EQ(contadores(menu), q("000"));
    EXPECT_EQ(servidor.ficheros().size(), 3);

    QTcpServer cerrado;
    cerrado.listen(QHostAddress::LocalHost);
    const int puerto = cerrado.serverPort();
    cerrado.close();
    apuntar(puerto);
    menu.cmdImportar->click();
    EXPECT_EQ(msg().texts().mid(3), esperados);
}
