// The main window's server-access panel: the configuration it shows and saves, and the masked entry of the address.
#include "app/frmMenu.h"

#include "common/Module1.h"
#include "common/frmMensaje.h"
#include "platform/Controls.h"
#include "platform/Files.h"
#include "platform/MaskEdBox.h"
#include "platform/MessageBoxes.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

using platform::isShown;

namespace {

// Octet 1-4 of the masked address text (places 1-3, 5-7, 9-11, 13-15).
QString octeto(const QString& texto, int n)
{
    return texto.mid((n - 1) * 4, 3);
}

QString conOcteto(QString texto, int n, const QString& valor)
{
    texto.replace((n - 1) * 4, 3, valor);
    return texto;
}

// The number an octet holds, blanks around the digits allowed; nothing when
// it holds anything else.
std::optional<int> numeroDeOcteto(const QString& octetoTexto)
{
    const QString recortado = octetoTexto.trimmed();
    if (recortado.isEmpty())
        return std::nullopt;
    for (QChar c : recortado) {
        if (!c.isDigit())
            return std::nullopt;
    }
    return recortado.toInt();
}

} // namespace

void frmMenu::MostrarPanelConfiguracion(bool visible)
{
    // The masked entry ends with the panel; it opens again on an empty mask.
    mskIp->hide();
    txtIp->show();
    for (QWidget* w : std::initializer_list<QWidget*>{fraConfigurar, shaConfigurar, CmdGuardar, cmdCerrar})
        w->setVisible(visible);
}

void frmMenu::LeerConfiguracion()
{
    configuracion_ = ::LeerConfiguracion();
}

void frmMenu::cmdConfigurar_Click()
{
    CerrarResultadosYAvisos();
    try {
        LeerConfiguracion();
    } catch (const platform::FileError& error) {
        platform::MsgBox(QString::fromStdString(error.what()), platform::style::Critical);
        return;
    }
    // The blanks that pad the fields belong to the file, not to the text.
    txtIp->setText(platform::unpadded(configuracion_.Ip));
    txtPassword->setText(platform::unpadded(configuracion_.Password));
    txtUsuario->setText(platform::unpadded(configuracion_.Usuario));
    txtClaveUsuario->setText(platform::unpadded(configuracion_.ClaveUsuario));
    MostrarPanelConfiguracion(true);
    shaMantenimientos->hide();
    fraMantenimientos->hide();
}

void frmMenu::CmdGuardar_Click()
{
    // What the masked entry shows is the address, whether or not its box has
    // been left.
    if (!CerrarEntradaIp())
        return;
    // An address of empty octets ("...") is no address at all.
    QString ip = txtIp->text();
    if (ip.trimmed().remove(QLatin1Char('.')).trimmed().isEmpty())
        ip.clear();
    try {
        // Re-read so that the parameters saved meanwhile by another window stay.
        configuracion_ = ActualizarConfiguracion([&](DatosConfiguracion& d) {
            d.Ip = ip;
            d.Password = txtPassword->text();
            d.Usuario = txtUsuario->text();
            d.ClaveUsuario = txtClaveUsuario->text();
        });
    } catch (const platform::FileError& error) {
        platform::MsgBox(QString::fromStdString(error.what()), platform::style::Critical);
        return;
    }
    MostrarMensaje(QStringLiteral("Datos de la configuración grabados."));
    MostrarPanelConfiguracion(false);
    cmdConfigurar->setFocus();
}

void frmMenu::cmdCerrar_Click()
{
    MostrarPanelConfiguracion(false);
    cmdConfigurar->setFocus();
}

// Masked entry of the server address: it opens on a double click of the
// address, moves from octet to octet with ".", and refuses octets above 255.

void frmMenu::txtIp_DblClick()
{
    mskIp->show();
    txtIp->hide();
    mskIp->setText(mskIp->emptyText());
    mskIp->setFocus();
    mskIp->setSelStart(0);
}

