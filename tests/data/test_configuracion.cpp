#include "TervaloTest.h"

#include "data/Configuracion.h"
#include "platform/Files.h"

#include <QFile>
#include <QFileInfo>

namespace {

QByteArray oldText(const QByteArray& text)
{
    QByteArray out;
    out.append(static_cast<char>(text.size() & 0xFF));
    out.append(static_cast<char>((text.size() >> 8) & 0xFF));
    return out + text;
}

QByteArray oldLayout(const QByteArray& ip, const QByteArray& password, const QByteArray& usuario,
                     const QByteArray& idioma, const QByteArray& tail)
{
    return oldText(ip) + oldText(password) + oldText(usuario) + oldText(idioma) + tail;
}

} // namespace

class ConfiguracionTest : public testing_support::TervaloTest {
protected:
    ConfiguracionTest() { writeFile("C:\\Quelvan\\Dorvane\\.keep", {}); }
};

TEST_F(ConfiguracionTest, TheRecordIsFiftyFourBytesOfFixedFields)
{
    DatosConfiguracion d;
    d.Ip = QStringLiteral("192.168.1.5");
    d.Password = QStringLiteral("contraseña");
    d.Usuario = QStringLiteral("oficina");
    d.Idioma = QStringLiteral("2");
    d.ClaveUsuario = QStringLiteral("AB");
    d.Avisos = QStringLiteral("Si");
    d.DiasAviso = QStringLiteral("30");
    d.SistemaOperativo = QStringLiteral("2");
    d.Firmas = QStringLiteral("0");
    GrabarConfiguracion(d);

    const QByteArray bytes = readFile("C:\\Quelvan\\Dorvane\\config");
    EXPECT_EQ(bytes, QByteArray("192.168.1.5    contrase\xF1" "a     oficina        2ABSi3020"));
    const DatosConfiguracion leida = LeerConfiguracion();
    EXPECT_EQ(leida.Ip, QStringLiteral("192.168.1.5    "));
    EXPECT_EQ(leida.Password.trimmed(), QStringLiteral("contraseña"));
    EXPECT_EQ(leida.DiasAviso, QStringLiteral("30"));
    EXPECT_EQ(leida.Firmas, QStringLiteral("0"));
}

TEST_F(ConfiguracionTest, AMissingRecordReadsAsBlanks)
{
    const DatosConfiguracion d = LeerConfiguracion();
    EXPECT_EQ(d.Ip, QString(15, QLatin1Char(' ')));
    EXPECT_EQ(d.Avisos, QStringLiteral("  "));
}

TEST_F(ConfiguracionTest, EachWriterReplacesOnlyItsOwnFields)
{
    ActualizarConfiguracion([](DatosConfiguracion& d) { d.Usuario = QStringLiteral("pepe"); });
    ActualizarConfiguracion([](DatosConfiguracion& d) { d.Idioma = QStringLiteral("2"); });
    const DatosConfiguracion d = LeerConfiguracion();
    EXPECT_EQ(d.Usuario.trimmed(), QStringLiteral("pepe"));
    EXPECT_EQ(d.Idioma, QStringLiteral("2"));
}

TEST_F(ConfiguracionTest, TheOldLayoutIsConvertedAndKeptAsConfigold)
{
    const QByteArray old = oldLayout("10.0.0.1", "secreto", "root", "2", "K1Si302");
    writeFile("C:\\Quelvan\\Dorvane\\config", old);

    EXPECT_EQ(ConvertirConfiguracion(), Conversion::Convertida);
    const QByteArray converted = readFile("C:\\Quelvan\\Dorvane\\config");
    EXPECT_EQ(converted, QByteArray("10.0.0.1       secreto        root           2K1Si3020"));
    EXPECT_EQ(converted.size(), 54);
    EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\configold"), old);

    // Done once: "configold" marks it.
    writeFile("C:\\Quelvan\\Dorvane\\config", "cambiado");
    EXPECT_EQ(ConvertirConfiguracion(), Conversion::YaHecha);
    EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\config"), QByteArray("cambiado"));
}

TEST_F(ConfiguracionTest, ALongOldAddressIsCutToFifteen)
{
    writeFile("C:\\Quelvan\\Dorvane\\config", oldLayout("123.123.123.123X", "", "", "", "  No  1"));
    ConvertirConfiguracion();
    EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\config"),
              QByteArray("123.123.123.123" "               " "               " " " "  No  1" "0"));
}

