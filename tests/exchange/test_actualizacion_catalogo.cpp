#include "TervaloTest.h"

#include "common/Module1.h"
#include "data/Esquema.h"
#include "exchange/ActualizacionCatalogo.h"
#include "platform/Database.h"
#include "platform/Files.h"

namespace {

constexpr auto kModelos = "C:\\Quelvan\\Dorvane\\MarcasTras.txt";
constexpr auto kContratos = "C:\\Quelvan\\Dorvane\\ContratosTras.txt";

// A model line (inicio "* "), a replacement line ("C*") or a change line ("C ").
QString modelo(const char* inicio, const char* nombre, const char* tipo, const QString& contrato = {})
{
    return QStringLiteral("%1%2 %3 100 %4").arg(QLatin1String(inicio)).arg(QLatin1String(nombre), -4)
        .arg(QLatin1String(tipo), 4).arg(contrato);
}

QString contrato(int numero, const char* tipo, const char* nombre)
{
    return QStringLiteral("C %1 %2 %3 P07   420 %4").arg(numero, 5).arg(QLatin1String(tipo), 5)
        .arg(QStringLiteral("TIPO ") + QLatin1String(tipo), -100).arg(QString::fromUtf8(nombre));
}

QString fin(int n) { return QStringLiteral("Traspaso marcas finalizado.\r\nSe han traspasado %1 modelos.").arg(n); }

} // namespace

class CatalogoTest : public testing_support::TervaloTest {
protected:
    CatalogoTest() : db((esquema::crearBasesDeDatosQueFalten(), RutaBaseDatos(), AbrirBaseDatos()))
    {
        for (const char* codigo : {"0101", "0102", "0300"})
            insertar("Marcas", {{QStringLiteral("CódigoMarca"), QString::fromLatin1(codigo)},
                                {QStringLiteral("DescripciónDato"), QStringLiteral("DATO ") + codigo},
                                {QStringLiteral("Longitud"), 10}});
        insertar("TipoContrato", {{QStringLiteral("TipoContrato"), QStringLiteral("A")}});
    }

