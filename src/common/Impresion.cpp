#include "common/Impresion.h"

#include "common/Module1.h"
#include "common/frmMensaje.h"
#include "platform/DesktopWindows.h"
#include "platform/Document.h"
#include "platform/Form.h"
#include "platform/Forms.h"
#include "platform/MessageBoxes.h"
#include "platform/Office.h"
#include "platform/Paths.h"

#include <QAbstractButton>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpressionValidator>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QTimer>
#include <QWindow>

using platform::MsgBox;
namespace estilo = platform::style;

namespace {

void Informar(const std::exception& e)
{
    MsgBox(QString::fromUtf8(e.what()), estilo::Critical);
}

} // namespace

int PedirCopias(platform::Form& ventana, const MarcoCopias& marco)
{
    static bool esperando = false;
    if (esperando)
        return 0;
    QScopedValueRollback<bool> enCurso(esperando, true);
    platform::BlockedWindow bloqueo(ventana, {marco.fraDatosImprimir});

    QLineEdit* caja = marco.txtNumeroCopias;
    QRegularExpressionValidator cifras(QRegularExpression(QStringLiteral("\\d{0,2}")));
    const QValidator* anterior = caja->validator();
    caja->setValidator(&cifras);
    caja->clear();
    marco.fraDatosImprimir->show();
    caja->setFocus();
    // The window asks over the document the word processor shows, with the
    // keyboard in its box.
    platform::KeepAbove arriba(ventana);
    if (QWindow* propia = ventana.windowHandle())
        platform::desktopWindows().activate(*propia);

    int copias = 0;
    QEventLoop espera;
    QObject contexto; // the connections below end with the prompt
    QObject::connect(marco.cmdCopias, &QAbstractButton::clicked, &contexto, [&] {
        if (caja->text().isEmpty()) {
            caja->setFocus();
            return;
        }
        copias = caja->text().toInt();
        CopiasAceptadas = true;
        espera.quit();
    });
    QObject::connect(caja, &QLineEdit::returnPressed, &contexto, [&] { marco.cmdCopias->click(); });
    QPointer<QShortcut> escape = new QShortcut(QKeySequence(Qt::Key_Escape), marco.fraDatosImprimir);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(escape, &QShortcut::activated, &contexto, [&] {
        copias = 0;
        espera.quit();
    });
    // Nobody is left waiting on a window that went away or cannot be seen.
    QPointer<platform::Form> vigilada(&ventana);
    QTimer vigia;
    QObject::connect(&vigia, &QTimer::timeout, &contexto, [&] {
        if (!vigilada || !platform::Forms::isLoaded(*vigilada) || vigilada->isHidden()
            || platform::Forms::programEnded())
            espera.quit();
    });
    vigia.start(200);
    espera.exec();
    delete escape.data();

    CopiasAceptadas = false;
    if (vigilada) {
        caja->clear();
        caja->setValidator(anterior);
        marco.fraDatosImprimir->hide();
    }
    return copias;
}

bool ImprimirDobleCara(const QString& documento, int copias, const QString& aviso, bool avisoImprimiendo)
{
    auto pasada = [&](platform::PageSet paginas) {
        if (avisoImprimiendo) {
            auto& notice = platform::Forms::get<frmImprimiendo>();
            notice.lblImprimir->setText(QStringLiteral("Imprimiendo."));
            platform::Forms::show(notice);
        }
        if (copias > 0)
            platform::office().print(documento, paginas, copias);
        Esperar(15);
        if (auto* notice = platform::Forms::loaded<frmImprimiendo>())
            platform::Forms::hide(*notice);
    };
    try {
        pasada(platform::PageSet::Odd);
        MsgBox(aviso, estilo::Information);
        pasada(platform::PageSet::Even);
    } catch (const std::runtime_error& e) {
        if (auto* notice = platform::Forms::loaded<frmImprimiendo>())
            platform::Forms::hide(*notice);
        Informar(e);
        return false;
    }
    return true;
}

