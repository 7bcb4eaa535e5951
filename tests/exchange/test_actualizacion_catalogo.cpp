#include "TervaloTest.h"

#include "exchange/ActualizacionCatalogo.h"
#include "platform/Files.h"

#include <QDir>
#include <QStringEncoder>

namespace {

constexpr auto kModelos = "C:\\Quelvan\\Dorvane\\MarcasTras.txt";
constexpr auto kContratos = "C:\\Quelvan\\Dorvane\\ContratosTras.txt";

// A model line (inicio "* "), a replacement line ("C*") or a change line ("C ").
QString modelo(const char* inicio, const char* nombre, const char* tipo, const QString& contrato = {})
{
    return u("%1%2 %3 100 %4").arg(QLatin1String(inicio)).arg(QLatin1String(nombre), -4)
        .arg(QLatin1String(tipo), 4).arg(contrato);
}

QString contrato(int numero, const char* tipo, const char* nombre)
{
    return u("C %1 %2 %3 P07   420 %4").arg(numero, 5).arg(QLatin1String(tipo), 5)
        .arg(u("TIPO ") + QLatin1String(tipo), -100).arg(QString::fromUtf8(nombre));
}

QString fin(int n) { return u("Traspaso marcas finalizado.\r\nSe han traspasado %1 modelos.").arg(n); }

} // namespace

class CatalogoTest : public testing_support::BaseDatosTest {
protected:
    CatalogoTest()
    {
        for (const char* codigo : {"0101", "0102", "0300"})
            insertar("Marcas",
                     {{"CódigoMarca", u(codigo)}, {"DescripciónDato", u("DATO ") + codigo}, {"Longitud", 10}});
        insertar("TipoContrato", {{"TipoContrato", "A"}});
    }

    void escribir(const char* fichero, const QStringList& lineas)
    {
        writeFile(fichero, platform::toCp1252(lineas.join(u("\r\n")) + u("\r\n")));
    }
    void importar(const QStringList& lineas)
    {
        escribir(kModelos, lineas);
        actualizacion::ImportarModelos(db, host(kModelos));
    }
    void actualizar() { actualizacion::ActualizarContratos(db, host(kContratos)); }
    QStringList catalogo() const
    {
        return filas("TipoContrato") + filas("Contrato") + filas("Modelo") + filas("MarcasCont")
            + filas("sqlite_sequence");
    }
};

TEST_F(CatalogoTest, ModelFileAddsTypesContractsModelsAndMarksThenGoes)
{
    insertar("Modelo", {{u("NombreModelo"), u("P02")}});
    const QString largo(130, QLatin1Char('x'));
    QStringList sucesos;
    escribir(kModelos, {u("M 0101 3"), // before any model: passed over
                        modelo("* ", "P01", "1", u("Indefinido")), u("M 0101 2"),
                        u("M 0102"), u("M 0300 x"), u("m 0300"), QString(),
                        modelo("* ", "P02", " 2 ", largo), u("M 0101 4"), u("M 0101 5"),
                        modelo("C ", "P03", ""), u("."), modelo("* ", "P09", "1", u("no"))});
    actualizacion::ImportarModelos(db, host(kModelos),
                                   {[&] { sucesos << u("aviso"); },
                                    [&] { sucesos << u("quitado tras %1").arg(msg().shown().size()); }});

    EXPECT_EQ(filas("TipoContrato"), (QStringList{u("1|A"), u("2|") + largo.left(100)}));
    EXPECT_EQ(filas("Contrato"),
              (QStringList{u("1|Indefinido|A|1|100|P01"),
                           u("2|%1|%2|2|100|P02").arg(largo.left(120), largo.left(100))}));
    EXPECT_EQ(filas("Modelo"), (QStringList{u("1|P02|-"), u("2|P01|P01.rtf"),
                                           u("3|P03|P03.rtf")}));
    EXPECT_EQ(filas("MarcasCont"),
              (QStringList{u("1|2|0101|DATO 0101|10|2"), u("2|2|0102|DATO 0102|10|"),
                           u("3|2|0300|DATO 0300|10|"), u("4|1|0101|DATO 0101|10|4")}));
    EXPECT_EQ(sucesos, (QStringList{u("aviso"), u("quitado tras 0")}));
    EXPECT_EQ(msg().texts(), QStringList{fin(3)});
    EXPECT_EQ(msg().shown()[0].style, 64);
    EXPECT_FALSE(exists(kModelos));

    const QStringList marcas = filas("MarcasCont");
    importar({modelo("C ", "P01", ""), u("M 0101 7"), u("M 0102 2"), u(".")});
    EXPECT_EQ(filas("MarcasCont"), marcas) << "marks the model has already";

    // Nothing before the end line: nothing written, the file goes all the same.
    const QStringList antes = catalogo();
    importar({u("."), modelo("* ", "P09", "1", u("no"))});
    EXPECT_EQ(msg().texts().last(), fin(0));
    EXPECT_EQ(catalogo(), antes);
    EXPECT_FALSE(exists(kModelos));
}

