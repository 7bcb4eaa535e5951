#include "TervaloTest.h"

#include "common/Module1.h"
#include "data/Esquema.h"
#include "platform/Database.h"
#include "production/GrabacionContrato.h"


using namespace produccion;
using platform::Answer;
using platform::Row;

namespace {

DocumentoProducido contrato()
{
    DocumentoProducido d;
    d.numEmpresa = QStringLiteral("00123");
    d.nombreEmpresa = QStringLiteral("TALLERES SA");
    d.numTrabajador = QStringLiteral("00045");
    d.nombreTrabajador = QStringLiteral("ANA ROS");
    d.tipoContrato = QStringLiteral("TEMPORAL");
    d.contrato = QStringLiteral("401 - Obra");
    d.contratoElegido = QStringLiteral("401 - Obra");
    d.idContrato = 7;
    d.fechaContrato = QStringLiteral("15/03/2009");
    d.vencimientoContrato = QStringLiteral("31/12/2009");
    return d;
}

} // namespace

class GrabacionTest : public testing_support::TervaloTest {
protected:
    GrabacionTest() : db((esquema::crearBasesDeDatosQueFalten(), RutaBaseDatos(), AbrirBaseDatos())) {}

    qint64 empresa(const QString& numero, const QString& nombre)
    {
        return db.insert(QStringLiteral("Empresas"),
                         {{QStringLiteral("NúmeroEmpresa"), numero}, {QStringLiteral("NombreEmpresa"), nombre}});
    }
    qint64 trabajador(qint64 idEmpresa, int numero, const QString& nombre)
    {
        return db.insert(QStringLiteral("Trabajadores"), {{QStringLiteral("IdEmpresa"), QString::number(idEmpresa)},
                                                          {QStringLiteral("NúmeroTrabajador"), numero},
                                                          {QStringLiteral("NombreTrabajador"), nombre},
                                                          {QStringLiteral("NIF14"), QStringLiteral("11111111H")}});
    }
    Row fila(const char* tabla, const char* clave, qint64 id)
    {
        return *db.first(QStringLiteral("SELECT * FROM \"%1\" WHERE \"%2\" = ?")
                             .arg(QString::fromUtf8(tabla), QString::fromUtf8(clave)),
                         {id});
    }
    int cuenta(const char* tabla)
    {
        return db.first(QStringLiteral("SELECT COUNT(*) AS n FROM \"%1\"").arg(QString::fromUtf8(tabla)))
            ->value(QStringLiteral("n"))
            .toInt();
    }

    platform::Database db;
};

TEST_F(GrabacionTest, ElTrabajadorSeBuscaPorEmpresaYNumero)
{
    const qint64 otra = empresa(QStringLiteral("00999"), QStringLiteral("OTRA SL"));
    trabajador(otra, 45, QStringLiteral("ANA ROS"));
    EXPECT_EQ(BuscarTrabajador(db, QStringLiteral("00123"), QStringLiteral("00045")), std::nullopt);
    const qint64 id = trabajador(empresa(QStringLiteral("00123"), QStringLiteral("TALLERES SA")), 45, QStringLiteral("X"));
    EXPECT_EQ(BuscarTrabajador(db, QStringLiteral("00123"), QStringLiteral("00045")), id);
    EXPECT_EQ(BuscarTrabajador(db, QStringLiteral("00123"), QStringLiteral("4 5")), std::nullopt);
}

TEST_F(GrabacionTest, DocumentoGuardadoPorClase)
{
    const qint64 id = trabajador(empresa(QStringLiteral("00123"), QStringLiteral("TALLERES SA")), 45, QStringLiteral("ANA ROS"));
    AnotarDocumentoGuardado(db, contrato(), QStringLiteral("0012300045.doc"), id);
    Row grabado = fila("ContratosGrabados", "IdContrato", 1);
    EXPECT_EQ(grabado.text(QStringLiteral("Fecha")), QStringLiteral("2009-03-15"));
    EXPECT_EQ(grabado.text(QStringLiteral("TipoContrato")), QStringLiteral("401 - Obra"));
    EXPECT_EQ(grabado.text(QStringLiteral("Nombre")), QStringLiteral("0012300045.doc"));
    Row t = fila("Trabajadores", "IdTrabajador", id);
    EXPECT_EQ(t.text(QStringLiteral("Contrato")), QStringLiteral("401 - Obra"));
    EXPECT_EQ(t.text(QStringLiteral("FechaContrato")), QStringLiteral("2009-03-15"));
    EXPECT_EQ(t.value(QStringLiteral("IdContrato")).toInt(), 7);

    // An extension without a date: no date, no file name, the extension on
    // the worker; a start date that is not one is not written.
    DocumentoProducido prorroga = contrato();
    prorroga.clase = ClaseDocumento::Prorroga;
    prorroga.fechaContrato = QStringLiteral("__/__/____");
    prorroga.inicioProrroga = QStringLiteral("01/04/2010");
    prorroga.duracionProrroga = QStringLiteral("6 Meses  ");
    AnotarDocumentoGuardado(db, prorroga, QStringLiteral("0012300045P.doc"), id);
    grabado = fila("ContratosGrabados", "IdContrato", 2);
    EXPECT_TRUE(grabado.isNull(QStringLiteral("Fecha")));
    EXPECT_TRUE(grabado.isNull(QStringLiteral("Nombre")));
    EXPECT_TRUE(grabado.isNull(QStringLiteral("TipoContrato")));
    t = fila("Trabajadores", "IdTrabajador", id);
    EXPECT_EQ(t.text(QStringLiteral("FechaInicioProrroga")), QStringLiteral("2010-04-01"));
    EXPECT_EQ(t.text(QStringLiteral("Duracion")), QStringLiteral("6 Meses  "));
    EXPECT_EQ(t.text(QStringLiteral("FechaContrato")), QStringLiteral("2009-03-15"));

    prorroga.inicioProrroga = QStringLiteral("31/02/2011");
    AnotarDocumentoGuardado(db, prorroga, {}, id);
    EXPECT_EQ(fila("Trabajadores", "IdTrabajador", id).text(QStringLiteral("FechaInicioProrroga")),
              QStringLiteral("2010-04-01"));
}

