#include "TervaloTest.h"

#include "app/frmActualizacion.h"
#include "app/frmMenu.h"
#include "common/Module1.h"
#include "common/frmMensaje.h"
#include "platform/Controls.h"
#include "platform/Database.h"
#include "platform/Forms.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

using platform::Forms;
using platform::isShown;

class PanelActualizacionTest : public testing_support::TervaloTest {
protected:
    PanelActualizacionTest()
    {
        writeFile("C:\\Quelvan\\Dorvane\\Actu", "Si");
        writeFile("C:\\Quelvan\\Dorvane\\configold", "");
        Forms::show<frmActualizacion>();
        menu = Forms::loaded<frmMenu>();
        AbrirBaseDatos().insert(QStringLiteral("TipoContrato"),
                                {{QStringLiteral("TipoContrato"), QStringLiteral("A")}});
        fakeClock().duringWait = [this](double) {
            if (auto* aviso = Forms::loaded<frmMensaje>())
                avisos << aviso->lblMensaje->text();
            if (pulsarDuranteAviso) // the user, while the notice is up
                menu->optActualizacion[0]->click();
        };
    }

    // The first field of every row.
    static QStringList columna(const char* sql)
    {
        QStringList valores;
        for (const auto& fila : AbrirBaseDatos().select(QString::fromUtf8(sql)))
            valores << fila.fields().front().second.toString();
        return valores;
    }

    frmMenu* menu;
    QStringList avisos;
    bool pulsarDuranteAviso = false;
};

TEST_F(PanelActualizacionTest, ThePanelAppliesBothFilesAndRunsThemAgain)
{
    menu->fraAvisos->show();
    menu->cmdTraspaso->click();
    ASSERT_TRUE(isShown(menu->fraActualizacion));
    EXPECT_FALSE(isShown(menu->fraAvisos));

    writeFile("C:\\Quelvan\\Dorvane\\MarcasTras.txt", "* P21     2 410 Relevo\r\n.\r\n");
    msg().answer(platform::Answer::Yes);
    pulsarDuranteAviso = true;
    menu->optActualizacion[0]->click();
    pulsarDuranteAviso = false;
    EXPECT_EQ(msg().shown().size(), 2u) << "one run at a time";
    EXPECT_EQ(msg().shown()[0].style, 4);
    EXPECT_EQ(msg().texts().last(), QStringLiteral("Traspaso marcas finalizado.\r\nSe han traspasado 1 modelos."));
    EXPECT_EQ(avisos, QStringList{QStringLiteral("Traspasando Modelos.")});
    EXPECT_EQ(Forms::loaded<frmMensaje>(), nullptr);

    menu->cmdEsconder->click();
    EXPECT_FALSE(isShown(menu->fraActualizacion));
    menu->cmdTraspaso->click();
    EXPECT_FALSE(menu->optActualizacion[0]->value() || menu->optActualizacion[1]->value()) << "cleared at each opening";

    writeFile("C:\\Quelvan\\Dorvane\\ContratosTras.txt",
              "T     2 RELEVO\r\nC     8     2 " + QByteArray(100, ' ') + " P21   410 Relevo parcial\r\n.\r\n");
    const auto actualizar = [&] {
        avisos.clear();
        menu->optActualizacion[1]->click();
        EXPECT_EQ(avisos, QStringList{QStringLiteral("Actualizando Contratos.")});
        return columna("SELECT TipoContrato FROM TipoContrato ORDER BY 1")
            + columna("SELECT Contrato FROM Contrato ORDER BY 1");
    };
    const QStringList despues = actualizar();
    EXPECT_EQ(despues, (QStringList{QStringLiteral("A"), QStringLiteral("RELEVO"), QStringLiteral("Relevo"),
                                    QStringLiteral("Relevo parcial")}));
    EXPECT_EQ(msg().shown().size(), 2u) << "nothing said when all went well";

    menu->cmdTraspaso->click();
    EXPECT_EQ(actualizar(), despues);
    msg().answer(platform::Answer::Yes);
    menu->optActualizacion[0]->click();
    EXPECT_EQ(msg().texts().last(), QStringLiteral("No hay ningún archivo con nuevos modelos."));
}

// The panel stands where the maintenance, server-access and import results
// panels stand: whichever of them opens, it gives way instead of covering it.
TEST_F(PanelActualizacionTest, ThePanelGivesWayToThePanelsThatShareItsPlace)
{
    for (auto abrir : {&frmMenu::cmdTablas_Click, &frmMenu::cmdConfigurar_Click, &frmMenu::cmdImportar_Click}) {
        menu->cmdTraspaso->click();
        ASSERT_TRUE(isShown(menu->fraActualizacion));
        (menu->*abrir)();
        EXPECT_FALSE(isShown(menu->fraActualizacion));
    }
    EXPECT_EQ(msg().texts(), QStringList{QStringLiteral("No se ha introducido una IP de servidor.")});
}
