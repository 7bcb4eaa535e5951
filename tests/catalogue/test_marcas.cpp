#include "CatalogoTest.h"

#include "catalogue/frmListaContratos.h"
#include "catalogue/frmMarcas.h"
#include "catalogue/frmModelos.h"
#include "common/frmMensaje.h"
#include "platform/Controls.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

using platform::Answer;
using platform::Forms;
using platform::isShown;

class MarcasTest : public CatalogoTest {
protected:
    qint64 marca(const QString& codigo, const QString& descripcion, const QVariant& longitud)
    {
        return insertar("Marcas", {{QStringLiteral("CódigoMarca"), codigo},
                                   {QStringLiteral("DescripciónDato"), descripcion},
                                   {QStringLiteral("Longitud"), longitud}});
    }
    qint64 modelo(const QString& nombre, const QVariant& ubicacion = QStringLiteral("modelo.rtf"))
    {
        return insertar("Modelo", {{QStringLiteral("NombreModelo"), nombre}, {QStringLiteral("Ubicación"), ubicacion}});
    }
    qint64 marcaDeModelo(const QString& idModelo, const QString& codigo, const QVariant& veces = {})
    {
        return insertar("MarcasCont", {{QStringLiteral("IdModelo"), idModelo},
                                       {QStringLiteral("CódigoMarca"), codigo},
                                       {QStringLiteral("Veces"), veces}});
    }
    // Veces of the row of a mark in a model: "<Null>" or its text; "<ninguna>" without a row.
    QString veces(const QString& idModelo, const QString& codigo)
    {
        const auto fila = base().first(
            QStringLiteral("SELECT Veces FROM MarcasCont WHERE IdModelo = ? AND CódigoMarca = ?"), {idModelo, codigo});
        if (!fila)
            return QStringLiteral("<ninguna>");
        return fila->isNull(QStringLiteral("Veces")) ? QStringLiteral("<Null>") : fila->text(QStringLiteral("Veces"));
    }
    int filaDe(platform::DBGrid* rejilla, const QString& codigo)
    {
        return static_cast<int>(columna(rejilla, 1).indexOf(codigo));
    }
};

TEST_F(MarcasTest, AMarkUsedByModelsGoesOnlyAfterTheUserHasSeenThem)
{
    marca(QStringLiteral("0001"), QStringLiteral("NOMBRE"), 30);
    marca(QStringLiteral("0002"), QStringLiteral("NIF"), 9);
    marca(QStringLiteral("0003"), QStringLiteral("SIN USO"), 4);
    const QString m1 = QString::number(modelo(QStringLiteral("M1")));
    const QString m2 = QString::number(modelo(QStringLiteral("M2")));
    marcaDeModelo(m1, QStringLiteral("0001"));
    for (const QString& id : {m1, m2, QStringLiteral("99"), QString()})
        marcaDeModelo(id, QStringLiteral("0002"));
    auto& w = abrir<frmMarcas>();
    EXPECT_EQ(columna(w.dbgMarca, 1), (QStringList{"0001", "0002", "0003"}));

    // Unused: deleted at once.
    elegir(w.dbgMarca, 2);
    msg().answer(Answer::Yes);
    QString aviso;
    fakeClock().duringWait = [&](double) { aviso = Forms::get<frmMensaje>().lblMensaje->text(); };
    clic(w.cmdBorrar);
    EXPECT_EQ(aviso, QStringLiteral("Marca Eliminada."));
    EXPECT_EQ(Forms::loaded<frmListaContratos>(), nullptr);
    EXPECT_EQ(w.txtNum->text(), QStringLiteral("2"));

    // Used: the list names each model found, and No or closing it deletes nothing.
    for (int vez = 0; vez < 2; ++vez) {
        elegir(w.dbgMarca, filaDe(w.dbgMarca, QStringLiteral("0002")));
        msg().answer(Answer::Yes);
        clic(w.cmdBorrar);
        auto* lista = Forms::loaded<frmListaContratos>();
        ASSERT_NE(lista, nullptr);
        EXPECT_EQ(lista->windowModality(), Qt::ApplicationModal);
        QStringList nombres;
        for (int i = 0; i < lista->lstMarcaContrato->count(); ++i)
            nombres << lista->lstMarcaContrato->item(i)->text();
        EXPECT_EQ(nombres, (QStringList{"M1", "M2"}));
        if (vez == 0)
            clic(lista->cmdNo);
        else
            lista->close();
        EXPECT_EQ(Forms::loaded<frmListaContratos>(), nullptr);
        EXPECT_EQ(filas("MarcasCont"), 5);
        EXPECT_EQ(w.dbgMarca->rowCount(), 2);
    }

    elegir(w.dbgMarca, filaDe(w.dbgMarca, QStringLiteral("0002")));
    msg().answer(Answer::Yes);
    clic(w.cmdBorrar);
    clic(Forms::loaded<frmListaContratos>()->cmdSi);
    EXPECT_EQ(valor(QStringLiteral("SELECT COUNT(*) FROM MarcasCont WHERE CódigoMarca = '0002'")).toInt(), 0);
    EXPECT_EQ(veces(m1, QStringLiteral("0001")), QStringLiteral("<Null>"));
    EXPECT_EQ(columna(w.dbgMarca, 1), QStringList{"0001"});
    EXPECT_EQ(w.txtNum->text(), QStringLiteral("1"));
}

