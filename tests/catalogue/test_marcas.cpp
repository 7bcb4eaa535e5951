#include "CatalogoTest.h"

class MarcasTest : public CatalogoTest {
protected:
    // Veces of the row of a mark in a model: "-" for Null, "<ninguna>" without a row.
    QString veces(const QString& idModelo, const QString& codigo)
    {
        return columna(u("SELECT Veces FROM MarcasCont WHERE IdModelo = ? AND CódigoMarca = ?"), {idModelo, codigo})
            .value(0, u("<ninguna>"));
    }
    static int filaDe(platform::DBGrid* rejilla, const QString& codigo)
    {
        return static_cast<int>(textos(rejilla, 1).indexOf(codigo));
    }
};

TEST_F(MarcasTest, AMarkUsedByModelsGoesOnlyAfterTheUserHasSeenThem)
{
    marca(u("0001"), u("NOMBRE"), 30);
    marca(u("0002"), u("NIF"), 9);
    marca(u("0003"), u("SIN USO"), 4);
    const QString m1 = QString::number(modelo(u("M1")));
    const QString m2 = QString::number(modelo(u("M2")));
    marcaDeModelo(m1, u("0001"));
    for (const QString& id : {m1, m2, u("99"), QString()})
        marcaDeModelo(id, u("0002"));
    auto& w = abrir<frmMarcas>();
    EXPECT_EQ(textos(w.dbgMarca, 1), (QStringList{"0001", "0002", "0003"}));

    // Declined: nothing goes, the whole table is shown again.
    pulsarFila(w.dbgMarca, 2);
    msg().answer(Answer::No);
    clic(w.cmdBorrar);
    EXPECT_EQ(ultimoMensaje(), u("Desea eliminar la marca."));
    EXPECT_EQ(w.dbgMarca->rowCount() + cuenta("Marcas"), 6);
    EXPECT_EQ(w.txtNum->text(), u("3"));

    // Unused: deleted at once.
    pulsarFila(w.dbgMarca, filaDe(w.dbgMarca, u("0003")));
    msg().answer(Answer::Yes);
    QString aviso;
    anotarAviso(aviso);
    clic(w.cmdBorrar);
    EXPECT_EQ(aviso, u("Marca Eliminada."));
    EXPECT_EQ(Forms::loaded<frmListaContratos>(), nullptr);
    EXPECT_EQ(w.txtNum->text(), u("2"));

    // Used: the list names each model found, and No, Escape or closing it deletes nothing.
    for (int vez = 0; vez < 3; ++vez) {
        pulsarFila(w.dbgMarca, filaDe(w.dbgMarca, u("0002")));
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
        else if (vez == 1)
            QTest::keyClick(lista->lstMarcaContrato, Qt::Key_Escape);
        else
            lista->close();
        EXPECT_EQ(Forms::loaded<frmListaContratos>(), nullptr);
        EXPECT_EQ(cuenta("MarcasCont"), 5);
        EXPECT_EQ(w.dbgMarca->rowCount(), 2);
    }

    pulsarFila(w.dbgMarca, filaDe(w.dbgMarca, u("0002")));
    msg().answer(Answer::Yes);
    clic(w.cmdBorrar);
    clic(Forms::loaded<frmListaContratos>()->cmdSi);
    EXPECT_EQ(valor(u("SELECT COUNT(*) FROM MarcasCont WHERE CódigoMarca = '0002'")).toInt(), 0);
    EXPECT_EQ(veces(m1, u("0001")), u("-"));
    EXPECT_EQ(textos(w.dbgMarca, 1), QStringList{"0001"});
    EXPECT_EQ(w.txtNum->text(), u("1"));

    // The last one: nothing left to edit or delete.
    pulsarFila(w.dbgMarca, 0);
    msg().answer(Answer::Yes);
    clic(w.cmdBorrar);
    clic(Forms::loaded<frmListaContratos>()->cmdSi);
    EXPECT_EQ(w.txtNum->text(), u("0"));
    EXPECT_FALSE(w.cmdEditar->isEnabled() || w.cmdBorrar->isEnabled());
    EXPECT_EQ(cuenta("MarcasCont"), 0);
}

