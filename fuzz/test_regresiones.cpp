// Every input kept for a driver (its seeds and the inputs of faults found and
// mended) runs through the driver's body: none may end the process.
#include "Drivers.h"
#include "Entorno.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cctype>

#include <gtest/gtest.h>

namespace {

struct Entrada {
    const fuzz::Driver* driver;
    QString fichero;
};

std::vector<Entrada> Entradas()
{
    std::vector<Entrada> entradas;
    for (const fuzz::Driver& driver : fuzz::Drivers()) {
        for (const char* carpeta : {"corpus", "regresiones"}) {
            const QDir dir(QStringLiteral(TERVALO_ENTRADAS "/%1/%2")
                               .arg(QLatin1String(carpeta), QLatin1String(driver.nombre)));
            for (const QString& nombre : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name))
                entradas.push_back({&driver, dir.filePath(nombre)});
        }
    }
    return entradas;
}

class Regresion : public testing::TestWithParam<Entrada> {};

TEST_P(Regresion, ReadsWithoutFault)
{
    QFile file(GetParam().fichero);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << GetParam().fichero.toStdString();
    const QByteArray bytes = file.readAll();
    fuzz::Preparar();
    GetParam().driver->cuerpo(reinterpret_cast<const uint8_t*>(bytes.constData()),
                              static_cast<std::size_t>(bytes.size()));
}

// The driver and the file, as a test's name may be written.
std::string Nombre(const testing::TestParamInfo<Entrada>& info)
{
    std::string nombre = std::string(info.param.driver->nombre) + "_"
        + QFileInfo(info.param.fichero).fileName().toStdString() + "_" + std::to_string(info.index);
    for (char& c : nombre) {
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    }
    return nombre;
}

INSTANTIATE_TEST_SUITE_P(Entradas, Regresion, testing::ValuesIn(Entradas()), Nombre);

} // namespace