TEST_F(MarcasTest, HeaderClicksSortTheCatalogue)
{
    marca(QStringLiteral("0003"), QStringLiteral("Alfa"), 10);
    marca(QStringLiteral("0001"), QStringLiteral("Gamma"), 9);
    marca(QStringLiteral("0002"), QStringLiteral("beta"), 100);
    auto& w = abrir<frmMarcas>();
    EXPECT_EQ(columna(w.dbgMarca, 1), (QStringList{"0001", "0002", "0003"}));
    clicCabecera(w.dbgMarca, 2);
    EXPECT_EQ(columna(w.dbgMarca, 2), (QStringList{"Alfa", "beta", "Gamma"}));
    clicCabecera(w.dbgMarca, 3);
    EXPECT_EQ(columna(w.dbgMarca, 3), (QStringList{"9", "10", "100"}));
    clicCabecera(w.dbgMarca, 4);
    clicCabecera(w.dbgMarca, 0);
    EXPECT_EQ(columna(w.dbgMarca, 3), (QStringList{"9", "10", "100"}));
    EXPECT_EQ(w.txtNum->text(), QStringLiteral("3"));

    // After a sort the first row is current.
    clic(w.cmdEditar);
    EXPECT_EQ(w.txtCodigo->text(), QStringLiteral("0001"));
}

TEST_F(MarcasTest, ALengthIsAWholeNumberOfCharacters)
{
    auto& w = abrir<frmMarcas>();
    clic(w.cmdNuevo);
    for (const char* longitud : {"12a", "-1", "1,5", "1E2"}) {
        w.txtLongitud->setFocus();
        w.txtLongitud->setText(QString::fromUtf8(longitud));
        w.txtDescripcion->setFocus();
        EXPECT_TRUE(w.txtLongitud->hasFocus()) << longitud;
        EXPECT_TRUE(w.txtLongitud->text().isEmpty());
    }
    ASSERT_EQ(msg().shown().size(), 4u);
    EXPECT_EQ(msg().shown().front().text, QStringLiteral("El valor de la longitud del dato debe ser numérico"));
    EXPECT_EQ(msg().shown().front().style, 16);
    EXPECT_EQ(msg().shown().front().title, QStringLiteral("Error"));

    QTest::keyClicks(w.txtLongitud, QStringLiteral("12"));
    w.txtCodigo->setFocus();
    EXPECT_TRUE(w.txtCodigo->hasFocus());
    QTest::keyClicks(w.txtCodigo, QStringLiteral("0040"));
    QTest::keyClicks(w.txtDescripcion, QStringLiteral("FECHA"));
    clic(w.cmdGrabar);
    EXPECT_EQ(valor(QStringLiteral("SELECT Longitud FROM Marcas WHERE CódigoMarca = '0040'")).toInt(), 12);
    EXPECT_FALSE(valor(QStringLiteral("SELECT ValoresFijos FROM Marcas")).isNull()) << "an empty box is empty text";
}

