#include "app/frmActualizacion.h"
#include "platform/Desktop.h"
#include "platform/Forms.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tervalo"));
    QApplication::setQuitOnLastWindowClosed(false);
    platform::installDesktop(app);

    platform::Forms::show<frmActualizacion>();
    if (platform::Forms::programEnded())
        return 0;
    return QApplication::exec();
}
