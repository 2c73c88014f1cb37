// The foundation's readers of untrusted bytes: the first byte chooses the reader, the rest is its
// input. Every input must end in a result or an error code; a record that loads must save, load again
// whole to the same values and save the same bytes, a text read in a stored form must write and read
// back as itself, and whole groups of decoded Base64 must encode and decode to themselves.
#include "common/RecordRoundTrip.h"
#include "foundation/AArray.h"
#include "foundation/AFileList.h"
#include "foundation/AMemFile.h"
#include "foundation/AString.h"
#include "foundation/Base64Coder.h"
#include "foundation/FileInfo.h"
#include "foundation/SlashFields.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

using fuzzcommon::RequireRoundTrip;

bool SameValues(const AString& a, const AString& b) {
    return a == b;
}

bool SameValues(const AArray& a, const AArray& b) {
    if (a.GetCount() != b.GetCount())
        return false;
    for (int i = 0; i < a.GetCount(); ++i) {
        if (!std::equal(a.GetAt(i), a.GetAt(i) + a.GetLength(i), b.GetAt(i), b.GetAt(i) + b.GetLength(i)))
            return false;
    }
    return true;
}

bool SameValues(const AFileList& a, const AFileList& b) {
    if (a.GetBasePath() != b.GetBasePath() || a.GetCount() != b.GetCount())
        return false;
    for (int i = 0; i < a.GetCount(); ++i) {
        if (a.GetName(i) != b.GetName(i) || a.GetModTime(i) != b.GetModTime(i))
            return false;
    }
    return true;
}

bool SameValues(const FileInfo& a, const FileInfo& b) {
    return a.exists == b.exists && a.isDirectory == b.isDirectory && a.notHidden == b.notHidden &&
           a.reserved == b.reserved && a.size == b.size && a.modTime == b.modTime;
}

// A record of a type with Serialize and Load: loaded from the stream and, when it loads, round-tripped.
template <typename Record> void CheckRecord(AMemFile& stream) {
    Record record;
    if (record.Load(stream) != 0)
        return;
    RequireRoundTrip(
        record, [](Record& r, AMemFile& out) { return r.Serialize(out); },
        [](Record& r, AMemFile& in) { return r.Load(in); },
        [](const Record& a, const Record& b) { return SameValues(a, b); });
}

// A text read in one of the stored forms writes in that form and reads back as itself, when what was
// written fits in what one read takes (a line cut at the limit may end in its carriage return).
void CheckStoredForm(AMemFile& stream, AString::Form form) {
    AString text;
    if (text.Read(stream, form, AString::kMaxRecordBytes) != 0)
        return;
    AMemFile written;
    if (text.Write(written, form) != 0)
        std::abort();
    if (written.GetSize() > AString::kMaxRecordBytes)
        return;
    const bool readsToItsLength = form == AString::Form::Narrow || form == AString::Form::Wide;
    const int max = readsToItsLength ? static_cast<int>(written.GetSize()) : AString::kMaxRecordBytes;
    AMemFile reader(written.GetBuffer(), written.GetSize());
    AString back;
    if (back.Read(reader, form, max) != 0 || back != text)
        std::abort();
}

// Padding decodes to zero bytes that are counted (peers expect it), so only whole groups of three
// bytes come back from an encoding unchanged.
void CheckBase64(const uint8_t* text, size_t size) {
    Base64Coder coder;
    coder.Decode(reinterpret_cast<const char*>(text), static_cast<uint32_t>(size));
    const uint32_t wholeGroups = coder.GetDecodedLength() / 3 * 3;
    const std::vector<uint8_t> decoded(coder.GetDecoded(), coder.GetDecoded() + wholeGroups);
    Base64Coder again;
    again.Encode(decoded.data(), static_cast<uint32_t>(decoded.size()));
    const std::vector<char> encoded(again.GetEncoded(), again.GetEncoded() + again.GetEncodedLength());
    Base64Coder back;
    back.Decode(encoded.data(), static_cast<uint32_t>(encoded.size()));
    if (std::vector<uint8_t>(back.GetDecoded(), back.GetDecoded() + back.GetDecodedLength()) != decoded)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const uint8_t selector = data[0];
    AMemFile stream(data + 1, static_cast<uint32_t>(size - 1));
    switch (selector % 7) {
    case 0:
        CheckRecord<AString>(stream);
        break;
    case 1:
        CheckStoredForm(stream, static_cast<AString::Form>(1 + (selector >> 3) % 8));
        break;
    case 2:
        CheckRecord<AArray>(stream);
        break;
    case 3:
        CheckRecord<AFileList>(stream);
        break;
    case 4:
        CheckRecord<FileInfo>(stream);
        break;
    case 5:
        CheckBase64(data + 1, size - 1);
        break;
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