TEST_F(ConfiguracionTest, AShortOrMissingOldFileStillGivesAFullRecord)
{
    EXPECT_EQ(ConvertirConfiguracion(), Conversion::Convertida);
    EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\config"), QByteArray(53, ' ') + "0");
    EXPECT_TRUE(exists("C:\\Quelvan\\Dorvane\\configold"));
    EXPECT_TRUE(readFile("C:\\Quelvan\\Dorvane\\configold").isEmpty());

    // A file cut short in the middle of a text: its length points past the end.
    const QByteArray cut = oldText("10.0.0.1").left(6);
    writeFile("C:\\Quelvan\\Dorvane\\config", cut);
    QFile::remove(host("C:\\Quelvan\\Dorvane\\configold"));
    EXPECT_EQ(ConvertirConfiguracion(), Conversion::Convertida);
    const QByteArray converted = readFile("C:\\Quelvan\\Dorvane\\config");
    EXPECT_EQ(converted.size(), 54);
    EXPECT_EQ(converted.left(15), QByteArray("10.0           "));
    EXPECT_EQ(converted.right(1), QByteArray("0"));
    EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\configold"), cut);
}

TEST_F(ConfiguracionTest, ARecordAlreadyConvertedIsNotGarbled)
{
    const QByteArray record("192.168.1.5    secreto        root           2K1Si3021");
    ASSERT_EQ(record.size(), 54);
    writeFile("C:\\Quelvan\\Dorvane\\config", record);
    EXPECT_EQ(ConvertirConfiguracion(), Conversion::RegistroAnterior);
    EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\config"), record);
    EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\configold"), record);
}

TEST_F(ConfiguracionTest, AFiftyFourByteFileIsConvertedOnlyWhenItReadsExactlyAsTheOldLayout)
{
    // 8 length bytes, 39 characters of text and 7 fixed bytes: 54 in all.
    const QByteArray exacta = oldLayout("192.168.100.200", "contrasena123", "usuario12", "12", "K1Si302");
    ASSERT_EQ(exacta.size(), 54);
    writeFile("C:\\Quelvan\\Dorvane\\config", exacta);
    EXPECT_EQ(ConvertirConfiguracion(), Conversion::Convertida);
    EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\config"),
              QByteArray("192.168.100.200contrasena123  usuario12      1K1Si3020"));

    // Reads as the old layout with bytes left over: a record of the current one.
    const QByteArray sobrante = oldLayout("10.0.0.1", "secreto", "root", "2", "K1Si302").leftJustified(54, 'x');
    QFile::remove(host("C:\\Quelvan\\Dorvane\\configold"));
    writeFile("C:\\Quelvan\\Dorvane\\config", sobrante);
    EXPECT_EQ(ConvertirConfiguracion(), Conversion::RegistroAnterior);
    EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\config"), sobrante);
}

TEST_F(ConfiguracionTest, AConversionThatCannotWriteTheRecordLeavesNoMarker)
{
    // "config" stands for a file that can be read but not replaced, whoever runs the test: one of the
    // kernel's, where no file can be made.
    const QString soloLectura = QStringLiteral("/proc/version");
    if (!QFileInfo(soloLectura).isReadable())
        GTEST_SKIP() << "no kernel file to stand for it";
    ASSERT_TRUE(QFile::link(soloLectura, host("C:\\Quelvan\\Dorvane\\config")));
    EXPECT_THROW(ConvertirConfiguracion(), platform::FileError);
    EXPECT_FALSE(exists("C:\\Quelvan\\Dorvane\\configold")) << "so the next start converts again";
}

TEST_F(ConfiguracionTest, TheFlagFileSaysWhetherTheUpgradeRan)
{
    EXPECT_EQ(LeerActu(), QStringLiteral("  "));
    EXPECT_TRUE(exists("C:\\Quelvan\\Dorvane\\Actu"));
    writeFile("C:\\Quelvan\\Dorvane\\Actu", "si");
    EXPECT_EQ(LeerActu(), QStringLiteral("si"));
    GrabarActu();
    EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\Actu"), QByteArray("Si"));
}
