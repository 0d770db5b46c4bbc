#include "checks.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *dados, size_t tamanho)
{
    Verificacoes::sincronizacao(
        QByteArrayView(reinterpret_cast<const char *>(dados), qsizetype(tamanho)));
    return 0;
}
