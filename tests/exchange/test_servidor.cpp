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
#include <optional>

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
    QStringList todo() const
    {
        return QDir(carpeta()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
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

// The real client on a disk where no file may grow past `bytes` while it
// fetches, and, with `despues`, past that from then on, while it is in place.
class DiscoLleno final : public platform::Ftp {
public:
    DiscoLleno(int puerto, long long bytes, std::optional<long long> despues = std::nullopt)
        : real_(platform::curlFtp(puerto)), bytes_(bytes), despues_(despues)
    {
    }
    platform::FtpFetch fetch(const platform::FtpAccount& account, const QByteArray& serverFolder,
                             const QByteArray& prefix, const QString& localFolder,
                             const platform::FtpWanted& wanted) override
    {
        platform::FtpFetch traidos;
        {
            std::optional<testing_support::FileSizeLimit> lleno;
            if (bytes_ >= 0)
                lleno.emplace(bytes_);
            traidos = real_->fetch(account, serverFolder, prefix, localFolder, wanted);
        }
        if (despues_)
            lleno_.emplace(*despues_);
        return traidos;
    }

private:
    std::unique_ptr<platform::Ftp> real_;
    long long bytes_;
    std::optional<long long> despues_;
    std::optional<testing_support::FileSizeLimit> lleno_;
};

} // namespace

class ServidorTest : public ExchangeTest {
protected:
    void apuntar(int puerto) { poner(platform::curlFtp(puerto)); }
    void poner(std::unique_ptr<platform::Ftp> ftp)
    {
        cliente.reset();
        cliente = std::make_unique<platform::ScopedService<platform::Ftp>>(platform::ftpSlot(), std::move(ftp));
    }
    // The plain server, its folder emptied.
    ServidorFtp& vacio()
    {
        ServidorFtp& servidor = Servidores::uno(false);
        QDir(servidor.carpeta()).removeRecursively();
        QDir().mkpath(servidor.carpeta());
        return servidor;
    }
    std::unique_ptr<platform::ScopedService<platform::Ftp>> cliente;
};

const QString kDiscoLleno =
    u("El disco está lleno: no se han podido traer todos los contratos del servidor, ni se podrán importar los "
      "traídos mientras siga lleno. La próxima importación traerá los que faltan e importará los que queden.");
const QString kNoTraidos =
    u("No se han traído del servidor estos ficheros, porque su nombre no es el de un contrato: ");
const QString kSinBorrar2 =
    u("Se han traído del servidor 2 contratos, pero el servidor no ha dejado borrarlos: volverán a llegar en la "
      "próxima importación, que no importará de nuevo los que no hayan cambiado.");

TEST_F(ServidorTest, EachAccountFetchesWhatItMayAndTellsWhatFailed)
{
    const QString fallo = u("Se ha producido un error al conectar con el Servidor UNIX.");
    const QString nada = u("No se encontraron ficheros");
    const QString fin = u("Ha finalizado la importación de contratos");
    const QStringList todos{"99777700004", "AB", "AB123400001", "AB123400002", "CD555500003"};
    // A file named by the key alone could never be filed: it stays there.
    const QString soloClave = kNoTraidos + u("\"AB\". Siguen en el servidor.");
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
        {"tervalo", "clave", "AB", 0, {soloClave, u("Se encontraron 2 Contratos"), fin}, "212",
         {"99777700004", "AB", "CD555500003"}, {"123400001", "123400002"}},
        {"especial", "p:s@w", "  ", 0, {u("Se encontraron 1 Contratos"), fin}, "111",
         {"AB", "AB123400001", "AB123400002", "CD555500003"}, {"777700004"}},
        {"tervalo", "clave", "AB", 1, {soloClave, u("Se encontraron 2 Contratos"), fin}, "200",
         {"99777700004", "AB", "CD555500003"}, {"123400001", "123400002"}},
        // Sent short: nowhere here, no part file left behind either.
        {"corto", "clave", "AB", 0, {soloClave, fallo, nada, fin}, "000", todos, {}},
        {"sinborrar", "clave", "AB", 0, {soloClave, kSinBorrar2, u("Se encontraron 2 Contratos"), fin}, "200", todos,
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
        db.exec(u("DELETE FROM RegistrosRecibidos"));
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

// Names that could not be filed, folders, files that are no contract records
// and a record without a worker number: run after run, each good record is
// imported and filed once, what could not be fetched stays on the server,
// and a file that is no record is told once and filed with the others.
TEST_F(ServidorTest, WhatIsNoRecordStaysOutRunAfterRunAndEachRecordIsImportedOnce)
{
    ServidorFtp& servidor = vacio();
    for (int n = 1; n <= 12; ++n) {
        const QString trabajador = u("%1").arg(n, 5, 10, QLatin1Char('0'));
        servidor.poner(("AB1111" + trabajador).toLatin1().constData(),
                       registroDe(u("1111"), trabajador, u("B1"), u("T%1").arg(n)).bytes());
    }
    for (const char* nombre : {"AB.", "AB..", "AB.oculto", "AB"})
        servidor.poner(nombre, registroDe(u("9999"), u("00001"), u("B9"), u("T9")).bytes());
    QDir().mkpath(servidor.carpeta() + u("/AB777700007"));
    const QByteArray registro = registroDe(u("4444"), u("00004"), u("B4"), u("T4")).bytes();
    servidor.poner("AB444400004", registro.leftJustified(2 * kFinCamposFijos + 1, ' '));
    servidor.poner("AB555500005", registroDe(u("5555"), u("00005"), u("B5"), u("T5"), u("ACME\tS.L.")).bytes());
    trabajador(empresa(u("3333"), u("B3")), u("3333"), 1, u("T1"));
    servidor.poner("AB3333ABCDE", registroDe(u("3333"), u("ABCDE"), u("B3"), u("T"), u("TRES")).bytes());
    // A folder stands where the second record goes.
    QDir().mkpath(host("C:\\Quelvan\\Dorvane\\ContratosTemp\\111100002"));
    apuntar(servidor.puerto());
    auto& menu = abrirMenu();

    menu.cmdImportar->click();

    const QString queda = u(". Queda en la carpeta C:\\Quelvan\\Dorvane\\ContratosTemp como ");
    EXPECT_EQ(msg().texts(),
              (QStringList{kNoTraidos + u("\"AB\", \"AB.\", \"AB..\", \"AB.oculto\". Siguen en el servidor."),
                           u("Se encontraron 15 Contratos"),
                           u("Error en el contrato del trabajador : ABCDE de la empresa TRES") + QString(26, u' ')
                               + u(" Posible error en el campo : Número Trabajador = ABCDE"),
                           u("El fichero AB444400004 no se ha importado: con 3423 bytes es más largo que un contrato")
                               + queda + u("444400004."),
                           u("El fichero AB555500005 no se ha importado: tiene caracteres de control, que ningún "
                             "contrato lleva") + queda + u("555500005."),
                           u("El fichero AB111100002 se ha importado pero no se puede dejar en la carpeta "
                             "C:\\Quelvan\\Dorvane\\ContratosTemp: queda en la carpeta "
                             "C:\\Quelvan\\Dorvane\\ContratosImp y la próxima importación lo dejará allí sin "
                             "volver a importarlo."),
                           u("Ha finalizado la importación de contratos")}));
    EXPECT_EQ(menu.txtEmpresas->text() + menu.txtNuevasE->text() + menu.txtNuevosT->text(), u("13112"));
    EXPECT_EQ(servidor.todo(), (QStringList{"AB", "AB.", "AB..", "AB.oculto", "AB777700007"}));
    EXPECT_EQ(en(kContratosImp), (QStringList{"AB111100002"}));
    EXPECT_EQ(en(kContratosTemp).size(), 14);
    EXPECT_TRUE(en(kContratosTemp).contains(u("3333ABCDE")));
    EXPECT_EQ(columna("SELECT \"NúmeroEmpresa\" FROM Empresas ORDER BY 1"), (QStringList{"1111", "3333"}));

    // The next run brings nothing new: the names are told again, the record
    // that could not be filed is filed now without being imported again,
    // nothing else is imported again.
    QDir(host("C:\\Quelvan\\Dorvane\\ContratosTemp\\111100002")).removeRecursively();
    const auto antes = msg().texts().size();
    menu.cmdImportar->click();

    EXPECT_EQ(msg().texts().mid(antes, 3),
              (QStringList{kNoTraidos + u("\"AB\", \"AB.\", \"AB..\", \"AB.oculto\". Siguen en el servidor."),
                           u("Se encontraron 1 Contratos"),
                           u("El fichero AB111100002 ya se había importado tal como está: no se ha vuelto a "
                             "importar.")}));
    EXPECT_EQ(msg().texts().size(), antes + 4);
    EXPECT_EQ(menu.txtEmpresas->text() + menu.txtNuevasE->text() + menu.txtNuevosT->text(), u("000"));
    EXPECT_EQ(en(kContratosTemp).size(), 15);
    EXPECT_EQ(columna("SELECT NumEmpresa || '-' || COUNT(*) FROM Trabajadores GROUP BY NumEmpresa ORDER BY 1"),
              (QStringList{"1111 -12", "3333-1"}));
}

// A disk that fills up during the fetch, or a folder that cannot be written:
// told once as what it is; no part of a file is left here, every file stays
// on the server, and once there is room the next run fetches and imports
// each one once.
TEST_F(ServidorTest, AFullDiskOrAFolderThatCannotBeWrittenLeavesTheFilesOnTheServer)
{
    ServidorFtp& servidor = vacio();
    const QStringList todos{"AB111100001", "AB111100002", "AB111100003"};
    for (const QString& nombre : todos)
        servidor.poner(nombre.toLatin1().constData(),
                       registroDe(u("1111"), nombre.right(5), u("B1"), u("T") + nombre.right(1)).bytes());
    // A fetch killed halfway left this, hidden.
    dejar(kContratosImp, u(".AB999900009.part"), "AB9999");
    const QString siguen = u(": no se han podido traer todos los contratos del servidor. Los que faltan siguen en "
                             "el servidor para la próxima importación.");
    const QStringList nada{u("No se encontraron ficheros"), u("Ha finalizado la importación de contratos")};
    auto& menu = abrirMenu();

    // Room for half a record.
    poner(std::make_unique<DiscoLleno>(servidor.puerto(), 800));
    menu.cmdImportar->click();
    EXPECT_EQ(msg().texts(), QStringList{kDiscoLleno} + nada);
    EXPECT_EQ(servidor.ficheros(), todos);
    EXPECT_TRUE(en(kContratosImp).isEmpty());

    // ContratosImp is a file, where a folder should be.
    apuntar(servidor.puerto());
    QDir(host(kContratosImp)).removeRecursively();
    writeFile(kContratosImp, "no es una carpeta");
    auto antes = msg().texts().size();
    menu.cmdImportar->click();
    EXPECT_EQ(msg().texts().at(antes),
              u("No se puede escribir en la carpeta C:\\Quelvan\\Dorvane\\ContratosImp") + siguen);
    EXPECT_EQ(servidor.ficheros(), todos);

    QFile::remove(host(kContratosImp));
    QDir().mkpath(host(kContratosImp));
    antes = msg().texts().size();
    menu.cmdImportar->click();
    EXPECT_EQ(msg().texts().mid(antes),
              (QStringList{u("Se encontraron 3 Contratos"), u("Ha finalizado la importación de contratos")}));
    EXPECT_TRUE(servidor.ficheros().isEmpty());
    EXPECT_EQ(en(kContratosTemp), (QStringList{"111100001", "111100002", "111100003"}));
    EXPECT_EQ(columna(R"(SELECT "NúmeroTrabajador" FROM Trabajadores ORDER BY 1)"), (QStringList{"1", "2", "3"}));
}

// A disk full during the fetch and still full for the import of what
// arrived is told once; one that fills up only for the import is told by
// the import. Nothing is lost: the next run, with room, fetches and imports
// every record once.
TEST_F(ServidorTest, AFullDiskIsToldOnceForTheWholeRun)
{
    const QString fin = u("Ha finalizado la importación de contratos");
    struct Caso {
        const char* que;
        long long durante; // room for each file while fetching; -1 as much as needed
        QStringList mensajes;
        QStringList quedan; // on the server
    };
    const Caso casos[] = {
        {"full while fetching and importing", 1500, {kDiscoLleno, u("Se encontraron 1 Contratos"), fin},
         {"AB111100002"}},
        {"full for the import only", -1,
         {u("Se encontraron 2 Contratos"),
          u("El disco está lleno. Los contratos que faltan por importar quedan para la próxima importación."), fin},
         {}},
    };
    auto& menu = abrirMenu();
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.que);
        ServidorFtp& servidor = vacio();
        QDir(host(kContratosTemp)).removeRecursively();
        for (const char* tabla : {"Trabajadores", "Empresas", "RegistrosRecibidos"})
            db.exec(u("DELETE FROM ") + u(tabla));
        // The first arrives within 1500 bytes, the second does not.
        servidor.poner("AB111100001", registroDe(u("1111"), u("00001"), u("B1"), u("T1")).bytes(1400));
        servidor.poner("AB111100002", registroDe(u("1111"), u("00002"), u("B1"), u("T2")).bytes());
        const auto antes = msg().texts().size();

        poner(std::make_unique<DiscoLleno>(servidor.puerto(), caso.durante, 1500));
        menu.cmdImportar->click();
        apuntar(servidor.puerto());

        EXPECT_EQ(msg().texts().mid(antes), caso.mensajes);
        EXPECT_EQ(servidor.ficheros(), caso.quedan);
        EXPECT_EQ(en(kContratosImp).size() + caso.quedan.size(), 2u);
        EXPECT_EQ(cuenta("Trabajadores"), 0);

        menu.cmdImportar->click();
        EXPECT_EQ(en(kContratosTemp), (QStringList{"111100001", "111100002"}));
        EXPECT_EQ(cuenta("Trabajadores"), 2);
    }
}

// A server that lets the program fetch its files but not delete them: told
// as what it is each run. A record that comes again as it was imported is
// not imported again, also after its waiting file was deleted, so what the
// office ticked in between stays; one that changed is a new record. A file
// refused as no record is told the first time only.
TEST_F(ServidorTest, FilesTheServerKeepsAreToldAndNotImportedAgain)
{
    ServidorFtp& servidor = vacio();
    servidor.poner("AB111100001", registroDe(u("1111"), u("00001"), u("B1"), u("T1")).bytes());
    servidor.poner("AB111100002", registroDe(u("1111"), u("00002"), u("B1"), u("T2")).bytes());
    servidor.poner("AB111100003",
                   registroDe(u("1111"), u("00003"), u("B1"), u("T3"), u("MUÑOZ S.L.")).texto().toUtf8());
    apuntar(servidor.puerto());
    auto& menu = abrirMenu(u("127.0.0.1"), u("sinborrar"), u("clave"), u("AB"));
    const QStringList traidos{u("Se han traído del servidor 3 contratos, pero el servidor no ha dejado borrarlos: "
                                "volverán a llegar en la próxima importación, que no importará de nuevo los que no "
                                "hayan cambiado."),
                              u("Se encontraron 3 Contratos")};
    const QString fin = u("Ha finalizado la importación de contratos");
    const auto importa = [&](const QStringList& mensajes, const char* contadores) {
        const auto antes = msg().texts().size();
        menu.cmdImportar->click();
        EXPECT_EQ(msg().texts().mid(antes), traidos + mensajes + QStringList{fin});
        EXPECT_EQ(menu.txtEmpresas->text() + menu.txtNuevasE->text() + menu.txtNuevosT->text(), u(contadores));
        EXPECT_EQ(servidor.ficheros(), (QStringList{"AB111100001", "AB111100002", "AB111100003"}));
        EXPECT_TRUE(en(kContratosImp).isEmpty());
        EXPECT_EQ(en(kContratosTemp), (QStringList{"111100001", "111100002", "111100003"}));
    };
    const char* const flags = R"(SELECT "NúmeroTrabajador" || EnviadoCliente || RecibidoCliente || EnviadoInem ||
                                        RecogidoInem || ReenviadoCliente FROM Trabajadores ORDER BY 1)";

    importa({u("El fichero AB111100003 no se ha importado: está escrito en UTF-8, no en Windows-1252. Queda en la "
               "carpeta C:\\Quelvan\\Dorvane\\ContratosTemp como 111100003.")},
            "212");
    db.exec(u("UPDATE Trabajadores SET EnviadoCliente = 'Si', RecibidoCliente = 'Si', EnviadoInem = 'Si', "
              "RecogidoInem = 'Si', ReenviadoCliente = 'Si'"));
    QFile::remove(host("C:\\Quelvan\\Dorvane\\ContratosTemp\\111100002"));

    importa({u("2 ficheros ya se habían importado tal como están: no se han vuelto a importar.")}, "000");
    EXPECT_EQ(columna(flags), (QStringList{"1SiSiSiSiSi", "2SiSiSiSiSi"}));

    servidor.poner("AB111100001",
                   registroDe(u("1111"), u("00001"), u("B1"), u("T1"), u("ACME S.L."), u("OTRO")).bytes());
    importa({u("El fichero AB111100002 ya se había importado tal como está: no se ha vuelto a importar.")}, "100");
    EXPECT_EQ(columna(flags), (QStringList{"1NoNoNoNoNo", "2SiSiSiSiSi"}));
}