TEST_F(MarcasTest, HeaderClicksSortTheCatalogue)
{
    marca(u("0003"), u("Alfa"), 10);
    marca(u("0001"), u("Gamma"), 9);
    marca(u("0002"), u("beta"), 100);
    auto& w = abrir<frmMarcas>();
    EXPECT_EQ(textos(w.dbgMarca, 1), (QStringList{"0001", "0002", "0003"}));
    clicCabecera(w.dbgMarca, 2);
    EXPECT_EQ(textos(w.dbgMarca, 2), (QStringList{"Alfa", "beta", "Gamma"}));
    clicCabecera(w.dbgMarca, 3);
    EXPECT_EQ(textos(w.dbgMarca, 3), (QStringList{"9", "10", "100"}));
    clicCabecera(w.dbgMarca, 4);
    clicCabecera(w.dbgMarca, 0);
    EXPECT_EQ(textos(w.dbgMarca, 3), (QStringList{"9", "10", "100"}));
    EXPECT_EQ(w.txtNum->text(), u("3"));

    // After a sort the first row is current.
    clic(w.cmdEditar);
    EXPECT_EQ(w.txtCodigo->text(), u("0001"));
}

TEST_F(MarcasTest, ALengthIsAWholeNumberOfCharacters)
{
    auto& w = abrir<frmMarcas>();
    clic(w.cmdNuevo);
    for (const char* longitud : {"12a", "-1", "1,5", "1E2"}) {
        w.txtLongitud->setFocus();
        w.txtLongitud->setText(u(longitud));
        w.txtDescripcion->setFocus();
        EXPECT_TRUE(w.txtLongitud->hasFocus()) << longitud;
        EXPECT_TRUE(w.txtLongitud->text().isEmpty());
    }
    ASSERT_EQ(msg().shown().size(), 4u);
    EXPECT_EQ(msg().shown().front().text, u("El valor de la longitud del dato debe ser numérico"));
    EXPECT_EQ(msg().shown().front().style, 16);
    EXPECT_EQ(msg().shown().front().title, u("Error"));

    // Each message gives the activation back: the length typed next is checked too.
    msg().takesActivation = true;
    for (int vez = 1; vez <= 2; ++vez) {
        QTest::keyClicks(w.txtLongitud, u("5x"));
        QTest::keyClick(w.txtLongitud, Qt::Key_Tab);
        ASSERT_EQ(msg().shown().size(), 4u + vez);
        QApplication::processEvents();
        EXPECT_TRUE(w.txtLongitud->hasFocus());
    }
    // Left while the window was not active, it is refused by Grabar: a length
    // sets where every later mark starts in the server's record.
    QTest::keyClicks(w.txtLongitud, u("5x"));
    testing_support::takeActivationAway();
    QTest::keyClicks(w.txtCodigo, u("0040"));
    QTest::keyClicks(w.txtDescripcion, u("FECHA"));
    clic(w.cmdGrabar);
    EXPECT_EQ(msg().shown().back().text, u("El valor de la longitud del dato debe ser numérico"));
    EXPECT_EQ(cuenta("Marcas"), 0);
    EXPECT_TRUE(isShown(w.fraMarca));

    activar(&w);
    QTest::keyClicks(w.txtLongitud, u("12"));
    w.txtCodigo->setFocus();
    EXPECT_TRUE(w.txtCodigo->hasFocus());
    clic(w.cmdGrabar);
    EXPECT_EQ(valor(u("SELECT Longitud FROM Marcas WHERE CódigoMarca = '0040'")).toInt(), 12);
    EXPECT_FALSE(valor(u("SELECT ValoresFijos FROM Marcas")).isNull()) << "an empty box is empty text";

    // With every box empty only the code is asked for.
    clic(w.cmdNuevo);
    const auto vistos = msg().shown().size();
    clic(w.cmdGrabar);
    EXPECT_EQ(msg().shown().size(), vistos + 1);
    EXPECT_EQ(ultimoMensaje(), u("No ha introducido el código de la marca"));
    QApplication::processEvents(); // the window active again after the message
    EXPECT_TRUE(w.txtCodigo->hasFocus());
}

