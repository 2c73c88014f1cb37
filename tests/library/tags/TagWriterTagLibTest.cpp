// TagLib, an independent tag library, reads what the tag writer wrote: every frame it read before, and
// the new picture with the very image bytes.
#include "TagTestBytes.h"
#include "library/tags/ID3.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <string>
#include <taglib/attachedpictureframe.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <vector>

using namespace tagtest;

namespace {

struct TagLibView {
    std::vector<std::string> frames; // id and text of each frame but the pictures, in tag order
    std::vector<Bytes> pictures;
};

TagLibView ReadWithTagLib(const std::string& path) {
    TagLib::MPEG::File file(path.c_str(), false);
    TagLibView view;
    const TagLib::ID3v2::Tag* tag = file.ID3v2Tag();
    if (!tag)
        return view;
    for (const TagLib::ID3v2::Frame* frame : tag->frameList()) {
        if (const auto* picture = dynamic_cast<const TagLib::ID3v2::AttachedPictureFrame*>(frame)) {
            const TagLib::ByteVector data = picture->picture();
            view.pictures.emplace_back(data.begin(), data.end());
            continue;
        }
        view.frames.push_back(std::string(frame->frameID().data(), frame->frameID().size()) + "=" +
                              frame->toString().to8Bit(true));
    }
    return view;
}

int WritePicture(const std::string& path, const Bytes& picture) {
    ID3 tags;
    tags.Read(AString(path));
    return tags.Write(picture.data(), static_cast<uint32_t>(picture.size()), false, nullptr);
}

const Bytes kAudio = Concat({Mpeg1Layer3Frame(9, false, 417), Mpeg1Layer3Frame(9, false, 417)});

struct Song {
    const char* name;
    Bytes bytes;
};

// ID3v2.4 with an extended header that holds a CRC: TagLib steps over it by its size.
Bytes TagWithExtendedHeaderV24() {
    const Bytes extended = Concat({Synchsafe(13), {1, 0x60, 0, 5, 0x0F, 0x7F, 0x7F, 0x7F, 0x7F}});
    return Concat({Tag(4, Concat({extended, TextFrame(4, "TIT2", "Title"), Bytes(40, 0)}), 0x40), kAudio});
}

class TagLibReadsTheWrittenTag : public testing::TestWithParam<Song> {};

void PrintTo(const Song& song, std::ostream* out) {
    *out << song.name;
}

TEST_P(TagLibReadsTheWrittenTag, EveryOldFrameAndTheNewPicture) {
    TempDir dir;
    const std::string path = dir.File("song.mp3");
    WriteBytes(path, GetParam().bytes);
    const TagLibView before = ReadWithTagLib(path);
    ASSERT_FALSE(before.frames.empty());
    const Bytes png = FixtureBytes("tags/tiny.png");
    ASSERT_EQ(WritePicture(path, png), 0);
    const TagLibView after = ReadWithTagLib(path);
    EXPECT_EQ(after.frames, before.frames);
    std::vector<Bytes> pictures = before.pictures;
    pictures.push_back(png);
    EXPECT_EQ(after.pictures, pictures);
}

INSTANTIATE_TEST_SUITE_P(
    TagWriter, TagLibReadsTheWrittenTag,
    testing::Values(Song{"v24_mutagen.mp3", FixtureBytes("tags/v24_mutagen.mp3")},
                    Song{"v23_unsync.mp3", FixtureBytes("tags/v23_unsync.mp3")},
                    Song{"ID3v2.2",
                         Concat({Tag(2, Concat({TextFrame(2, "TT2", "Title"), Bytes(20, 0)})), kAudio})},
                    Song{"ID3v2.4 with an extended header", TagWithExtendedHeaderV24()}));

// A song with only an ID3v1 block gets an ID3v2.2 tag of the same fields.
TEST(TagWriter, TagLibReadsTheNewTagAsTheOldBlock) {
    TempDir dir;
    const std::string path = dir.File("song.mp3");
    WriteBytes(path, FixtureBytes("tags/id3v1_only.mp3"));
    const Bytes jpeg = FixtureBytes("tags/tiny.jpg");
    ASSERT_EQ(WritePicture(path, jpeg), 0);
    TagLib::MPEG::File file(path.c_str(), false);
    const TagLib::ID3v1::Tag* block = file.ID3v1Tag();
    const TagLib::ID3v2::Tag* tag = file.ID3v2Tag();
    ASSERT_TRUE(block && tag);
    EXPECT_EQ(tag->title(), block->title());
    EXPECT_EQ(tag->artist(), block->artist());
    EXPECT_EQ(tag->album(), block->album());
    EXPECT_EQ(tag->comment(), block->comment());
    EXPECT_EQ(tag->genre(), block->genre());
    EXPECT_EQ(tag->year(), block->year());
    EXPECT_EQ(tag->track(), block->track());
    EXPECT_EQ(ReadWithTagLib(path).pictures, std::vector<Bytes>{jpeg});
}

} // namespace
