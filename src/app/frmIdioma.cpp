#include "app/frmIdioma.h"

#include "app/frmMenu.h"
#include "platform/Controls.h"
#include "platform/Files.h"
#include "platform/Forms.h"
#include "platform/MessageBoxes.h"

#include <QGroupBox>
#include <QPushButton>

using platform::Forms;
using platform::OptionButton;

frmIdioma::frmIdioma() : Form(QStringLiteral("frmIdioma"))
{
    setWindowTitle(QStringLiteral("Parámetros"));
    designSize(7200, 6360);

    fraIdioma = place(new QGroupBox(QStringLiteral("Seleccione el Idioma en el que desea realizar los contratos : ")),
                      "fraIdioma", 240, 120, 6720, 840);
    optCastellano = place(new OptionButton(QStringLiteral("Castellano.")), "optCastellano", 360, 360, 2400, 360, fraIdioma);
    optCatalan = place(new OptionButton(QStringLiteral("Catalán.")), "optCatalan", 3360, 360, 2400, 360, fraIdioma);

    fraAviso = place(new QGroupBox(QStringLiteral("Aviso vencimiento prórroga ")), "fraAviso", 240, 1080, 6720, 1800);
    optSi = place(new OptionButton(QStringLiteral("Sí")), "optSi", 360, 360, 1200, 360, fraAviso);
    optNo = place(new OptionButton(QStringLiteral("No")), "optNo", 360, 840, 1200, 360, fraAviso);
    fraDias = place(new QGroupBox(QStringLiteral("Días aviso : ")), "fraDias", 2160, 240, 4320, 1380, fraAviso);
    optDias1 = place(new OptionButton(QStringLiteral("15")), "optDias1", 240, 480, 1080, 360, fraDias);
    optDias2 = place(new OptionButton(QStringLiteral("30")), "optDias2", 1560, 480, 1080, 360, fraDias);
    optDias3 = place(new OptionButton(QStringLiteral("60")), "optDias3", 2880, 480, 1080, 360, fraDias);

    fraSistema = place(new QGroupBox(QStringLiteral("Sistema Operativo : ")), "fraSistema", 240, 3000, 6720, 840);
    optXP = place(new OptionButton(QStringLiteral("Win XP")), "optXP", 360, 360, 2400, 360, fraSistema);
    opt98 = place(new OptionButton(QStringLiteral("Win 95/98")), "opt98", 3360, 360, 2400, 360, fraSistema);

    fraPie = place(new QGroupBox(QStringLiteral("Firmas en primera página : ")), "fraPie", 240, 3960, 6720, 840);
    optFirmas[0] = place(new OptionButton(QStringLiteral("Si")), "optFirmas0", 360, 360, 2400, 360, fraPie);
    optFirmas[1] = place(new OptionButton(QStringLiteral("No")), "optFirmas1", 3360, 360, 2400, 360, fraPie);

    cmdCerrar = place(new QPushButton(QStringLiteral("Cerrar.")), "cmdCerrar", 5640, 5160, 1320, 420);
    cmdCerrar->setToolTip(QStringLiteral("Cierra la ventana de idioma guardando la configuración."));

    onClick(optSi, [this] { optSi_Click(); });
    onClick(optNo, [this] { optNo_Click(); });
    onClick(cmdCerrar, [this] { cmdCerrar_Click(); });
}

void frmIdioma::Form_Load()
{
    try {
        configuracion_ = LeerConfiguracion();
    } catch (const platform::FileError& error) {
        platform::MsgBox(QString::fromStdString(error.what()), platform::style::Critical);
    }
    const DatosConfiguracion& c = configuracion_;
    (c.Idioma == QLatin1String("2") ? optCatalan : optCastellano)->setValue(true);
    if (c.Avisos == QLatin1String("Si")) {
        optSi->setValue(true);
        if (c.DiasAviso == QLatin1String("15"))
            optDias1->setValue(true);
        else if (c.DiasAviso == QLatin1String("30"))
            optDias2->setValue(true);
        else if (c.DiasAviso == QLatin1String("60"))
            optDias3->setValue(true);
    } else {
        optNo->setValue(true);
    }
    (c.SistemaOperativo == QLatin1String("2") ? optXP : opt98)->setValue(true);
    bool numerico = false;
    const int firmas = c.Firmas.trimmed().toInt(&numerico);
    if (!c.Firmas.trimmed().isEmpty() && numerico)
        optFirmas[firmas == 0 ? 0 : 1]->setValue(true);
    // The keyboard starts at the first option, which shows it.
    platform::giveFocus(optCastellano);
}

void frmIdioma::Form_Unload()
{
    // Only a main window still there: touching a closed one would load it
    // again, hidden, and keep the program running with nothing on the screen.
    if (auto* menu = Forms::loaded<frmMenu>())
        menu->optIdioma->setValue(false);
}

void frmIdioma::optSi_Click()
{
    if (optSi->value()) {
        fraDias->show();
        optDias3->setValue(false);
        optDias1->setValue(false);
        optDias2->setValue(false);
    } else {
        fraDias->hide();
    }
}

void frmIdioma::optNo_Click()
{
    fraDias->setVisible(!optNo->value());
}

void frmIdioma::cmdCerrar_Click()
{
    DatosConfiguracion& c = configuracion_;
    if (optCatalan->value())
        c.Idioma = QStringLiteral("2");
    else if (optCastellano->value())
        c.Idioma = QStringLiteral("1");
    if (optSi->value()) {
        c.Avisos = QStringLiteral("Si");
        c.DiasAviso = optDias1->value()   ? QStringLiteral("15")
            : optDias2->value()           ? QStringLiteral("30")
            : optDias3->value()           ? QStringLiteral("60")
                                          : QStringLiteral("  ");
    } else {
        c.Avisos = QStringLiteral("No");
    }
    c.SistemaOperativo = optXP->value() ? QStringLiteral("2") : QStringLiteral("1");
    c.Firmas = optFirmas[0]->value() ? QStringLiteral("0")
        : optFirmas[1]->value()      ? QStringLiteral("1")
                                     : QStringLiteral(" ");
    try {
        // Re-read so that the server settings saved meanwhile stay.
        ActualizarConfiguracion([&c](DatosConfiguracion& d) {
            d.Idioma = c.Idioma;
            d.Avisos = c.Avisos;
            d.DiasAviso = c.DiasAviso;
            d.SistemaOperativo = c.SistemaOperativo;
            d.Firmas = c.Firmas;
        });
    } catch (const platform::FileError& error) {
        platform::MsgBox(QString::fromStdString(error.what()), platform::style::Critical);
        return;
    }
    Forms::unload(*this);
}
