// The iTunes preferences file names the user's account: any bytes in it give a name or an error code,
// and a failure leaves the caller's name as it was.
#include "common/FuzzFolder.h"
#include "library/itunes/ReadTunesPrefs.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzzcommon::WriteFuzzFile("iTunes.pref", data, size);
    AString name("unchanged");
    const int result = ReadTunesPrefsFile(AString::FromSystem8Bit(path), name);
    if (result > 0 || (result == 0 && name.IsEmpty()) || (result < 0 && name != AString("unchanged")))
        std::abort();
    return 0;
}
