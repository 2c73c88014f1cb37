// The foundation's readers of untrusted bytes: the first byte chooses the reader, the rest is its
// input. Every input must end in a result or an error code.
#include "foundation/AArray.h"
#include "foundation/AFileList.h"
#include "foundation/AMemFile.h"
#include "foundation/AString.h"
#include "foundation/Base64Coder.h"
#include "foundation/FileInfo.h"
#include "foundation/SlashFields.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const uint8_t selector = data[0];
    AMemFile stream(data + 1, static_cast<uint32_t>(size - 1));
    switch (selector % 7) {
    case 0: {
        AString text;
        text.Load(stream);
        break;
    }
    case 1: {
        AString text;
        text.Read(stream, static_cast<AString::Form>(1 + (selector >> 3) % 8), AString::kMaxRecordBytes);
        break;
    }
    case 2: {
        AArray array;
        array.Load(stream);
        break;
    }
    case 3: {
        AFileList list;
        list.Load(stream);
        break;
    }
    case 4: {
        FileInfo info;
        info.Load(stream);
        break;
    }
    case 5: {
        Base64Coder coder;
        coder.Decode(reinterpret_cast<const char*>(data + 1), static_cast<uint32_t>(size - 1));
        break;
    }
    default: {
        int a, c, d;
        uint64_t b;
        AString text1, text2;
        ParseSlashFields(a, b, c, d, text1, text2, AString::FromUtf16LE(data + 1, size - 1));
        break;
    }
    }
    return 0;
}