void CopiaBasica(platform::Form& ventana, const MarcoCopias& marco, const CopiaBasicaOpciones& o)
{
    if (MsgBox(QStringLiteral("¿Desea copia básica?"), estilo::YesNo) != platform::Answer::Yes)
        return;
    try {
        CopiarDocumento(o.documento, o.borrador);
        Esperar(2);
        platform::Document copia = platform::Document::open(o.borrador);
        const QStringList dudosas = copia.removeInsertions(MarcasDatosPersonales());
        if (!dudosas.isEmpty())
            throw platform::DocumentError(
                platform::DocumentError::Kind::Unsure,
                QStringLiteral("No se hace la copia básica: lo escrito en las marcas %1 del documento se ha cambiado "
                               "fuera del programa y no se puede quitar con seguridad.")
                    .arg(dudosas.join(QStringLiteral(", "))));
        const auto variante = o.produccion ? VarianteCopiaBasica::Produccion : VarianteCopiaBasica::ContratoGuardado;
        const std::vector<TextoMarca> textos = TextosCopiaBasica(variante, o.idioma, o.firmasPrimeraPagina);
        // A copy without some of its texts is no copia básica: none is made.
        QStringList faltan;
        for (const TextoMarca& t : textos) {
            if (!copia.hasBookmark(t.marca))
                faltan << t.marca;
        }
        if (!faltan.isEmpty())
            throw platform::DocumentError(
                platform::DocumentError::Kind::NoBookmark,
                (faltan.size() == 1 ? QStringLiteral("No se hace la copia básica: el documento no tiene la marca %1, "
                                                     "donde se escribe uno de sus textos.")
                                    : QStringLiteral("No se hace la copia básica: el documento no tiene las marcas %1, "
                                                     "donde se escriben sus textos."))
                    .arg(faltan.join(QStringLiteral(", "))));
        for (const TextoMarca& t : textos)
            copia.insertAfter(t.marca, t.texto);
        copia.save();
    } catch (const std::runtime_error& e) {
        Informar(e);
        return;
    }

    if (!o.produccion) {
        ImprimirDobleCara(o.borrador, PedirCopias(ventana, marco), o.aviso);
    } else {
        if (MsgBox(QStringLiteral("¿Desea Imprimir la copia básica?"), estilo::YesNo) == platform::Answer::Yes)
            ImprimirDobleCara(o.borrador, PedirCopias(ventana, marco), o.aviso, true);
        Esperar(2);
    }

    if (!o.guardarComo.isEmpty()
        && MsgBox(QStringLiteral("¿Desea guardar la Copia Básica?"), estilo::YesNo) == platform::Answer::Yes) {
        try {
            CopiarDocumento(o.borrador, o.guardarComo);
            MostrarMensaje(QStringLiteral("Copia Básica grabada."), 1);
        } catch (const std::runtime_error& e) {
            Informar(e);
        }
    }
    if (!o.produccion)
        Esperar(2);
}

void AbrirDocumentoGuardado(platform::Form& ventana, const MarcoCopias& marco, const DocumentoGuardado& d)
{
    platform::BlockedWindow bloqueo(ventana, {marco.fraDatosImprimir});
    ventana.setMousePointer(11);
    try {
        if (d.documento.isEmpty())
            throw std::runtime_error(
                QStringLiteral("No se puede formar el nombre del documento guardado: faltan el número de empresa o "
                               "el de trabajador, o tienen caracteres que un nombre de fichero no admite.")
                    .toStdString());
        platform::Document::open(d.documento); // missing or unreadable: its own message
        platform::showDocument(d.documento);
    } catch (const std::runtime_error& e) {
        ventana.setMousePointer(0);
        Informar(e);
        return;
    }
    ventana.setMousePointer(0);

    const QString pregunta = d.prorroga ? QStringLiteral("¿Desea Imprimir la prórroga?")
                                        : QStringLiteral("¿Desea Imprimir el contrato?");
    if (MsgBox(pregunta, estilo::YesNo + estilo::Question + estilo::DefaultButton2, QStringLiteral("Confirmación."))
        == platform::Answer::Yes) {
        Esperar(4);
        const int copias = PedirCopias(ventana, marco);
        if (d.prorroga) {
            try {
                if (copias > 0)
                    platform::office().print(d.documento, platform::PageSet::All, copias);
                Esperar(15);
            } catch (const std::runtime_error& e) {
                Informar(e);
            }
        } else {
            ImprimirDobleCara(d.documento, copias, QString::fromUtf8(kAvisoSegundaCara));
        }
        Esperar(2);
    }
    if (d.prorroga)
        return;

    CopiaBasicaOpciones copia;
    copia.documento = d.documento;
    copia.borrador = platform::hostPath(QString::fromLatin1(kBorrador));
    copia.guardarComo = d.guardarCopiaBasica;
    // Printed and stored by the time it returns, the scratch copy goes
    // whatever happens: until its personal data is taken out it holds it all.
    const auto borrar = qScopeGuard([&copia] { QFile::remove(copia.borrador); });
    CopiaBasica(ventana, marco, copia);
}
