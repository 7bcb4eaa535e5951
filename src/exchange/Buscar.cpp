#include "exchange/Buscar.h"

#include "app/frmMenu.h"
#include "exchange/ContratoImportado.h"
#include "platform/Files.h"
#include "platform/Forms.h"
#include "platform/MessageBoxes.h"

#include <QCoreApplication>
#include <QListWidget>

int FicherosImportados = 0;
int FicherosTemporales = 0;

namespace {

// Fills List1 with the files of `carpeta`; a folder that cannot be read is
// told and lists nothing. The number of entries added.
int Listar(const QString& carpeta)
{
    auto& menu = platform::Forms::get<frmMenu>();
    menu.List1->clear();
    QCoreApplication::processEvents();
    try {
        const QStringList ficheros = exchange::ListarFicheros(carpeta);
        menu.List1->addItems(ficheros);
        return static_cast<int>(ficheros.size());
    } catch (const platform::FileError& error) {
        platform::MsgBox(QString::fromStdString(error.what()), platform::style::Critical);
        return 0;
    }
}

// The folders as the list names them.
const QString kImportados = QStringLiteral("c:\\Quelvan\\Dorvane\\ContratosImp");
const QString kTemporales = QStringLiteral("c:\\Quelvan\\Dorvane\\ContratosTemp");
const QString kTitulo = QStringLiteral("Menú Principal");

} // namespace

void BuscarImportados()
{
    FicherosImportados = Listar(kImportados);
    if (FicherosImportados > 0)
        platform::MsgBox(QStringLiteral("Se encontraron %1 Contratos").arg(FicherosImportados),
                         platform::style::Information, kTitulo);
    else
        platform::MsgBox(QStringLiteral("No se encontraron ficheros"), platform::style::Information, kTitulo);
}

void BuscarTemporales()
{
    FicherosTemporales = Listar(kTemporales);
    if (FicherosTemporales == 0)
        platform::MsgBox(QStringLiteral("No se encontraron Contratos"), platform::style::Information, kTitulo);
}