TEST_F(MarcasTest, AModelCountsEachMarkItHolds)
{
    marca(u("0002"), u("NIF"), 9);
    marca(u("0001"), u("NOMBRE"), 30);
    marca(u("0003"), u("APELLIDOS"), 50);
    const QString m1 = QString::number(modelo(u("M1")));
    const QString m2 = QString::number(modelo(u("M2")));
    marcaDeModelo(m2, u("0001"), u("x"));
    auto& w = abrir<frmModelos>();

    clic(w.cmdAñadirMarcas);
    EXPECT_EQ(msg().texts(), QStringList{u("Seleccione un modelo.")});
    EXPECT_TRUE(isShown(w.dbgModelos));

    pulsarFila(w.dbgModelos, 0);
    clic(w.cmdAñadirMarcas);
    EXPECT_FALSE(isShown(w.dbgModelos));
    EXPECT_TRUE(isShown(w.dbgMarcasSeleccionadas));
    EXPECT_EQ(w.lblTitulo2->text(), u("Marcas activas en el M1"));
    EXPECT_EQ(w.lblTitulo1->text(), u("Incorporación de marcas en el modelo : M1"));
    EXPECT_FALSE(w.cmdNuevo->isEnabled());
    EXPECT_EQ(w.dbgMarcasSeleccionadas->rowCount(), 0);

    const int nombre = filaDe(w.dbgMarcas, u("0001"));
    dobleClic(w.dbgMarcas, nombre);
    EXPECT_EQ(veces(m1, u("0001")), u("-"));
    for (const char* esperado : {"2", "3"}) {
        msg().answer(Answer::Yes);
        dobleClic(w.dbgMarcas, nombre);
        EXPECT_EQ(veces(m1, u("0001")), u(esperado));
    }
    EXPECT_EQ(ultimoMensaje(), u("La marca ya ha sido añadida, desea añadirla otra vez."));
    EXPECT_EQ(msg().shown().back().style, 4);
    msg().answer(Answer::No);
    dobleClic(w.dbgMarcas, nombre);
    EXPECT_EQ(veces(m1, u("0001")), u("3"));
    dobleClic(w.dbgMarcas, filaDe(w.dbgMarcas, u("0002")));
    EXPECT_EQ(textos(w.dbgMarcasSeleccionadas, 3), (QStringList{"3", ""}));

    clicCabecera(w.dbgMarcasSeleccionadas, 3);
    EXPECT_EQ(textos(w.dbgMarcasSeleccionadas, 1), (QStringList{"0002", "0001"}));

    // Removing counts back to once, shown at once; then the mark leaves the model.
    const int fila = filaDe(w.dbgMarcasSeleccionadas, u("0001"));
    dobleClic(w.dbgMarcasSeleccionadas, fila);
    EXPECT_EQ(veces(m1, u("0001")), QString());
    EXPECT_EQ(textos(w.dbgMarcasSeleccionadas, 3), (QStringList{"", ""}));
    dobleClic(w.dbgMarcasSeleccionadas, filaDe(w.dbgMarcasSeleccionadas, u("0001")));
    EXPECT_EQ(veces(m1, u("0001")), u("<ninguna>"));
    EXPECT_EQ(textos(w.dbgMarcasSeleccionadas, 1), QStringList{"0002"});
    EXPECT_EQ(veces(m2, u("0001")), u("x")) << "other models are untouched";

    // A count that is no number counts as once.
    w.dbgModelos->setRow(1);
    clic(w.cmdAñadirMarcas);
    msg().answer(Answer::Yes);
    dobleClic(w.dbgMarcas, nombre);
    EXPECT_EQ(veces(m2, u("0001")), u("2"));

    // The catalogue above sorts by code or by description, by no other header.
    EXPECT_EQ(textos(w.dbgMarcas, 1), (QStringList{"0002", "0001", "0003"}));
    clicCabecera(w.dbgMarcas, 1);
    EXPECT_EQ(textos(w.dbgMarcas, 1), (QStringList{"0001", "0002", "0003"}));
    clicCabecera(w.dbgMarcas, 2);
    EXPECT_EQ(textos(w.dbgMarcas, 1), (QStringList{"0003", "0002", "0001"}));
    clicCabecera(w.dbgMarcas, 3);
    clicCabecera(w.dbgMarcas, 0);
    EXPECT_EQ(textos(w.dbgMarcas, 1), (QStringList{"0003", "0002", "0001"}));
}

