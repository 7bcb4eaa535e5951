#include "TervaloTest.h"

#include "common/Module1.h"
#include "data/Esquema.h"
#include "exchange/ActualizacionCatalogo.h"
#include "platform/Database.h"
#include "platform/Files.h"

using platform::Database;

namespace {

constexpr auto kModelos = "C:\\Quelvan\\Dorvane\\MarcasTras.txt";
constexpr auto kContratos = "C:\\Quelvan\\Dorvane\\ContratosTras.txt";

// A model line ("* "), a replacement line ("C*") or another change line ("C ").
QString modelo(const char* inicio, const char* nombre, const char* tipo, const char* codigo, const QString& contrato)
{
    return QStringLiteral("%1%2 %3 %4 %5")
        .arg(QLatin1String(inicio))
        .arg(QLatin1String(nombre), -4)
        .arg(QLatin1String(tipo), 4)
        .arg(QLatin1String(codigo), -3)
        .arg(contrato);
}

QString contrato(int numero, const char* tipo, const char* nombreTipo, const char* modeloNombre, const char* codigo,
                 const char* nombre)
{
    return QStringLiteral("C %1 %2 %3 %4 %5 %6")
        .arg(numero, 5)
        .arg(QLatin1String(tipo), 5)
        .arg(QString::fromUtf8(nombreTipo), -100)
        .arg(QLatin1String(modeloNombre), -5)
        .arg(QLatin1String(codigo), -3)
        .arg(QString::fromUtf8(nombre));
}

} // namespace

class CatalogoTest : public testing_support::TervaloTest {
protected:
    CatalogoTest()
    {
        esquema::crearBasesDeDatosQueFalten();
        RutaBaseDatos();
        db.emplace(AbrirBaseDatos());
        for (const char* codigo : {"0101", "0102", "0300"})
            db->insert(QStringLiteral("Marcas"), {{QStringLiteral("CódigoMarca"), QString::fromLatin1(codigo)},
                                                  {QStringLiteral("DescripciónDato"), QStringLiteral("DATO ") + codigo},
                                                  {QStringLiteral("Longitud"), 10}});
    }

    void tipo(const QString& nombre) { db->insert(QStringLiteral("TipoContrato"), {{QStringLiteral("TipoContrato"), nombre}}); }

