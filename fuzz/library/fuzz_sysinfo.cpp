// "SysInfo" comes from the iPod: any bytes in it give a model of the table, an unknown model or an
// error code, read from the file as an iPod is read.
#include "common/FuzzFolder.h"
#include "library/ipod/PodModelTable.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzcommon::WriteFuzzFile("pod/iPod_Control/Device/SysInfo", data, size);
    PodModelInfo info;
    const int result = GetIPodModelInfo(AString::FromSystem8Bit(fuzzcommon::FuzzFolder() + "/pod"), info);
    if (result > 0)
        std::abort();
    // A family comes only with a row of the table.
    if (result == 0 && info.family != 0 && !PodModelTable::Find(info.modelNumber))
        std::abort();
    return 0;
}