TEST_F(CatalogoTest, TypeOutOfStepLeavesItsBlockOutAndTheNextIsNumberedRight)
{
    importar({modelo("* ", "P05", "5", u("Salto")), u("M 0101"), modelo("C ", "P06", ""),
              modelo("* ", "P02", "2", u("Siguiente")), u("M 0300"), u(".")});
    EXPECT_EQ(msg().texts(),
              (QStringList{u("Ha manipulado la base de datos y no se pueden cargar las actualizaciones"),
                           fin(1)}));
    EXPECT_EQ(filas("TipoContrato"), (QStringList{u("1|A"), u("2|Siguiente")}));
    EXPECT_EQ(filas("Contrato"), QStringList{u("1|Siguiente|Siguiente|2|100|P02")});
    EXPECT_EQ(filas("Modelo"), QStringList{u("1|P02|P02.rtf")});
    EXPECT_EQ(filas("MarcasCont"), QStringList{u("1|1|0300|DATO 0300|10|")});
}

TEST_F(CatalogoTest, ReplacementRetiresP99OnceNoContractUsesIt)
{
    for (const char* nombre : {"viejo 1", "viejo 2"})
        insertar("Contrato", {{u("Contrato"), QString::fromLatin1(nombre)},
                              {u("Modelo"), u("P99")}});
    insertar("Modelo", {{u("NombreModelo"), u("P99")}});
    insertar("MarcasCont", {{u("IdModelo"), u("1")},
                            {u("CódigoMarca"), u("0101")}});
    const QString nombre(125, QLatin1Char('n'));

    // Its type missing: nothing goes, and the lines up to the next model are passed over.
    importar({modelo("C*", "P1A", "7", nombre), u("M 0101"),
              modelo("* ", "P04", "1", u("Nuevo")), u("M 0102"), u(".")});
    EXPECT_EQ(filas("Contrato").size(), 3u);
    EXPECT_EQ(filas("Modelo"), (QStringList{u("1|P99|-"), u("2|P04|P04.rtf")}));
    EXPECT_EQ(filas("MarcasCont").size(), 2u);
    EXPECT_EQ(msg().texts().last(), fin(2));

    // Two contracts on P99: the first goes, the model stays for the second.
    const QString reemplazo = modelo("C*", "P1A", "1", nombre);
    importar({reemplazo, u(".")});
    EXPECT_EQ(filas("Contrato"), (QStringList{u("2|viejo 2|-|-|-|P99"),
                                             u("3|Nuevo|A|1|100|P04"),
                                                    u("4|%1|A|1|100|P1A").arg(nombre.left(120))}));
    EXPECT_EQ(filas("Modelo").size(), 3u);
    EXPECT_EQ(msg().texts().last(), fin(2));

    // The last one: model P99 and its marks go with it.
    importar({reemplazo, u(".")});
    EXPECT_EQ(filas("Modelo"), (QStringList{u("2|P04|P04.rtf"), u("3|P1A|P1A.rtf")}));
    EXPECT_EQ(filas("MarcasCont"), QStringList{u("2|2|0102|DATO 0102|10|")});

    // None left: only the model named is ensured.
    importar({reemplazo, u(".")});
    EXPECT_EQ(filas("Contrato").size(), 3u);
    EXPECT_EQ(msg().texts().last(), fin(1));
}