TEST_F(MarcasTest, AModelCountsEachMarkItHolds)
{
    marca(QStringLiteral("0001"), QStringLiteral("NOMBRE"), 30);
    marca(QStringLiteral("0002"), QStringLiteral("NIF"), 9);
    const QString m1 = QString::number(modelo(QStringLiteral("M1")));
    const QString m2 = QString::number(modelo(QStringLiteral("M2")));
    marcaDeModelo(m2, QStringLiteral("0001"), QStringLiteral("x"));
    auto& w = abrir<frmModelos>();

    clic(w.cmdAñadirMarcas);
    EXPECT_EQ(msg().texts(), QStringList{QStringLiteral("Seleccione un modelo.")});
    EXPECT_TRUE(isShown(w.dbgModelos));

    elegir(w.dbgModelos, 0);
    clic(w.cmdAñadirMarcas);
    EXPECT_FALSE(isShown(w.dbgModelos));
    EXPECT_TRUE(isShown(w.dbgMarcasSeleccionadas));
    EXPECT_EQ(w.lblTitulo2->text(), QStringLiteral("Marcas activas en el M1"));
    EXPECT_EQ(w.lblTitulo1->text(), QStringLiteral("Incorporación de marcas en el modelo : M1"));
    EXPECT_FALSE(w.cmdNuevo->isEnabled());
    EXPECT_EQ(w.dbgMarcasSeleccionadas->rowCount(), 0);

    const int nombre = filaDe(w.dbgMarcas, QStringLiteral("0001"));
    dobleClic(w.dbgMarcas, nombre);
    EXPECT_EQ(veces(m1, QStringLiteral("0001")), QStringLiteral("<Null>"));
    for (const char* esperado : {"2", "3"}) {
        msg().answer(Answer::Yes);
        dobleClic(w.dbgMarcas, nombre);
        EXPECT_EQ(veces(m1, QStringLiteral("0001")), QString::fromUtf8(esperado));
    }
    EXPECT_EQ(ultimoMensaje(), QStringLiteral("La marca ya ha sido añadida, desea añadirla otra vez."));
    EXPECT_EQ(msg().shown().back().style, 4);
    msg().answer(Answer::No);
    dobleClic(w.dbgMarcas, nombre);
    EXPECT_EQ(veces(m1, QStringLiteral("0001")), QStringLiteral("3"));
    dobleClic(w.dbgMarcas, filaDe(w.dbgMarcas, QStringLiteral("0002")));
    EXPECT_EQ(columna(w.dbgMarcasSeleccionadas, 3), (QStringList{"3", ""}));

    clicCabecera(w.dbgMarcasSeleccionadas, 3);
    EXPECT_EQ(columna(w.dbgMarcasSeleccionadas, 1), (QStringList{"0002", "0001"}));

    // Removing counts back to once, shown at once; then the mark leaves the model.
    const int fila = filaDe(w.dbgMarcasSeleccionadas, QStringLiteral("0001"));
    dobleClic(w.dbgMarcasSeleccionadas, fila);
    EXPECT_EQ(veces(m1, QStringLiteral("0001")), QString());
    EXPECT_EQ(columna(w.dbgMarcasSeleccionadas, 3), (QStringList{"", ""}));
    dobleClic(w.dbgMarcasSeleccionadas, filaDe(w.dbgMarcasSeleccionadas, QStringLiteral("0001")));
    EXPECT_EQ(veces(m1, QStringLiteral("0001")), QStringLiteral("<ninguna>"));
    EXPECT_EQ(columna(w.dbgMarcasSeleccionadas, 1), QStringList{"0002"});
    EXPECT_EQ(veces(m2, QStringLiteral("0001")), QStringLiteral("x")) << "other models are untouched";

    // A count that is no number counts as once.
    w.dbgModelos->setRow(1);
    clic(w.cmdAñadirMarcas);
    msg().answer(Answer::Yes);
    dobleClic(w.dbgMarcas, nombre);
    EXPECT_EQ(veces(m2, QStringLiteral("0001")), QStringLiteral("2"));
}

