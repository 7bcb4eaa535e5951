// Prepares a data folder for a first start: the databases and, when there is
// no catalogue yet, the sample one. Run by "tervalo.sh start" with the folder
// of the sample catalogue; $TERVALO_C names the folder that stands for C:.

#include "catalogue/CatalogoMuestra.h"
#include "common/Module1.h"
#include "data/Esquema.h"
#include "platform/Database.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <exception>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "uso: %s CARPETA_DEL_CATALOGO_DE_MUESTRA\n", argv[0]);
        return 2;
    }
    try {
        esquema::crearBasesDeDatosQueFalten();
        RutaBaseDatos();
        auto db = AbrirBaseDatos();
        if (muestra::InstalarCatalogo(db, QString::fromLocal8Bit(argv[1])))
            std::printf("Catálogo de muestra instalado.\n");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
