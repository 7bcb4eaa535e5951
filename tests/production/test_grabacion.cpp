#include "TervaloTest.h"

#include "common/Module1.h"
#include "data/Esquema.h"
#include "platform/Database.h"
#include "production/GrabacionContrato.h"

using namespace produccion;
using platform::Answer;

class GrabacionTest : public testing_support::TervaloTest {
protected:
    GrabacionTest() : db((esquema::crearBasesDeDatosQueFalten(), RutaBaseDatos(), AbrirBaseDatos()))
    {
        d.tipoContrato = QStringLiteral("TEMPORAL");
        d.contrato = QStringLiteral("401 - Obra");
        d.idContrato = 7;
        d.vencimientoContrato = QStringLiteral("31/12/2009");
        empresa.Nombre = QStringLiteral("TALLERES SA");
        empresa.Numero = QStringLiteral("00123");
        trabajador.Nombre = QStringLiteral("ANA ROS");
        trabajador.Numero = QStringLiteral("00045");
    }

    QString campo(const char* tabla, const char* nombre)
    {
        const auto fila = db.first(QStringLiteral("SELECT * FROM \"%1\" ORDER BY 1").arg(QString::fromUtf8(tabla)));
        return fila ? fila->text(QString::fromUtf8(nombre)) : QStringLiteral("(ninguna)");
    }

    platform::Database db;
    DocumentoProducido d;
    DatosEmpresaContrato empresa;
    DatosTrabajadorContrato trabajador;
};

TEST_F(GrabacionTest, LaEmpresaYElTrabajadorSeGuardanConSusPreguntas)
{
    trabajador.FechaNacimiento = QStringLiteral("30/02/1980"); // not a date: not written

    // Declining the company writes nothing, the worker included.
    msg().answer(Answer::No);
    GuardarEmpresaYTrabajador(db, d, empresa, trabajador, {});
    EXPECT_EQ(msg().texts(), QStringList{"¿Desea guardar los datos de la empresa?"});
    EXPECT_EQ(campo("Trabajadores", "IdTrabajador"), QStringLiteral("(ninguna)"));

    msg().answer(Answer::Yes);
    msg().answer(Answer::Yes);
    GuardarEmpresaYTrabajador(db, d, empresa, trabajador, {});
    EXPECT_EQ(msg().texts().last(), QStringLiteral("¿Desea guardar los datos del trabajador?"));
    EXPECT_EQ(campo("Trabajadores", "IdEmpresa"), campo("Empresas", "IdEmpresa"));
    EXPECT_EQ(campo("Trabajadores", "NúmeroTrabajador"), QStringLiteral("45"));
    EXPECT_EQ(campo("Trabajadores", "FechaNacimiento"), QString());
    EXPECT_EQ(campo("Trabajadores", "FechaContrato"), QStringLiteral("2026-12-06"));
    EXPECT_EQ(campo("Trabajadores", "FechaVencimiento"), QStringLiteral("2009-12-31"));

    // The same names: no question; the record window's end date comes first.
    const std::size_t vistos = msg().shown().size();
    GuardarEmpresaYTrabajador(db, d, empresa, trabajador, QStringLiteral("30/06/2010"));
    EXPECT_EQ(msg().shown().size(), vistos);
    EXPECT_EQ(campo("Trabajadores", "FechaVencimiento"), QStringLiteral("2010-06-30"));

    // Other names: one conflict each, both declined.
    empresa.Nombre = QStringLiteral("TALLERES NUEVOS SA");
    trabajador.Nombre = QStringLiteral("PEP ROS");
    msg().answer(Answer::No);
    msg().answer(Answer::No);
    GuardarEmpresaYTrabajador(db, d, empresa, trabajador, {});
    const auto& preguntas = msg().shown();
    EXPECT_EQ(preguntas[preguntas.size() - 2].text,
              QStringLiteral("El número de empresa, 00123 corresponde a la empresa : TALLERES SA. ¿Desea eliminar "
                             "dicha empresa y dar de alta una nueva empresa con estos datos?"));
    EXPECT_EQ(preguntas.back().title, QStringLiteral("Conflicto"));
    EXPECT_EQ(preguntas.back().style, 292);
    EXPECT_EQ(campo("Trabajadores", "NombreTrabajador"), QStringLiteral("ANA ROS"));
}

TEST_F(GrabacionTest, FechasQueNoLoSonNoSeEscriben)
{
    const qint64 id = db.insert(QStringLiteral("Trabajadores"),
                                {{QStringLiteral("FechaVencimiento"), QStringLiteral("2008-01-01")},
                                 {QStringLiteral("FechaInicioProrroga"), QStringLiteral("2008-02-01")}});
    d.vencimientoContrato = QStringLiteral("no es fecha");
    AnotarContratoEnTrabajador(db, id, d, QStringLiteral("__/__/____"));
    EXPECT_EQ(campo("Trabajadores", "FechaVencimiento"), QStringLiteral("2008-01-01"));
    EXPECT_EQ(campo("Trabajadores", "IdContrato"), QStringLiteral("7"));

    // An extension whose date is the empty mask and whose start is no date.
    d.clase = ClaseDocumento::Prorroga;
    d.fechaContrato = QStringLiteral("__/__/____");
    d.inicioProrroga = QStringLiteral("31/02/2011");
    AnotarDocumentoGuardado(db, d, QStringLiteral("0012300045P.doc"), id);
    EXPECT_EQ(campo("ContratosGrabados", "Fecha"), QString());
    EXPECT_EQ(campo("Trabajadores", "FechaInicioProrroga"), QStringLiteral("2008-02-01"));
}
