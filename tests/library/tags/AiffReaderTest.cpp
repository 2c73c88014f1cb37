#include "TagTestBytes.h"
#include "library/tags/ID3.h"
#include "support/AStringPrinting.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace tagtest;

namespace {

Bytes Aiff(const Bytes& chunks) {
    return Concat({Text("FORM"), BE32(uint32_t(chunks.size() + 4)), Text("AIFF"), chunks});
}

const Bytes kTagChunk = Chunk("ID3 ", Tag(3, TextFrame(3, "TIT2", "Found")));

AString TitleOf(const Bytes& file) {
    TempDir dir;
    ID3 tags;
    EXPECT_EQ(ReadBytesAs(dir.File("s.aiff"), file, tags), 0);
    return TextOf(&ID3::GetTitle, tags);
}

TEST(Aiff, FindsTheTagChunk) {
    const Bytes comm = Chunk("COMM", Bytes(18, 1));
    const Bytes ssnd = Chunk("SSND", Bytes(64, 2));
    EXPECT_EQ(TitleOf(Aiff(Concat({comm, ssnd, kTagChunk}))), AString("Found"));
    EXPECT_EQ(TitleOf(Aiff(Concat({comm, ssnd}))), AString());
    EXPECT_EQ(TitleOf(Concat({Text("RIFF"), Bytes(100, 0)})), AString());
    EXPECT_EQ(TitleOf(Aiff(Concat({Chunk("ZERO", {}), kTagChunk}))), AString()); // size 0 ends the walk
    EXPECT_EQ(TitleOf(Aiff(Concat({comm, Text("ID3")}))), AString());            // a header cut short
}

TEST(Aiff, OddSizedChunksWithAndWithoutThePadByte) {
    const Bytes odd = Chunk("NAME", Text("odd"));
    EXPECT_EQ(TitleOf(Aiff(Concat({odd, {0}, kTagChunk}))), AString("Found"));
    // A writer that left the pad byte out.
    EXPECT_EQ(TitleOf(Aiff(Concat({odd, kTagChunk}))), AString("Found"));
}

} // namespace
