#include "TervaloTest.h"

#include "data/Configuracion.h"
#include "platform/Files.h"

#include <QFile>
#include <QFileInfo>

#include <optional>

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

// Each field full with characters no other field holds: one read or written a
// place off, or swapped with another, takes characters that are not its own.
TEST_F(ConfiguracionTest, EveryFieldIsWrittenAndReadAtItsOwnPlace)
{
    DatosConfiguracion d;
    const std::pair<QString DatosConfiguracion::*, QByteArray> campos[] = {
        {&DatosConfiguracion::Ip, "111.122.133.144"},
        {&DatosConfiguracion::Password, "PPPPPPPPPPPPPPp"},
        {&DatosConfiguracion::Usuario, "UUUUUUUUUUUUUUu"},
        {&DatosConfiguracion::Idioma, "2"},
        {&DatosConfiguracion::ClaveUsuario, "Kk"},
        {&DatosConfiguracion::Avisos, "No"},
        {&DatosConfiguracion::DiasAviso, "60"},
        {&DatosConfiguracion::SistemaOperativo, "1"},
        {&DatosConfiguracion::Firmas, "0"},
    };
    QByteArray registro;
    for (const auto& [campo, valor] : campos) {
        d.*campo = QString::fromLatin1(valor);
        registro += valor;
    }
    ASSERT_EQ(registro.size(), DatosConfiguracion::kLongitud);
    GrabarConfiguracion(d);
    EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\config"), registro);

    writeFile("C:\\Quelvan\\Dorvane\\config", registro);
    const DatosConfiguracion leida = LeerConfiguracion();
    for (const auto& [campo, valor] : campos)
        EXPECT_EQ(leida.*campo, QString::fromLatin1(valor)) << valor.constData();
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

// Each old file: what "config" holds after the conversion, and "configold" keeps the old file as it was.
TEST_F(ConfiguracionTest, TheOldLayoutIsConvertedOnceAndARecordAlreadyConvertedIsKept)
{
    const QByteArray record("192.168.1.5    secreto        root           2K1Si3021");
    // 8 length bytes, 39 characters of text and 7 fixed bytes: 54 in all, read exactly as the old layout.
    const QByteArray exacta = oldLayout("192.168.100.200", "contrasena123", "usuario12", "12", "K1Si302");
    const QByteArray sobrante = oldLayout("10.0.0.1", "secreto", "root", "2", "K1Si302").leftJustified(54, 'x');
    const QByteArray cortada = oldText("10.0.0.1").left(6); // its length points past the end
    const struct {
        const char* caso;
        std::optional<QByteArray> antiguo; // nothing: no file at all
        Conversion resultado;
        QByteArray convertido;
    } casos[] = {
        {"old layout", oldLayout("10.0.0.1", "secreto", "root", "2", "K1Si302"), Conversion::Convertida,
         "10.0.0.1       secreto        root           2K1Si3020"},
        {"a long address cut to fifteen", oldLayout("123.123.123.123X", "", "", "", "  No  1"), Conversion::Convertida,
         QByteArray("123.123.123.123") + QByteArray(31, ' ') + "  No  10"},
        {"no file", std::nullopt, Conversion::Convertida, QByteArray(53, ' ') + "0"},
        {"cut short", cortada, Conversion::Convertida, "10.0" + QByteArray(49, ' ') + "0"},
        {"already converted", record, Conversion::RegistroAnterior, record},
        {"54 bytes of the old layout", exacta, Conversion::Convertida,
         "192.168.100.200contrasena123  usuario12      1K1Si3020"},
        {"54 bytes with bytes left over", sobrante, Conversion::RegistroAnterior, sobrante},
    };
    ASSERT_EQ(exacta.size(), 54);
    for (const auto& c : casos) {
        QFile::remove(host("C:\\Quelvan\\Dorvane\\configold"));
        QFile::remove(host("C:\\Quelvan\\Dorvane\\config"));
        if (c.antiguo)
            writeFile("C:\\Quelvan\\Dorvane\\config", *c.antiguo);
        EXPECT_EQ(ConvertirConfiguracion(), c.resultado) << c.caso;
        EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\config"), c.convertido) << c.caso;
        EXPECT_TRUE(exists("C:\\Quelvan\\Dorvane\\configold")) << c.caso;
        EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\configold"), c.antiguo.value_or(QByteArray())) << c.caso;
    }

    // Done once: "configold" marks it.
    writeFile("C:\\Quelvan\\Dorvane\\config", "cambiado");
    EXPECT_EQ(ConvertirConfiguracion(), Conversion::YaHecha);
    EXPECT_EQ(readFile("C:\\Quelvan\\Dorvane\\config"), QByteArray("cambiado"));
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