// Counting a mark back to once re-reads the list of the model's marks: it
// stays where it was, so the next double-click at the same place removes
// that mark and no other.
TEST_F(MarcasTest, TheModelsMarksStayInPlaceBetweenDoubleClicks)
{
    const QString m1 = QString::number(modelo(QStringLiteral("M1")));
    for (int i = 1; i <= 12; ++i)
        marcaDeModelo(m1, QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0')), i == 12 ? QStringLiteral("2") : QVariant());
    auto& w = abrir<frmModelos>();
    elegir(w.dbgModelos, 0);
    clic(w.cmdAñadirMarcas);
    auto* lista = w.dbgMarcasSeleccionadas;
    lista->scrollToBottom();
    const QPoint ultima = centro(lista, 11);
    ASSERT_TRUE(lista->viewport()->rect().contains(ultima));
    QTest::mouseDClick(lista->viewport(), Qt::LeftButton, {}, ultima);
    EXPECT_EQ(veces(m1, QStringLiteral("0012")), QString());
    QTest::mouseDClick(lista->viewport(), Qt::LeftButton, {}, ultima);
    EXPECT_EQ(veces(m1, QStringLiteral("0012")), QStringLiteral("<ninguna>"));
    QStringList quedan;
    for (int i = 1; i <= 11; ++i)
        quedan << QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0'));
    EXPECT_EQ(columna(lista, 1), quedan) << "no other mark left the model";
}

TEST_F(MarcasTest, DeletingAModelTakesItsMarksWithIt)
{
    const QString m1 = QString::number(modelo(QStringLiteral("M1"), QVariant()));
    const QString m2 = QString::number(modelo(QStringLiteral("M2")));
    marcaDeModelo(m1, QStringLiteral("0001"));
    marcaDeModelo(m1, QStringLiteral("0002"));
    marcaDeModelo(m2, QStringLiteral("0001"));
    insertar("Contrato", {{QStringLiteral("Contrato"), QStringLiteral("Obra")}, {QStringLiteral("Modelo"), QStringLiteral("M1")}});
    auto& w = abrir<frmModelos>();

    // A model without a file name cannot be saved until one is typed.
    elegir(w.dbgModelos, 0);
    clic(w.cmdEditar);
    EXPECT_EQ(w.txtModelo->text(), QStringLiteral("M1"));
    EXPECT_TRUE(w.txtUbicacion->text().isEmpty());
    clic(w.cmdGrabar);
    EXPECT_EQ(ultimoMensaje(), QStringLiteral("No ha introducido la ubicación del modelo."));
    clic(w.cmdCancelar);

    // A failure halfway leaves the model and all its marks.
    base().exec(QStringLiteral("CREATE TRIGGER falla BEFORE DELETE ON Modelo BEGIN SELECT RAISE(ABORT, 'x'); END"));
    elegir(w.dbgModelos, 0);
    msg().answer(Answer::Yes);
    clic(w.cmdBorrar);
    EXPECT_EQ(msg().shown().back().style, 16);
    EXPECT_EQ(filas("MarcasCont"), 3);
    EXPECT_EQ(filas("Modelo"), 2);

    base().exec(QStringLiteral("DROP TRIGGER falla"));
    elegir(w.dbgModelos, 0);
    msg().answer(Answer::Yes);
    clic(w.cmdBorrar);
    EXPECT_EQ(ultimoMensaje(), QStringLiteral("¿Desea eliminar el Modelo?."));
    EXPECT_EQ(filas("Modelo"), 1);
    EXPECT_EQ(valor(QStringLiteral("SELECT IdModelo FROM MarcasCont")).toString(), m2);
    EXPECT_EQ(filas("MarcasCont"), 1);
    EXPECT_EQ(valor(QStringLiteral("SELECT Modelo FROM Contrato")).toString(), QStringLiteral("M1"));
    EXPECT_EQ(w.txtNum->text(), QStringLiteral("1"));
}
