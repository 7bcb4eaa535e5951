#pragma once

#include "common/Documentos.h"

#include <QString>

class QAbstractButton;
class QLineEdit;
class QWidget;

namespace platform {
class Form;
}

// Printing and the copia básica of stored documents, shared by the windows
// that reopen them (record window, saved-contracts list) and by contract
// production. Each routine reports its own failures to the user in a
// Spanish message and returns, so the caller's closing steps still run.

// A window's own copies prompt: the frame "IMPRESIÓN : " with its box and
// its "Aceptar" button.
struct MarcoCopias {
    QWidget* fraDatosImprimir;
    QLineEdit* txtNumeroCopias;
    QAbstractButton* cmdCopias;
};

// Asks for a number of copies in the window's copies frame: the box takes a
// whole number from 0 to 99, "Aceptar" (or Enter) is taken only when it
// holds one, Escape means 0. The rest of the window cannot be used meanwhile.
// Returns 0 at once when another prompt is already waiting.
int PedirCopias(platform::Form& ventana, const MarcoCopias& marco);

// Manual double-sided printing: the odd pages in `copias` copies, a pause,
// the turn-over message `aviso`, the even pages, a pause. With
// `avisoImprimiendo` the notice "Imprimiendo." shows while each pass is
// sent. False, after a message, when printing failed.
bool ImprimirDobleCara(const QString& documento, int copias, const QString& aviso,
                       bool avisoImprimiendo = false);

// The copia básica: made on a copy (`borrador`) of a filled document from
// which the personal data this program wrote is first taken out; then the
// copia básica texts are written at the bookmarks the document has, it is
// saved and printed double-sided. Asks "¿Desea copia básica?" first.
struct CopiaBasicaOpciones {
    QString documento; // host path of the filled document; it is not changed
    QString borrador;  // host path of the copy to make and print
    bool produccion = false; // contract production's texts, print question and notice
    int idioma = 1;
    bool firmasPrimeraPagina = false;
    QString aviso = QString::fromUtf8(kAvisoSegundaCara);
    QString guardarComo; // host path offered for storing the copy ("…CB.doc"); empty: not offered
};
void CopiaBasica(platform::Form& ventana, const MarcoCopias& marco, const CopiaBasicaOpciones& opciones);

// The stored-contract sequence: shows a stored document in the word
// processor, asks whether to print it and in how many copies (a contract
// double-sided, an extension whole once per copy), then offers a contract's
// copia básica from "C:\Borrador.doc". The window is blocked for the whole
// run. The caller runs its own closing steps afterwards.
struct DocumentoGuardado {
    QString documento;    // host path (RutaDocumentoGuardado); empty when its name cannot be formed
    bool prorroga = false;
    QString guardarCopiaBasica; // host path of "…CB.doc" to offer; empty: not offered
};
void AbrirDocumentoGuardado(platform::Form& ventana, const MarcoCopias& marco, const DocumentoGuardado& documento);
