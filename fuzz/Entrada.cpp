// The libFuzzer program of one driver: TERVALO_CUERPO names its body.
#include "Drivers.h"
#include "Entorno.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    fuzz::Preparar();
    fuzz::TERVALO_CUERPO(data, size);
    return 0;
}