    // A file of the given lines, ended by CR LF, in Windows-1252.
    void escribir(const char* fichero, const QStringList& lineas)
    {
        writeFile(fichero, platform::toCp1252(lineas.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
    }

    void importar(const QStringList& lineas)
    {
        escribir(kModelos, lineas);
        actualizacion::ImportarModelos(*db, host(kModelos));
    }
    void actualizar() { actualizacion::ActualizarContratos(*db, host(kContratos)); }

    // Every row of a table, fields joined by "|", Null as "-".
    QStringList filas(const char* tabla) const
    {
        QStringList out;
        for (const auto& fila : db->select(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(QLatin1String(tabla)))) {
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

    std::optional<Database> db;
};

TEST_F(CatalogoTest, ModelFileAddsTypesContractsModelsAndMarksThenGoes)
{
    tipo(QStringLiteral("INDEFINIDO"));
    db->insert(QStringLiteral("Modelo"), {{QStringLiteral("NombreModelo"), QStringLiteral("P02")},
                                          {QStringLiteral("Ubicación"), QStringLiteral("P02.rtf")}});
    const QString largo = QString(130, QLatin1Char('x'));
    std::vector<QString> avisos;
    escribir(kModelos, {QStringLiteral("M 0101 3"), // before any model: passed over
                        modelo("* ", "P01", "1", "100", QStringLiteral("Indefinido ordinario")),
                        QStringLiteral("M 0101 2"), QStringLiteral("M 0102"), QStringLiteral("M 0300 x"),
                        QStringLiteral("m 0300"), QString(), QStringLiteral(" * P09"),
                        modelo("* ", "P02", "  2 ", "402", largo),
                        QStringLiteral("M 0101 4"), QStringLiteral("M 0101 5"), // the second adds no row
                        modelo("C ", "P03", "", "", {}),
                        QStringLiteral("."), modelo("* ", "P09", "1", "100", QStringLiteral("después del final"))});
    actualizacion::ImportarModelos(*db, host(kModelos),
                                   {[&] { avisos.push_back(QStringLiteral("mostrar")); },
                                    [&] { avisos.push_back(QStringLiteral("quitar %1").arg(msg().shown().size())); }});

    EXPECT_EQ(filas("TipoContrato"), (QStringList{QStringLiteral("1|INDEFINIDO"), QStringLiteral("2|") + largo.left(100)}));
    EXPECT_EQ(filas("Contrato"), (QStringList{QStringLiteral("1|Indefinido ordinario|INDEFINIDO|1|100|P01"),
                                             QStringLiteral("2|") + largo.left(120) + QStringLiteral("|") + largo.left(100)
                                                 + QStringLiteral("|2|402|P02")}));
    EXPECT_EQ(filas("Modelo"), (QStringList{QStringLiteral("1|P02|P02.rtf"), QStringLiteral("2|P01|P01.rtf"),
                                           QStringLiteral("3|P03|P03.rtf")}));
    EXPECT_EQ(filas("MarcasCont"), (QStringList{QStringLiteral("1|2|0101|DATO 0101|10|2"),
                                               QStringLiteral("2|2|0102|DATO 0102|10|"),
                                               QStringLiteral("3|2|0300|DATO 0300|10|"),
                                               QStringLiteral("4|1|0101|DATO 0101|10|4")}));
    EXPECT_EQ(avisos, (std::vector<QString>{QStringLiteral("mostrar"), QStringLiteral("quitar 0")}));
    ASSERT_EQ(msg().shown().size(), 1u);
    EXPECT_EQ(msg().shown()[0].text, QStringLiteral("Traspaso marcas finalizado.\r\nSe han traspasado 3 modelos."));
    EXPECT_EQ(msg().shown()[0].style, 64);
    EXPECT_FALSE(exists(kModelos));

    // The same models and marks again: the marks are there already.
    const QStringList marcas = filas("MarcasCont");
    importar({modelo("C ", "P01", "", "", {}), QStringLiteral("M 0101 7"), QStringLiteral("M 0102 2"), QStringLiteral(".")});
    EXPECT_EQ(filas("MarcasCont"), marcas);
}

TEST_F(CatalogoTest, TypeOutOfStepLeavesItsBlockOutAndTheNextIsNumberedRight)
{
    tipo(QStringLiteral("A"));
    importar({modelo("* ", "P05", "5", "100", QStringLiteral("Salto")), QStringLiteral("M 0101"),
              modelo("C ", "P06", "", "", {}), QStringLiteral("M 0102"),
              modelo("* ", "P02", "2", "200", QStringLiteral("Siguiente")), QStringLiteral("M 0300"), QStringLiteral(".")});

    EXPECT_EQ(msg().texts(),
              (QStringList{QStringLiteral("Ha manipulado la base de datos y no se pueden cargar las actualizaciones"),
                           QStringLiteral("Traspaso marcas finalizado.\r\nSe han traspasado 1 modelos.")}));
    EXPECT_EQ(filas("TipoContrato"), (QStringList{QStringLiteral("1|A"), QStringLiteral("2|Siguiente")}));
    EXPECT_EQ(filas("Contrato"), QStringList{QStringLiteral("1|Siguiente|Siguiente|2|200|P02")});
    EXPECT_EQ(filas("Modelo"), QStringList{QStringLiteral("1|P02|P02.rtf")});
    EXPECT_EQ(filas("MarcasCont"), QStringList{QStringLiteral("1|1|0300|DATO 0300|10|")});
}

TEST_F(CatalogoTest, ReplacementRetiresP99OnceNoContractUsesIt)
{
    tipo(QStringLiteral("TEMPORAL"));
    const auto p99 = [&](const char* nombre) {
        db->insert(QStringLiteral("Contrato"), {{QStringLiteral("Contrato"), QString::fromLatin1(nombre)},
                                                {QStringLiteral("Modelo"), QStringLiteral("P99")}});
    };
    p99("viejo 1");
    p99("viejo 2");
    db->insert(QStringLiteral("Modelo"), {{QStringLiteral("NombreModelo"), QStringLiteral("P99")}});
    db->insert(QStringLiteral("MarcasCont"), {{QStringLiteral("IdModelo"), QStringLiteral("1")},
                                              {QStringLiteral("CódigoMarca"), QStringLiteral("0101")}});
    const QString nombre = QString(125, QLatin1Char('n'));
    const QString reemplazo = modelo("C*", "P1A", "1", "501", nombre);

    // Two contracts on P99: the first goes, the model stays for the second.
    importar({reemplazo, QStringLiteral(".")});
    EXPECT_EQ(filas("Contrato"), (QStringList{QStringLiteral("2|viejo 2|-|-|-|P99"),
                                             QStringLiteral("3|") + nombre.left(120) + QStringLiteral("|TEMPORAL|1|501|P1A")}));
    EXPECT_EQ(filas("Modelo"), (QStringList{QStringLiteral("1|P99|-"), QStringLiteral("2|P1A|P1A.rtf")}));
    EXPECT_EQ(filas("MarcasCont").size(), 1u);
    EXPECT_EQ(msg().texts().last(), QStringLiteral("Traspaso marcas finalizado.\r\nSe han traspasado 2 modelos."));

    // The last contract on P99: model and marks go with it.
    importar({reemplazo, QStringLiteral(".")});
    EXPECT_EQ(filas("Contrato").size(), 2u);
    EXPECT_EQ(filas("Modelo"), QStringList{QStringLiteral("2|P1A|P1A.rtf")});
    EXPECT_TRUE(filas("MarcasCont").isEmpty());

    // No contract on P99: only the model named is ensured.
    importar({reemplazo, QStringLiteral(".")});
    EXPECT_EQ(filas("Contrato").size(), 2u);
    EXPECT_EQ(msg().texts().last(), QStringLiteral("Traspaso marcas finalizado.\r\nSe han traspasado 1 modelos."));
}

TEST_F(CatalogoTest, ReplacementOfAMissingTypeDeletesNothingAndPassesOver)
{
    tipo(QStringLiteral("TEMPORAL"));
    db->insert(QStringLiteral("Contrato"), {{QStringLiteral("Contrato"), QStringLiteral("viejo")},
                                            {QStringLiteral("Modelo"), QStringLiteral("P99")}});
    db->insert(QStringLiteral("Modelo"), {{QStringLiteral("NombreModelo"), QStringLiteral("P99")}});
    importar({modelo("C*", "P1B", "7", "501", QStringLiteral("sin tipo")), QStringLiteral("M 0101"),
              modelo("* ", "P04", "1", "100", QStringLiteral("Nuevo")), QStringLiteral("M 0102"), QStringLiteral(".")});

    EXPECT_EQ(filas("Contrato"), (QStringList{QStringLiteral("1|viejo|-|-|-|P99"),
                                             QStringLiteral("2|Nuevo|TEMPORAL|1|100|P04")}));
    EXPECT_EQ(filas("Modelo"), (QStringList{QStringLiteral("1|P99|-"), QStringLiteral("2|P04|P04.rtf")}));
    EXPECT_EQ(filas("MarcasCont"), QStringList{QStringLiteral("1|2|0102|DATO 0102|10|")});
    EXPECT_EQ(msg().texts().last(), QStringLiteral("Traspaso marcas finalizado.\r\nSe han traspasado 2 modelos."));
}

TEST_F(CatalogoTest, AnInterruptedModelFileChangesNothingAndStays)
{
    tipo(QStringLiteral("A"));
    db->exec(QStringLiteral(R"(CREATE TRIGGER falla BEFORE INSERT ON MarcasCont WHEN NEW."Veces" = '9'
                               BEGIN SELECT RAISE(ABORT, 'fallo'); END)"));
    const QString bueno = modelo("* ", "P01", "1", "100", QStringLiteral("Bueno"));
    const QString nuevoTipo = modelo("* ", "P02", "2", "100", QStringLiteral("Tipo nuevo"));
    const struct {
        QStringList lineas;
        int linea;
    } casos[] = {
        {{bueno, nuevoTipo, QStringLiteral("M 0101")}, 4},                        // no "."
        {{bueno, QStringLiteral("M 0101"), QStringLiteral("M 9999"), QStringLiteral(".")}, 3}, // unknown mark
        {{bueno, QStringLiteral("* P01    1 100"), QStringLiteral(".")}, 2},       // no contract name
        {{bueno, modelo("* ", "P01", "1a", "100", QStringLiteral("x")), QStringLiteral(".")}, 2},
        {{bueno, modelo("C*", "P1C", "", "100", QStringLiteral("x")), QStringLiteral(".")}, 2},
        {{nuevoTipo, bueno, QStringLiteral("M 0101"), QStringLiteral("M 0102 9"), QStringLiteral(".")}, 4},
        {{modelo("* ", "P09", "9", "100", QStringLiteral("x")), QStringLiteral("M 0101")}, 3}, // passed over to the end
    };
    const QStringList antes = catalogo();
    for (const auto& caso : casos) {
        const QByteArray contenido = platform::toCp1252(caso.lineas.join(QStringLiteral("\r\n")));
        writeFile(kModelos, contenido);
        actualizacion::ImportarModelos(*db, host(kModelos));
        EXPECT_EQ(catalogo(), antes) << caso.linea;
        EXPECT_EQ(readFile(kModelos), contenido);
        EXPECT_EQ(msg().shown().back().text,
                  QStringLiteral("No se han podido cargar los nuevos modelos: línea %1.").arg(caso.linea));
        EXPECT_EQ(msg().shown().back().style, 16);
    }

    // Once mended, the file applies whole, once.
    importar({nuevoTipo, bueno, QStringLiteral("M 0101"), QStringLiteral(".")});
    EXPECT_EQ(filas("Contrato").size(), 2u);
    EXPECT_EQ(filas("MarcasCont").size(), 1u);
    actualizacion::ImportarModelos(*db, host(kModelos));
    EXPECT_EQ(msg().texts().last(), QStringLiteral("No hay ningún archivo con nuevos modelos."));
    EXPECT_EQ(filas("Contrato").size(), 2u);
}

TEST_F(CatalogoTest, ContractFileEditsAndAddsRowsUnderTheFilesNumbers)
{
    tipo(QStringLiteral("VIEJO"));
    db->insert(QStringLiteral("Contrato"), {{QStringLiteral("Contrato"), QStringLiteral("antiguo")},
                                            {QStringLiteral("TipoContrato"), QStringLiteral("VIEJO")}});
    escribir(kContratos, {QStringLiteral("T     1  RENOVADO  "), QStringLiteral("T    12 PRÁCTICAS"),
                          QStringLiteral("* P01    1 100 modelo"), QStringLiteral("t    13 minúscula"),
                          contrato(1, "12", "PRÁCTICAS", "P07", "420", "Prácticas revisado  "),
                          contrato(40, " 1", "RENOVADO", "P99", "", "Nuevo"), QStringLiteral("."),
                          QStringLiteral("T    14 después")});
    actualizar();
    const QStringList primera = catalogo();
    EXPECT_TRUE(msg().shown().empty());
    EXPECT_EQ(filas("TipoContrato"), (QStringList{QStringLiteral("1|RENOVADO"), QStringLiteral("12|PRÁCTICAS")}));
    EXPECT_EQ(filas("Contrato"), (QStringList{QStringLiteral("1|Prácticas revisado|PRÁCTICAS|12|420|P07"),
                                             QStringLiteral("40|Nuevo|RENOVADO|1||P99")}));
    EXPECT_TRUE(exists(kContratos));

    actualizar();
    EXPECT_EQ(catalogo(), primera);
}

TEST_F(CatalogoTest, ContractFileFailuresKeepWhatWasApplied)
{
    const auto ultimo = [&] { return msg().shown().empty() ? QString() : msg().shown().back().text; };
    actualizar();
    EXPECT_EQ(ultimo(), QStringLiteral("Error 53 No se ha encontrado el archivo Tervalo"));
    EXPECT_EQ(msg().shown().back().style, 0);

    escribir(kContratos, {QStringLiteral("T     1 UNO"), contrato(2, "1", "UNO", "P01", "100", "Dos")});
    actualizar();
    EXPECT_EQ(ultimo(), QStringLiteral("Error 62 Se ha leído más allá del final del archivo Tervalo"));
    EXPECT_EQ(filas("TipoContrato").size(), 1u);
    EXPECT_EQ(filas("Contrato").size(), 1u);

    escribir(kContratos, {QStringLiteral("T     3 TRES"), QStringLiteral("T   x4 CUATRO"), QStringLiteral("T     5 CINCO"),
                          QStringLiteral(".")});
    actualizar();
    EXPECT_EQ(ultimo(), QStringLiteral("Error 1001 La línea 2 del archivo no tiene el formato esperado Tervalo"));
    EXPECT_EQ(filas("TipoContrato").size(), 2u);

    escribir(kContratos, {QStringLiteral("C     7     1 corta"), QStringLiteral(".")});
    actualizar();
    EXPECT_EQ(ultimo(), QStringLiteral("Error 1001 La línea 1 del archivo no tiene el formato esperado Tervalo"));
    EXPECT_EQ(filas("Contrato").size(), 1u);
}