// Counting a mark back to once re-reads the list of the model's marks: it
// stays where it was, so the next double-click at the same place removes
// that mark and no other.
TEST_F(MarcasTest, TheModelsMarksStayInPlaceBetweenDoubleClicks)
{
    const QString m1 = QString::number(modelo(u("M1")));
    for (int i = 1; i <= 12; ++i)
        marcaDeModelo(m1, u("%1").arg(i, 4, 10, QLatin1Char('0')), i == 12 ? u("2") : QVariant());
    auto& w = abrir<frmModelos>();
    pulsarFila(w.dbgModelos, 0);
    clic(w.cmdAñadirMarcas);
    auto* lista = w.dbgMarcasSeleccionadas;
    lista->scrollToBottom();
    const QPoint ultima = lista->visualRect(lista->model()->index(11, 1)).center();
    ASSERT_TRUE(lista->viewport()->rect().contains(ultima));
    QTest::mouseDClick(lista->viewport(), Qt::LeftButton, {}, ultima);
    EXPECT_EQ(veces(m1, u("0012")), QString());
    QTest::mouseDClick(lista->viewport(), Qt::LeftButton, {}, ultima);
    EXPECT_EQ(veces(m1, u("0012")), u("<ninguna>"));
    QStringList quedan;
    for (int i = 1; i <= 11; ++i)
        quedan << u("%1").arg(i, 4, 10, QLatin1Char('0'));
    EXPECT_EQ(textos(lista, 1), quedan) << "no other mark left the model";
}

TEST_F(MarcasTest, DeletingAModelTakesItsMarksWithIt)
{
    const QString m1 = QString::number(modelo(u("M1"), QVariant()));
    const QString m2 = QString::number(modelo(u("M2")));
    marcaDeModelo(m1, u("0001"));
    marcaDeModelo(m1, u("0002"));
    marcaDeModelo(m2, u("0001"));
    insertar("Contrato", {{u("Contrato"), u("Obra")}, {u("Modelo"), u("M1")}});
    auto& w = abrir<frmModelos>();

    // A model without a file name cannot be saved until one is typed.
    pulsarFila(w.dbgModelos, 0);
    clic(w.cmdEditar);
    EXPECT_EQ(w.txtModelo->text(), u("M1"));
    EXPECT_TRUE(w.txtUbicacion->text().isEmpty());
    clic(w.cmdGrabar);
    EXPECT_EQ(ultimoMensaje(), u("No ha introducido la ubicación del modelo."));
    w.txtModelo->clear();
    clic(w.cmdGrabar);
    EXPECT_EQ(ultimoMensaje(), u("No ha introducido el Modelo del contrato"));
    EXPECT_TRUE(w.txtModelo->hasFocus());
    clic(w.cmdCancelar);

    // A failure halfway leaves the model and all its marks.
    db.exec(u("CREATE TRIGGER falla BEFORE DELETE ON Modelo BEGIN SELECT RAISE(ABORT, 'x'); END"));
    pulsarFila(w.dbgModelos, 0);
    msg().answer(Answer::Yes);
    clic(w.cmdBorrar);
    EXPECT_EQ(msg().shown().back().style, 16);
    EXPECT_EQ(cuenta("MarcasCont"), 3);
    EXPECT_EQ(cuenta("Modelo"), 2);

    db.exec(u("DROP TRIGGER falla"));
    pulsarFila(w.dbgModelos, 0);
    msg().answer(Answer::Yes);
    clic(w.cmdBorrar);
    EXPECT_EQ(ultimoMensaje(), u("¿Desea eliminar el Modelo?."));
    EXPECT_EQ(cuenta("Modelo"), 1);
    EXPECT_EQ(valor(u("SELECT IdModelo FROM MarcasCont")).toString(), m2);
    EXPECT_EQ(cuenta("MarcasCont"), 1);
    EXPECT_EQ(valor(u("SELECT Modelo FROM Contrato")).toString(), u("M1"));
    EXPECT_EQ(w.txtNum->text(), u("1"));
}
