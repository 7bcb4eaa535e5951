#include "app/frmAcercade.h"

#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/Launcher.h"
#include "platform/MessageBoxes.h"
#include "platform/Paths.h"
#include "platform/Registry.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

using platform::Forms;

namespace {
constexpr auto kLogo = "c:\\Quelvan\\Dorvane\\LogoAcerca.bmp";
}

frmAcercade::frmAcercade() : Form(QStringLiteral("frmAcercade"))
{
    designSize(6600, 3900);
    imgAcerca = place(new platform::Picture, "imgAcerca", 240, 240, 1440, 1440);
    lblTitle = place(new QLabel, "lblTitle", 1920, 240, 4440, 480);
    platform::setBoldFont(lblTitle, 14);
    lblVersion = place(new QLabel, "lblVersion", 1920, 780, 4440, 300);
    lblDescription = place(new QLabel, "lblDescription", 1920, 1140, 4440, 660);
    lblDescription->setWordWrap(true);
    lblDisclaimer = place(new QLabel, "lblDisclaimer", 240, 2340, 4200, 900);
    lblDisclaimer->setWordWrap(true);
    cmdOK = place(new QPushButton(QStringLiteral("Aceptar")), "cmdOK", 4680, 2400, 1680, 420);
    cmdOK->setToolTip(QStringLiteral("Cierra la Ventana."));
    cmdSysInfo = place(new QPushButton(QStringLiteral("&Info. del sistema...")), "cmdSysInfo", 4680, 2940, 1680, 420);
    cmdSysInfo->setToolTip(QStringLiteral("Nos enseña la información del sistema."));
    onClick(cmdOK, [this] { cmdOK_Click(); });
    onClick(cmdSysInfo, [this] { cmdSysInfo_Click(); });
}

void frmAcercade::Form_Load()
{
    setWindowTitle(QStringLiteral("Acerca de ") + QString::fromLatin1(platform::kProgramTitle));
    lblVersion->setText(QStringLiteral("Versión 4.0"));
    lblTitle->setText(QStringLiteral("Tervalo."));
    lblDescription->setText(QStringLiteral("Elaboración de contratos de trabajo para los trabajadores de las empresas clientes."));
    lblDisclaimer->setText(QStringLiteral("Aviso: este programa está protegido por las leyes de propiedad intelectual; "
                                          "su copia o distribución sin autorización de Quelvan está prohibida."));
}

void frmAcercade::Form_Activate()
{
    // Without the logo file the box shows no picture.
    imgAcerca->setPixmap(QPixmap(platform::hostPath(QString::fromLatin1(kLogo))));
    imgAcerca->update();
}

void frmAcercade::cmdOK_Click()
{
    Forms::unload(*this);
}

void frmAcercade::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAcercade::StartSysInfo()
{
    const QString machine = QStringLiteral("HKEY_LOCAL_MACHINE");
    QString valor;
    if (GetKeyValue(machine, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"), QStringLiteral("PATH"), valor)
        && platform::launcher().start(valor))
        return;
    if (GetKeyValue(machine, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"), QStringLiteral("MSINFO"),
                    valor)) {
        const QString programa = platform::hostPath(valor + QStringLiteral("\\MSINFO32.EXE"));
        if (QFileInfo::exists(programa) && platform::launcher().start(programa))
            return;
    }
    platform::MsgBox(QStringLiteral("La información del sistema no está disponible en este momento"));
}

bool frmAcercade::GetKeyValue(const QString& KeyRoot, const QString& KeyName, const QString& SubKeyRef, QString& KeyVal)
{
    Q_UNUSED(KeyRoot);
    const auto valor = platform::registry().value(KeyName, SubKeyRef);
    KeyVal = valor.value_or(QString());
    return valor.has_value();
}
