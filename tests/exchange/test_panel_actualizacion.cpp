#include "TervaloTest.h"

#include "app/frmActualizacion.h"
#include "app/frmMenu.h"
#include "common/Module1.h"
#include "common/frmMensaje.h"
#include "platform/Controls.h"
#include "platform/Database.h"
#include "platform/Files.h"
#include "platform/Forms.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

using platform::Answer;
using platform::Forms;
using platform::isShown;

namespace {

QString lineaContrato(int numero, const char* tipo, const char* nombreTipo, const char* nombre)
{
    return QStringLiteral("C %1 %2 %3 P01   100 %4")
        .arg(numero, 5)
        .arg(QLatin1String(tipo), 5)
        .arg(QString::fromUtf8(nombreTipo), -100)
        .arg(QString::fromUtf8(nombre));
}

} // namespace

class PanelActualizacionTest : public testing_support::TervaloTest {
protected:
    PanelActualizacionTest()
    {
        writeFile("C:\\Quelvan\\Dorvane\\Actu", "Si");
        writeFile("C:\\Quelvan\\Dorvane\\configold", "");
        Forms::show<frmActualizacion>();
        menu = Forms::loaded<frmMenu>();
        auto db = AbrirBaseDatos();
        db.insert(QStringLiteral("Marcas"), {{QStringLiteral("CódigoMarca"), QStringLiteral("0115")},
                                             {QStringLiteral("DescripciónDato"), QStringLiteral("NOMBRE TRABAJADOR")},
                                             {QStringLiteral("Longitud"), 40}});
        db.insert(QStringLiteral("TipoContrato"), {{QStringLiteral("TipoContrato"), QStringLiteral("INDEFINIDO")}});
        fakeClock().duringWait = [this](double) {
            if (auto* aviso = Forms::loaded<frmMensaje>(); aviso && !aviso->isHidden())
                avisos << aviso->lblMensaje->text();
        };
    }

    static QStringList columna(const char* sql)
    {
        QStringList valores;
        for (const auto& fila : AbrirBaseDatos().select(QString::fromUtf8(sql)))
            valores << fila.fields().front().second.toString();
        return valores;
    }

    frmMenu* menu;
    QStringList avisos;
};

TEST_F(PanelActualizacionTest, ThePanelAppliesBothFilesAndCanRunThemAgain)
{
    menu->fraAvisos->show();
    menu->cmdTraspaso->click();
    ASSERT_TRUE(isShown(menu->fraActualizacion));
    EXPECT_FALSE(isShown(menu->fraAvisos));

    writeFile("C:\\Quelvan\\Dorvane\\MarcasTras.txt",
              platform::toCp1252(QStringLiteral("* P21     2 410 Contrato de relevo\r\nM 0115 2\r\n.\r\n")));
    msg().answer(Answer::Yes);
    menu->optActualizacion[0]->click();
    EXPECT_EQ(msg().shown()[0].style, 4);
    EXPECT_EQ(msg().texts().last(), QStringLiteral("Traspaso marcas finalizado.\r\nSe han traspasado 1 modelos."));
    EXPECT_EQ(avisos, QStringList{QStringLiteral("Traspasando Modelos.")});
    EXPECT_EQ(Forms::loaded<frmMensaje>(), nullptr);
    EXPECT_EQ(columna("SELECT TipoContrato FROM TipoContrato ORDER BY 1"),
              (QStringList{QStringLiteral("Contrato de relevo"), QStringLiteral("INDEFINIDO")}));
    EXPECT_EQ(columna("SELECT Veces FROM MarcasCont WHERE IdModelo = '1' AND CódigoMarca = '0115'"),
              QStringList{QStringLiteral("2")});

    menu->cmdEsconder->click();
    EXPECT_FALSE(isShown(menu->fraActualizacion));
    menu->cmdTraspaso->click();
    EXPECT_FALSE(menu->optActualizacion[0]->value() || menu->optActualizacion[1]->value());

    writeFile("C:\\Quelvan\\Dorvane\\ContratosTras.txt",
              platform::toCp1252(QStringLiteral("T     2 RELEVO\r\n") + lineaContrato(8, "2", "RELEVO", "Relevo parcial")
                                 + QStringLiteral("\r\n.\r\n")));
    const auto actualizar = [&] {
        avisos.clear();
        menu->optActualizacion[1]->click();
        EXPECT_EQ(avisos, QStringList{QStringLiteral("Actualizando Contratos.")});
        return columna("SELECT TipoContrato FROM TipoContrato ORDER BY 1")
            + columna("SELECT IdContrato || Contrato FROM Contrato ORDER BY 1");
    };
    const QStringList despues = actualizar();
    EXPECT_EQ(despues, (QStringList{QStringLiteral("INDEFINIDO"), QStringLiteral("RELEVO"), QStringLiteral("1Contrato de relevo"),
                                    QStringLiteral("8Relevo parcial")}));
    EXPECT_EQ(msg().shown().size(), 2u) << "nothing said when all went well";

    menu->cmdEsconder->click();
    menu->cmdTraspaso->click();
    EXPECT_EQ(actualizar(), despues);
    msg().answer(Answer::Yes);
    menu->optActualizacion[0]->click();
    EXPECT_EQ(msg().texts().last(), QStringLiteral("No hay ningún archivo con nuevos modelos."));

    msg().answer(Answer::No);
    writeFile("C:\\Quelvan\\Dorvane\\MarcasTras.txt", "* P22     3 410 x\r\n.\r\n");
    menu->cmdTraspaso->click();
    menu->optActualizacion[0]->click();
    EXPECT_TRUE(exists("C:\\Quelvan\\Dorvane\\MarcasTras.txt"));
    EXPECT_EQ(columna("SELECT NombreModelo FROM Modelo"), QStringList{QStringLiteral("P21")});
}
