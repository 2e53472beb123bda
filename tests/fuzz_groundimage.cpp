// libFuzzer target: bytes through the viewer's decoding of the ground picture
// (the cut-file check, Qt's decoder within the allocation limit, the
// conversion to the texture format), without GL or a window. It stops at once
// when the viewer would show a picture that the oracle calls incomplete.

#include "pictureoracle.h"

#include <QtGlobal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Broken files are the normal case here, and so are the decoders' complaints.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto bytes
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    if (!decodedFromMemory(bytes).isNull() && !isComplete(bytes)) {
        printf("The viewer shows a picture that the file does not hold whole.\n");
        fflush(stdout);
        abort();
    }
    return 0;
}