void frmMenu::mskIp_KeyPress(int& KeyAscii)
{
    if (KeyAscii == 8 || (KeyAscii >= '0' && KeyAscii <= '9'))
        return;
    if (KeyAscii == ' ') {
        if (CerrandoOcteto)
            PasoBlanco();
        return;
    }
    if (KeyAscii != '.') {
        KeyAscii = 0;
        return;
    }

    // "." closes the octet before the first empty one.
    PosicionIp = 0;
    const QString texto = mskIp->Text();
    const QString vacio = QStringLiteral("___");
    if (octeto(texto, 1) == vacio) {
        PosicionIp = 1;
        KeyAscii = '_';
    } else {
        int k = 4;
        for (int n = 2; n <= 4; ++n) {
            if (octeto(texto, n) == vacio) {
                k = n - 1;
                break;
            }
        }
        const int b = (k - 1) * 4 + 2;
        const int c = b + 1;
        if (k < 4 && texto.at(c - 1) != QLatin1Char('_')) {
            PosicionIp = k * 4 + 1;
            KeyAscii = '_';
        } else if (texto.at(b - 1) == QLatin1Char('_')) {
            PosicionIp = b;
            KeyAscii = ' ';
        } else if (texto.at(c - 1) == QLatin1Char('_')) {
            PosicionIp = c;
        }
    }
    if (PosicionIp != 0) {
        CerrandoOcteto = true;
        PasoBlanco();
        CerrandoOcteto = false;
    }
}

// Blanks the place PosicionIp and moves the cursor past it; at the end of the
// last octet the entry moves on to the user name.
void frmMenu::PasoBlanco()
{
    BlanquearPosicionIp(PosicionIp);
    switch (PosicionIp) {
    case 1:
    case 5:
    case 9:
    case 13:
        mskIp->setSelStart(PosicionIp - 1);
        break;
    case 14:
    case 15:
        txtUsuario->setFocus();
        if (isShown(mskIp))
            mskIp->leaveFocus();
        break;
    default:
        mskIp->setSelStart(PosicionIp);
        break;
    }
}

void frmMenu::BlanquearPosicionIp(int posicion)
{
    QString texto = mskIp->Text();
    switch (posicion) {
    case 2:
    case 3:
    case 6:
    case 7:
    case 10:
    case 11:
    case 15:
        texto[posicion - 1] = QLatin1Char(' ');
        break;
    case 14:
        texto[13] = QLatin1Char(' ');
        texto[14] = QLatin1Char(' ');
        break;
    default:
        return;
    }
    mskIp->setText(texto);
}

void frmMenu::SituarEnOcteto(int octetoNumero)
{
    if (octetoNumero >= 1 && octetoNumero <= 4)
        mskIp->setSelStart((octetoNumero - 1) * 4);
    OctetoCorregido = true;
}

void frmMenu::mskIp_KeyUp(int, int)
{
    if (OctetoCorregido) {
        OctetoCorregido = false;
        return;
    }
    RechazarOctetoAlto();
}

// The first octet above 255 is refused: the message, the octet emptied and
// the cursor at its start. False when there is none.
bool frmMenu::RechazarOctetoAlto()
{
    const QString texto = mskIp->Text();
    for (int n = 1; n <= 4; ++n) {
        const auto valor = numeroDeOcteto(octeto(texto, n));
        if (valor && *valor > 255) {
            platform::MsgBox(n == 2 ? QStringLiteral("No es posible un valor de campo superior a 255")
                                    : QStringLiteral("No es posible un valor de campo superio a 255"),
                             platform::style::Critical);
            mskIp->setText(conOcteto(mskIp->Text(), n, QStringLiteral("___")));
            SituarEnOcteto(n);
            return true;
        }
    }
    return false;
}

// Ends an open masked entry with the address it shows, as leaving its box
// does; an octet above 255 is refused instead and the entry stays open.
bool frmMenu::CerrarEntradaIp()
{
    if (!isShown(mskIp))
        return true;
    if (RechazarOctetoAlto()) {
        mskIp->setFocus();
        return false;
    }
    return mskIp->leaveFocus();
}

void frmMenu::mskIp_Validate(bool&)
{
    QString texto = mskIp->Text();
    const QString vacio = QStringLiteral("___");
    for (int n = 1; n <= 4; ++n) {
        const auto valor = numeroDeOcteto(octeto(CambiarGuiones(texto), n));
        if (octeto(texto, n) != vacio && valor && *valor > 255)
            texto = conOcteto(texto, n, vacio);
    }
    if (octeto(texto, 4) != vacio)
        texto = conOcteto(texto, 4, CambiarGuiones(octeto(texto, 4)));
    mskIp->setText(texto);
}

void frmMenu::mskIp_LostFocus()
{
    const QString u = CambiarGuiones(mskIp->Text());
    txtIp->setText(octeto(u, 1).trimmed() + QLatin1Char('.') + octeto(u, 2).trimmed() + QLatin1Char('.')
                   + octeto(u, 3).trimmed() + QLatin1Char('.') + octeto(u, 4).trimmed());
    txtIp->show();
    mskIp->hide();
}
