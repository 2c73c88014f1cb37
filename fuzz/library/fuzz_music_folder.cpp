// The library file names the music folder in a "file://" URL: any bytes in it give a folder (the
// default one when none is named). The URL escapes decode without growing the text, and a text
// without escapes decodes to itself.
#include "common/FuzzFolder.h"
#include "library/itunes/MusicFolder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzcommon::WriteFuzzFile("home/iTunes/iTunes Music Library.xml", data, size);
    if (ReadMusicFolderIn(AString::FromSystem8Bit(fuzzcommon::FuzzFolder() + "/home")).IsEmpty())
        std::abort();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const AString text = AString::FromSystem8Bit(bytes);
    const AString decoded = DecodeUrlEscapes(text);
    if (decoded.GetLength() > text.GetLength() || (text.Find(u'%') < 0 && decoded != text))
        std::abort();
    return 0;
}