    void insertar(const char* tabla, const platform::Row& fila) { db.insert(QString::fromLatin1(tabla), fila); }
    void escribir(const char* fichero, const QStringList& lineas)
    {
        writeFile(fichero, platform::toCp1252(lineas.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
    }
    void importar(const QStringList& lineas)
    {
        escribir(kModelos, lineas);
        actualizacion::ImportarModelos(db, host(kModelos));
    }
    void actualizar() { actualizacion::ActualizarContratos(db, host(kContratos)); }

    // Every row of a table in key order, fields joined by "|", Null as "-".
    QStringList filas(const char* tabla) const
    {
        QStringList out;
        for (const auto& fila : db.select(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(QLatin1String(tabla)))) {
            QStringList campos;
            for (const auto& [nombre, valor] : fila.fields())
                campos << (valor.isNull() ? QStringLiteral("-") : valor.toString());
            out << campos.join(QLatin1Char('|'));
        }
        return out;
    }
    QStringList catalogo() const
    {
        return filas("TipoContrato") + filas("Contrato") + filas("Modelo") + filas("MarcasCont")
            + filas("sqlite_sequence");
    }

    platform::Database db;
};

TEST_F(CatalogoTest, ModelFileAddsTypesContractsModelsAndMarksThenGoes)
{
    insertar("Modelo", {{QStringLiteral("NombreModelo"), QStringLiteral("P02")}});
    const QString largo(130, QLatin1Char('x'));
    QStringList sucesos;
    escribir(kModelos, {QStringLiteral("M 0101 3"), // before any model: passed over
                        modelo("* ", "P01", "1", QStringLiteral("Indefinido")), QStringLiteral("M 0101 2"),
                        QStringLiteral("M 0102"), QStringLiteral("M 0300 x"), QStringLiteral("m 0300"), QString(),
                        modelo("* ", "P02", " 2 ", largo), QStringLiteral("M 0101 4"), QStringLiteral("M 0101 5"),
                        modelo("C ", "P03", ""), QStringLiteral("."), modelo("* ", "P09", "1", QStringLiteral("no"))});
    actualizacion::ImportarModelos(db, host(kModelos),
                                   {[&] { sucesos << QStringLiteral("aviso"); },
                                    [&] { sucesos << QStringLiteral("quitado tras %1").arg(msg().shown().size()); }});

    EXPECT_EQ(filas("TipoContrato"), (QStringList{QStringLiteral("1|A"), QStringLiteral("2|") + largo.left(100)}));
    EXPECT_EQ(filas("Contrato"),
              (QStringList{QStringLiteral("1|Indefinido|A|1|100|P01"),
                           QStringLiteral("2|%1|%2|2|100|P02").arg(largo.left(120), largo.left(100))}));
    EXPECT_EQ(filas("Modelo"), (QStringList{QStringLiteral("1|P02|-"), QStringLiteral("2|P01|P01.rtf"),
                                           QStringLiteral("3|P03|P03.rtf")}));
    EXPECT_EQ(filas("MarcasCont"),
              (QStringList{QStringLiteral("1|2|0101|DATO 0101|10|2"), QStringLiteral("2|2|0102|DATO 0102|10|"),
                           QStringLiteral("3|2|0300|DATO 0300|10|"), QStringLiteral("4|1|0101|DATO 0101|10|4")}));
    EXPECT_EQ(sucesos, (QStringList{QStringLiteral("aviso"), QStringLiteral("quitado tras 0")}));
    EXPECT_EQ(msg().texts(), QStringList{fin(3)});
    EXPECT_EQ(msg().shown()[0].style, 64);
    EXPECT_FALSE(exists(kModelos));

    const QStringList marcas = filas("MarcasCont");
    importar({modelo("C ", "P01", ""), QStringLiteral("M 0101 7"), QStringLiteral("M 0102 2"), QStringLiteral(".")});
    EXPECT_EQ(filas("MarcasCont"), marcas) << "marks the model has already";
}

TEST_F(CatalogoTest, TypeOutOfStepLeavesItsBlockOutAndTheNextIsNumberedRight)
{
    importar({modelo("* ", "P05", "5", QStringLiteral("Salto")), QStringLiteral("M 0101"), modelo("C ", "P06", ""),
              modelo("* ", "P02", "2", QStringLiteral("Siguiente")), QStringLiteral("M 0300"), QStringLiteral(".")});
    EXPECT_EQ(msg().texts(),
              (QStringList{QStringLiteral("Ha manipulado la base de datos y no se pueden cargar las actualizaciones"),
                           fin(1)}));
    EXPECT_EQ(filas("TipoContrato"), (QStringList{QStringLiteral("1|A"), QStringLiteral("2|Siguiente")}));
    EXPECT_EQ(filas("Contrato"), QStringList{QStringLiteral("1|Siguiente|Siguiente|2|100|P02")});
    EXPECT_EQ(filas("Modelo"), QStringList{QStringLiteral("1|P02|P02.rtf")});
    EXPECT_EQ(filas("MarcasCont"), QStringList{QStringLiteral("1|1|0300|DATO 0300|10|")});
}

TEST_F(CatalogoTest, ReplacementRetiresP99OnceNoContractUsesIt)
{
    for (const char* nombre : {"viejo 1", "viejo 2"})
        insertar("Contrato", {{QStringLiteral("Contrato"), QString::fromLatin1(nombre)},
                              {QStringLiteral("Modelo"), QStringLiteral("P99")}});
    insertar("Modelo", {{QStringLiteral("NombreModelo"), QStringLiteral("P99")}});
    insertar("MarcasCont", {{QStringLiteral("IdModelo"), QStringLiteral("1")},
                            {QStringLiteral("CódigoMarca"), QStringLiteral("0101")}});
    const QString nombre(125, QLatin1Char('n'));

    // Its type missing: nothing goes, and the lines up to the next model are passed over.
    importar({modelo("C*", "P1A", "7", nombre), QStringLiteral("M 0101"),
              modelo("* ", "P04", "1", QStringLiteral("Nuevo")), QStringLiteral("M 0102"), QStringLiteral(".")});
    EXPECT_EQ(filas("Contrato").size(), 3u);
    EXPECT_EQ(filas("Modelo"), (QStringList{QStringLiteral("1|P99|-"), QStringLiteral("2|P04|P04.rtf")}));
    EXPECT_EQ(filas("MarcasCont").size(), 2u);
    EXPECT_EQ(msg().texts().last(), fin(2));

    // Two contracts on P99: the first goes, the model stays for the second.
    const QString reemplazo = modelo("C*", "P1A", "1", nombre);
    importar({reemplazo, QStringLiteral(".")});
    EXPECT_EQ(filas("Contrato"), (QStringList{QStringLiteral("2|viejo 2|-|-|-|P99"),
                                             QStringLiteral("3|Nuevo|A|1|100|P04"),
                                                    QStringLiteral("4|%1|A|1|100|P1A").arg(nombre.left(120))}));
    EXPECT_EQ(filas("Modelo").size(), 3u);
    EXPECT_EQ(msg().texts().last(), fin(2));

    // The last one: model P99 and its marks go with it.
    importar({reemplazo, QStringLiteral(".")});
    EXPECT_EQ(filas("Modelo"), (QStringList{QStringLiteral("2|P04|P04.rtf"), QStringLiteral("3|P1A|P1A.rtf")}));
    EXPECT_EQ(filas("MarcasCont"), QStringList{QStringLiteral("2|2|0102|DATO 0102|10|")});

    // None left: only the model named is ensured.
    importar({reemplazo, QStringLiteral(".")});
    EXPECT_EQ(filas("Contrato").size(), 3u);
    EXPECT_EQ(msg().texts().last(), fin(1));
}

TEST_F(CatalogoTest, AnInterruptedModelFileChangesNothingAndStays)
{
    db.exec(QStringLiteral(R"(CREATE TRIGGER falla BEFORE INSERT ON MarcasCont WHEN NEW."Veces" = '9'
                              BEGIN SELECT RAISE(ABORT, 'fallo'); END)"));
    const QString bueno = modelo("* ", "P01", "1", QStringLiteral("Bueno"));
    const QString nuevoTipo = modelo("* ", "P02", "2", QStringLiteral("Tipo nuevo"));
    const std::pair<QStringList, int> casos[] = {
        {{nuevoTipo, bueno, QStringLiteral("M 0101")}, 4},                                     // no "."
        {{bueno, QStringLiteral("M 9999"), QStringLiteral(".")}, 2},                           // unknown mark
        {{bueno, QStringLiteral("* P01    1 100"), QStringLiteral(".")}, 2},                   // no contract name
        {{bueno, modelo("C*", "P1C", "1a", QStringLiteral("x")), QStringLiteral(".")}, 2},    // key not a number
        {{nuevoTipo, QStringLiteral("M 0101"), QStringLiteral("M 0102 9"), QStringLiteral(".")}, 3}, // database
    };
    const QStringList antes = catalogo();
    for (const auto& [lineas, linea] : casos) {
        const QByteArray contenido = platform::toCp1252(lineas.join(QStringLiteral("\r\n")));
        writeFile(kModelos, contenido);
        actualizacion::ImportarModelos(db, host(kModelos));
        EXPECT_EQ(catalogo(), antes) << linea;
        EXPECT_EQ(readFile(kModelos), contenido);
        EXPECT_EQ(msg().shown().back().text,
                  QStringLiteral("No se han podido cargar los nuevos modelos: línea %1.").arg(linea));
        EXPECT_EQ(msg().shown().back().style, 16);
    }
}

TEST_F(CatalogoTest, ContractFileEditsAndAddsRowsUnderTheFilesNumbers)
{
    insertar("Contrato", {{QStringLiteral("Contrato"), QStringLiteral("antiguo")}});
    escribir(kContratos, {QStringLiteral("T     1  RENOVADO  "), QStringLiteral("T    12 PRÁCTICAS"),
                          QStringLiteral("* P01"),
                          QStringLiteral("t    13 no"), contrato(1, "12", "Prácticas  "), contrato(40, " 1", "Nuevo"),
                          QStringLiteral("."), QStringLiteral("T    14 no")});
    actualizar();
    EXPECT_TRUE(msg().shown().empty());
    EXPECT_EQ(filas("TipoContrato"), (QStringList{QStringLiteral("1|RENOVADO"), QStringLiteral("12|PRÁCTICAS")}));
    EXPECT_EQ(filas("Contrato"), (QStringList{QStringLiteral("1|Prácticas|TIPO 12|12|420|P07"),
                                             QStringLiteral("40|Nuevo|TIPO  1|1|420|P07")}));
    const QStringList primera = catalogo();
    actualizar();
    EXPECT_EQ(catalogo(), primera);
    EXPECT_TRUE(exists(kContratos));
}

TEST_F(CatalogoTest, ContractFileFailuresKeepWhatWasApplied)
{
    actualizar();
    EXPECT_EQ(msg().texts().last(), QStringLiteral("Error 53 No se ha encontrado el archivo Tervalo"));
    EXPECT_EQ(msg().shown().back().style, 0);

    escribir(kContratos, {QStringLiteral("T     3 TRES"), contrato(2, "3", "Dos")});
    actualizar();
    EXPECT_EQ(msg().texts().last(), QStringLiteral("Error 62 Se ha leído más allá del final del archivo Tervalo"));
    EXPECT_EQ(filas("TipoContrato").size(), 2u);
    EXPECT_EQ(filas("Contrato").size(), 1u);

    escribir(kContratos,
             {QStringLiteral("T     4 CUATRO"), QStringLiteral("C     7     1 corta"), QStringLiteral(".")});
    actualizar();
    EXPECT_EQ(msg().texts().last(),
              QStringLiteral("Error 1001 La línea 2 del archivo no tiene el formato esperado Tervalo"));
    EXPECT_EQ(filas("TipoContrato").size(), 3u);
}
