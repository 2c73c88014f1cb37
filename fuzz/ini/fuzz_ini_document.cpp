// Private-profile files come from other computers (".txfig"): any bytes must read, take a key and
// write back; a written key must read back, and a written document must read as itself.
#include "platform/ini/IniDocument.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using nativeini::IniDocument;
using nativeini::IniEntry;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    IniDocument document = IniDocument::FromBytes(bytes);
    document.Find("Stat", "ExtIP");
    const IniEntry entry{"ExtPort", "10564"};
    document.Set("Stat", std::span(&entry, 1));
    if (document.Find("stat", "EXTPORT") != "10564")
        __builtin_trap();
    const std::string written = document.ToBytes();
    if (IniDocument::FromBytes(written).ToBytes() != written)
        __builtin_trap();
    return 0;
}