TEST_F(GrabacionTest, EmpresaYTrabajadorConSusPreguntas)
{
    DatosEmpresaContrato e;
    e.Nombre = QStringLiteral("TALLERES SA");
    e.Numero = QStringLiteral("00123");
    e.Localidad = QStringLiteral("Lleida");
    DatosTrabajadorContrato t;
    t.Nombre = QStringLiteral("ANA ROS");
    t.Numero = QStringLiteral("00045");
    t.FechaNacimiento = QStringLiteral("30/02/1980"); // not a date: not written

    // Nothing stored: both questions; declining the company writes nothing.
    msg().answer(Answer::No);
    GuardarEmpresaYTrabajador(db, contrato(), e, t, {});
    EXPECT_EQ(msg().texts(), QStringList({"¿Desea guardar los datos de la empresa?"}));
    EXPECT_EQ(cuenta("Empresas") + cuenta("Trabajadores"), 0);

    msg().answer(Answer::Yes);
    msg().answer(Answer::Yes);
    GuardarEmpresaYTrabajador(db, contrato(), e, t, {});
    ASSERT_EQ(cuenta("Trabajadores"), 1);
    const Row nuevo = fila("Trabajadores", "IdTrabajador", 1);
    EXPECT_EQ(nuevo.text(QStringLiteral("IdEmpresa")), QStringLiteral("1"));
    EXPECT_EQ(nuevo.value(QStringLiteral("NúmeroTrabajador")).toInt(), 45);
    EXPECT_TRUE(nuevo.isNull(QStringLiteral("FechaNacimiento")));
    EXPECT_EQ(nuevo.text(QStringLiteral("FechaContrato")), QStringLiteral("2026-12-06"));
    EXPECT_EQ(nuevo.text(QStringLiteral("FechaVencimiento")), QStringLiteral("2009-12-31"));
    EXPECT_EQ(nuevo.text(QStringLiteral("TipoContrato")), QStringLiteral("TEMPORAL"));
    EXPECT_EQ(fila("Empresas", "IdEmpresa", 1).text(QStringLiteral("Localidad")), QStringLiteral("Lleida"));

    // Same names: no question; the record window's end date wins.
    const std::size_t antes = msg().shown().size();
    GuardarEmpresaYTrabajador(db, contrato(), e, t, QStringLiteral("30/06/2010"));
    EXPECT_EQ(msg().shown().size(), antes);
    EXPECT_EQ(fila("Trabajadores", "IdTrabajador", 1).text(QStringLiteral("FechaVencimiento")),
              QStringLiteral("2010-06-30"));

    // Other names: the two conflicts, each declined.
    e.Nombre = QStringLiteral("TALLERES NUEVOS SA");
    t.Nombre = QStringLiteral("PEP ROS");
    msg().answer(Answer::No);
    msg().answer(Answer::No);
    GuardarEmpresaYTrabajador(db, contrato(), e, t, {});
    const auto& vistos = msg().shown();
    EXPECT_EQ(vistos[vistos.size() - 2].text,
              QStringLiteral("El número de empresa, 00123 corresponde a la empresa : TALLERES SA. ¿Desea eliminar "
                             "dicha empresa y dar de alta una nueva empresa con estos datos?"));
    EXPECT_EQ(vistos.back().title, QStringLiteral("Conflicto"));
    EXPECT_EQ(vistos.back().style, 292);
    EXPECT_EQ(fila("Trabajadores", "IdTrabajador", 1).text(QStringLiteral("NombreTrabajador")),
              QStringLiteral("ANA ROS"));
}

TEST_F(GrabacionTest, ContratoEnElTrabajadorGrabado)
{
    const qint64 id = trabajador(empresa(QStringLiteral("00123"), QStringLiteral("TALLERES SA")), 45, QStringLiteral("ANA ROS"));
    db.update(QStringLiteral("Trabajadores"), QStringLiteral("IdTrabajador"), id,
              {{QStringLiteral("FechaVencimiento"), QStringLiteral("2008-01-01")}});
    DocumentoProducido d = contrato();
    d.vencimientoContrato = QStringLiteral("no es fecha");
    AnotarContratoEnTrabajador(db, id, d, QStringLiteral("__/__/____"));
    Row t = fila("Trabajadores", "IdTrabajador", id);
    EXPECT_EQ(t.text(QStringLiteral("FechaVencimiento")), QStringLiteral("2008-01-01"));
    EXPECT_EQ(t.text(QStringLiteral("TipoContrato")), QStringLiteral("TEMPORAL"));
    EXPECT_EQ(t.value(QStringLiteral("IdContrato")).toInt(), 7);
    EXPECT_EQ(t.text(QStringLiteral("FechaContrato")), QStringLiteral("2026-12-06"));

    AnotarContratoEnTrabajador(db, id, contrato(), {});
    EXPECT_EQ(fila("Trabajadores", "IdTrabajador", id).text(QStringLiteral("FechaVencimiento")),
              QStringLiteral("2009-12-31"));
}
