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
        QStringList argumentos{u(TERVALO_SERVIDOR_FTP), raiz_.path()};
        if (sinPasv)
            argumentos << u("--sin-pasv");
        proceso_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        proceso_.start(u("/usr/bin/python3"), argumentos);
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
    QString carpeta() const { return raiz_.path() + u("/OSKA/CONTRATOS"); }
    QStringList ficheros() const { return QDir(carpeta()).entryList(QDir::Files, QDir::Name); }
    void poner(const char* nombre, const QByteArray& contenido) const
    {
        QFile fichero(carpeta() + QLatin1Char('/') + u(nombre));
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
    void apuntar(int puerto)
    {
        cliente.reset();
        cliente = std::make_unique<platform::ScopedService<platform::Ftp>>(platform::ftpSlot(),
                                                                           platform::curlFtp(puerto));
    }
    std::unique_ptr<platform::ScopedService<platform::Ftp>> cliente;
};

TEST_F(ServidorTest, EachAccountFetchesWhatItMayAndTellsWhatFailed)
{
    const QString fallo = u("Se ha producido un error al conectar con el Servidor UNIX.");
    const QString nada = u("No se encontraron ficheros");
    const QString fin = u("Ha finalizado la importación de contratos");
    const QStringList todos{"99777700004", "AB", "AB123400001", "AB123400002", "CD555500003"};
    struct Caso {
        const char* usuario;
        const char* password;
        const char* clave;
        int servidor; // 0 plain, 1 refusing passive mode, 2 a closed port
        QStringList mensajes;
        QString contadores; // files, new companies, new workers
        QStringList quedan;  // on the server
        QStringList aqui;    // filed in ContratosTemp
    };
    const Caso casos[] = {
        // A file named by the key alone could never be filed: it stays there.
        {"tervalo", "clave", "AB", 0, {u("Se encontraron 2 Contratos"), fin}, "212",
         {"99777700004", "AB", "CD555500003"}, {"123400001", "123400002"}},
        {"especial", "p:s@w", "  ", 0, {u("Se encontraron 1 Contratos"), fin}, "111",
         {"AB", "AB123400001", "AB123400002", "CD555500003"}, {"777700004"}},
        {"tervalo", "clave", "AB", 1, {u("Se encontraron 2 Contratos"), fin}, "200",
         {"99777700004", "AB", "CD555500003"}, {"123400001", "123400002"}},
        // Sent short: nowhere here, no part file left behind either.
        {"corto", "clave", "AB", 0, {fallo, nada, fin}, "000", todos, {}},
        {"sinborrar", "clave", "AB", 0, {fallo, u("Se encontraron 2 Contratos"), fin}, "200", todos,
         {"123400001", "123400002"}},
        {"tervalo", "mala", "AB", 0, {fallo, nada, fin}, "000", todos, {}},
        {"tervalo", "clave", "AB", 2, {fallo, nada, fin}, "000", {}, {}},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(std::string(caso.usuario) + " " + std::to_string(caso.servidor));
        ServidorFtp& servidor = Servidores::uno(caso.servidor == 1);
        ASSERT_GT(servidor.puerto(), 0) << "the test FTP server did not start";
        QDir(servidor.carpeta()).removeRecursively();
        QDir().mkpath(servidor.carpeta());
        servidor.poner("AB123400001", registroDe(u("1234"), u("00001"), u("B1"), u("T1")).bytes());
        servidor.poner("AB123400002", registroDe(u("1234"), u("00002"), u("B1"), u("T2")).bytes());
        servidor.poner("CD555500003", registroDe(u("5555"), u("00003"), u("B5"), u("T3")).bytes());
        servidor.poner("AB", registroDe(u("1234"), u("00009"), u("B1"), u("T9")).bytes());
        servidor.poner("99777700004", registroDe(u("7777"), u("00004"), u("B7"), u("T4")).bytes());
        QTcpServer cerrado;
        cerrado.listen(QHostAddress::LocalHost);
        apuntar(caso.servidor == 2 ? cerrado.serverPort() : servidor.puerto());
        cerrado.close();
        QDir(host(kContratosTemp)).removeRecursively();
        QDir().mkpath(host(kContratosTemp));
        const auto antes = msg().texts().size();

        auto& menu = abrirMenu(u("127.0.0.1"), u(caso.usuario), u(caso.password), u(caso.clave));
        menu.cmdImportar->click();

        EXPECT_EQ(msg().texts().mid(antes), caso.mensajes);
        EXPECT_EQ(menu.txtEmpresas->text() + menu.txtNuevasE->text() + menu.txtNuevosT->text(), caso.contadores);
        if (caso.servidor != 2) {
            EXPECT_EQ(servidor.ficheros(), caso.quedan);
        }
        EXPECT_TRUE(en(kContratosImp).isEmpty());
        EXPECT_EQ(en(kContratosTemp), caso.aqui);
        for (const QString& fichero : en(kContratosTemp))
            EXPECT_EQ(QFile::permissions(host(kContratosTemp) + u("/") + fichero)
                          & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
                      0);
    }
}
