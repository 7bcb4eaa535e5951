// Text in and out of the company window's boxes, whatever their kind, for the parts of the window.
#pragma once

#include "platform/MaskEdBox.h"
#include "platform/TextBox.h"

#include <QPlainTextEdit>

namespace cajas_empresa {

using platform::MaskEdBox;
using platform::TextBox;

// The text of a box of any of the kinds the window has; a masked box gives
// its whole mask.
inline QString textoDe(const QWidget* caja)
{
    if (const auto* mascara = qobject_cast<const MaskEdBox*>(caja))
        return mascara->Text();
    if (const auto* texto = qobject_cast<const TextBox*>(caja))
        return texto->text();
    if (const auto* memo = qobject_cast<const QPlainTextEdit*>(caja))
        return memo->toPlainText();
    return {};
}

inline void ponerTexto(QWidget* caja, const QString& texto)
{
    if (auto* mascara = qobject_cast<MaskEdBox*>(caja))
        mascara->setText(texto);
    else if (auto* linea = qobject_cast<TextBox*>(caja))
        linea->setText(texto);
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(caja))
        memo->setPlainText(texto);
}

inline bool vacia(const QWidget* caja)
{
    if (const auto* mascara = qobject_cast<const MaskEdBox*>(caja))
        return mascara->Text() == mascara->emptyText();
    return textoDe(caja).isEmpty();
}

inline void vaciar(QWidget* caja)
{
    if (auto* mascara = qobject_cast<MaskEdBox*>(caja))
        mascara->setText(mascara->emptyText());
    else
        ponerTexto(caja, QString());
}

} // namespace cajas_empresa