TEST_F(CatalogoTest, AnInterruptedModelFileChangesNothingAndStays)
{
    db.exec(u(R"(CREATE TRIGGER falla BEFORE INSERT ON MarcasCont WHEN NEW."Veces" = '9'
                              BEGIN SELECT RAISE(ABORT, 'fallo'); END)"));
    const auto texto = [](const QStringList& lineas) { return platform::toCp1252(lineas.join(u("\r\n"))); };
    const QString bueno = modelo("* ", "P01", "1", u("Bueno"));
    const QString nuevoTipo = modelo("* ", "P02", "2", u("Tipo nuevo"));
    const std::pair<QByteArray, QString> casos[] = {
        {texto({nuevoTipo, bueno, u("M 0101")}), u("línea 4, el archivo termina sin la línea final \".\"")},
        {texto({bueno, u("M 9999"), u(".")}), u("línea 2, la marca 9999 no está en el catálogo de marcas")},
        {texto({bueno, u("* P01    1 100"), u(".")}),
         u("línea 2, es demasiado corta para llevar el nombre del contrato")},
        {texto({bueno, modelo("C*", "P1C", "1a", u("x")), u(".")}),
         u("línea 2, el tipo de contrato \"  1a\" no es un número")},
        {texto({nuevoTipo, u("M 0101"), u("M 0102 9"), u(".")}),
         u("línea 3, la base de datos no la ha aceptado (fallo")}, // and the database's words
    };
    const QStringList antes = catalogo();
    for (const auto& [contenido, motivo] : casos) {
        writeFile(kModelos, contenido);
        actualizacion::ImportarModelos(db, host(kModelos));
        EXPECT_EQ(catalogo(), antes) << motivo.toStdString();
        EXPECT_EQ(readFile(kModelos), contenido);
        const QString mensaje = msg().shown().back().text;
        EXPECT_TRUE(mensaje.startsWith(u("No se han podido cargar los nuevos modelos: ") + motivo))
            << mensaje.toStdString();
        EXPECT_EQ(msg().shown().back().style, 16);
    }

    // A disk with no room: the database is at fault, not the file's first line.
    writeFile(kModelos, texto({bueno, u("M 0101"), u(".")}));
    {
        testing_support::FileSizeLimit lleno(0);
        actualizacion::ImportarModelos(db, host(kModelos));
    }
    EXPECT_EQ(catalogo(), antes);
    EXPECT_TRUE(exists(kModelos));
    EXPECT_EQ(msg().shown().back().text,
              u("No se han podido cargar los nuevos modelos: no se ha podido grabar la base de datos. El disco está "
                "lleno. No se ha cargado ningún modelo y el archivo se conserva."));

    // Written by another program: refused before any change, and kept.
    const std::pair<QByteArray, QString> ajenos[] = {
        {(bueno + u(" Año\r\nM 0101\r\n.\r\n")).toUtf8(), u("está escrito en UTF-8, no en Windows-1252")},
        {"* P01    1 100 Bueno\r\nM 0101\r\n\x8f\r\n.\r\n",
         u("tiene en la línea 3 un carácter que no existe en Windows-1252")},
    };
    for (const auto& [contenido, motivo] : ajenos) {
        writeFile(kModelos, contenido);
        bool avisado = false;
        actualizacion::ImportarModelos(db, host(kModelos), {[&] { avisado = true; }, {}});
        EXPECT_FALSE(avisado);
        EXPECT_EQ(catalogo(), antes);
        EXPECT_EQ(readFile(kModelos), contenido);
        EXPECT_EQ(msg().shown().back().text, u("El archivo MarcasTras.txt %1. No se ha cargado ningún modelo y el "
                                               "archivo se conserva.").arg(motivo));
    }
}

// A model file that cannot be read is named as the program knows it.
TEST_F(CatalogoTest, AModelFileThatCannotBeReadIsNamedByItsWindowsPath)
{
    QDir().mkpath(host(kModelos));
    actualizacion::ImportarModelos(db, host(kModelos));
    EXPECT_EQ(msg().texts(), QStringList{u("No se puede leer el archivo C:\\Quelvan\\Dorvane\\MarcasTras.txt.")});
    EXPECT_EQ(msg().shown().back().style, 16);
}

TEST_F(CatalogoTest, ContractFileEditsAndAddsRowsUnderTheFilesNumbers)
{
    insertar("Contrato", {{u("Contrato"), u("antiguo")}});
    escribir(kContratos, {u("T     1  RENOVADO  "), u("T    19 PRÁCTICAS"),
                          u("* P01"),
                          u("t    13 no"), contrato(1, "19", "Prácticas  "), contrato(49, " 1", "Nuevo"),
                          u("."), u("T    14 no")});
    actualizar();
    EXPECT_TRUE(msg().shown().empty());
    EXPECT_EQ(filas("TipoContrato"), (QStringList{u("1|RENOVADO"), u("19|PRÁCTICAS")}));
    EXPECT_EQ(filas("Contrato"), (QStringList{u("1|Prácticas|TIPO 19|19|420|P07"),
                                             u("49|Nuevo|TIPO  1|1|420|P07")}));
    const QStringList primera = catalogo();
    actualizar();
    EXPECT_EQ(catalogo(), primera);
    EXPECT_TRUE(exists(kContratos));

    // Nothing before the end line: the notice comes and goes, nothing is said.
    escribir(kContratos, {u("."), u("T    14 no")});
    QStringList sucesos;
    actualizacion::ActualizarContratos(db, host(kContratos),
                                       {[&] { sucesos << u("aviso"); }, [&] { sucesos << u("quitado"); }});
    EXPECT_EQ(sucesos, (QStringList{u("aviso"), u("quitado")}));
    EXPECT_TRUE(msg().shown().empty());
    EXPECT_EQ(catalogo(), primera);
}

TEST_F(CatalogoTest, ContractFileFailuresKeepWhatWasApplied)
{
    actualizar();
    EXPECT_EQ(msg().texts().last(), u("Error 53 No se ha encontrado el archivo ContratosTras.txt Tervalo"));
    EXPECT_EQ(msg().shown().back().style, 0);

    escribir(kContratos, {u("T     3 TRES"), contrato(2, "3", "Dos")});
    actualizar();
    EXPECT_EQ(msg().texts().last(), u("Error 62 Se ha leído más allá del final del archivo Tervalo"));
    EXPECT_EQ(filas("TipoContrato").size(), 2u);
    EXPECT_EQ(filas("Contrato").size(), 1u);

    escribir(kContratos,
             {u("T     4 CUATRO"), u("C     7     1 corta"), u(".")});
    actualizar();
    EXPECT_EQ(msg().texts().last(),
              u("Error 1001 La línea 2 del archivo no tiene el formato esperado Tervalo"));
    EXPECT_EQ(filas("TipoContrato").size(), 3u);

    escribir(kContratos, {u("T     5 CINCO"), u(".")});
    {
        testing_support::FileSizeLimit lleno(0);
        actualizar();
    }
    EXPECT_EQ(msg().texts().last(),
              u("Error 1002 No se ha podido grabar la base de datos. El disco está lleno. Tervalo"));
    EXPECT_EQ(filas("TipoContrato").size(), 3u);
}

// Written by another program: each two-byte character would move the fixed
// places of the line after it. Refused before any change, and kept.
TEST_F(CatalogoTest, AContractFileThatIsNoWindows1252TextChangesNothing)
{
    const std::pair<QByteArray, QString> casos[] = {
        {(u("T     1 AÑO\r\n") + contrato(1, "1", "Año") + u("\r\n.\r\n")).toUtf8(),
         u("está escrito en UTF-8, no en Windows-1252")},
        {"T     1 UNO\r\nT     2 DOS\x81\r\n.\r\n",
         u("tiene en la línea 2 un carácter que no existe en Windows-1252")},
        {QStringEncoder(QStringConverter::Utf16LE)(u("T     1 AÑO\r\n.\r\n")),
         u("está escrito en UTF-16, no en Windows-1252")},
    };
    const QStringList antes = catalogo();
    for (const auto& [contenido, motivo] : casos) {
        writeFile(kContratos, contenido);
        actualizar();
        EXPECT_EQ(catalogo(), antes);
        EXPECT_EQ(readFile(kContratos), contenido);
        EXPECT_EQ(msg().texts().last(),
                  u("Error 1003 El archivo ContratosTras.txt %1. No se ha cambiado nada Tervalo").arg(motivo));
    }
}

// Each field of each kind of line full, with a character read by nothing
// on either side of it: a field read a place off takes that character.
TEST_F(CatalogoTest, EveryFieldOfEachLineIsReadAtItsOwnPlace)
{
    escribir(kContratos,
             {u("T~00001~RENOVADO"),
              u("C~00007~12345~") + QString(100, QLatin1Char('T')) + u("~MODEL~987~Nombre del contrato"), u(".")});
    actualizar();
    EXPECT_TRUE(msg().shown().empty());
    EXPECT_EQ(filas("TipoContrato"), QStringList{u("1|RENOVADO")});
    EXPECT_EQ(filas("Contrato"),
              QStringList{u("7|Nombre del contrato|%1|12345|987|MODEL").arg(QString(100, QLatin1Char('T')))});

    importar({u("*~MODL~0001~987~Contrato del modelo"), u("M~0102~3"), u(".")});
    EXPECT_EQ(filas("Contrato").value(1), u("8|Contrato del modelo|RENOVADO|1|987|MODL"));
    EXPECT_EQ(filas("Modelo"), QStringList{u("1|MODL|MODL.rtf")});
    EXPECT_EQ(filas("MarcasCont"), QStringList{u("1|1|0102|DATO 0102|10|3")});
}
