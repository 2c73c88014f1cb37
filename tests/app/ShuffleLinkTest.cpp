// Linking an iPod known by its own database to this computer's library: the library's id from the
// library file, written into the iPod's existing "iTunesPrefs" low word first, and the command's
// refusals, question and messages.

#include "app/commands/ShuffleLink.h"
#include "app/state/AppErrorCodes.h"
#include "foundation/ErrorCodes.h"
#include "harness/AppTestHome.h"
#include "support/AStringPrinting.h"
#include "support/RecordingUserInterface.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>

namespace fs = std::filesystem;

namespace {

constexpr const char* kIdKey = "\t<key>Library Persistent ID</key>";
constexpr size_t kPrefsSize = 24;

std::vector<uint8_t> OldPrefs(size_t size = kPrefsSize) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(0xA0 + i);
    return bytes;
}

// The old prefs with eight bytes at the id's place.
std::vector<uint8_t> PrefsWithId(std::vector<uint8_t> id) {
    std::vector<uint8_t> bytes = OldPrefs();
    std::copy(id.begin(), id.end(), bytes.begin() + 12);
    return bytes;
}

class ShuffleLinkTest : public testing::Test {
protected:
    ShuffleLinkTest() { fs::create_directories(PrefsPath().parent_path()); }

    void WriteLibrary(const std::string& idLine) const {
        fs::create_directories(home.Folder().File("XDG_MUSIC_DIR/iTunes"));
        WriteText(home.Folder().File("XDG_MUSIC_DIR/iTunes/iTunes Music Library.xml"),
                  "<plist version=\"1.0\">\r\n<dict>\r\n\t<key>Major Version</key><integer>1</integer>\r\n" +
                      idLine + "\r\n</dict>\r\n</plist>\r\n");
    }
    fs::path PrefsPath() const { return home.Folder().File("pod/iPod_Control/iTunes/iTunesPrefs"); }
    AString PodRoot() const { return home.Folder().Text("pod"); }
    std::optional<std::vector<uint8_t>> Prefs() const {
        if (!fs::exists(PrefsPath()))
            return std::nullopt;
        return ReadBytes(PrefsPath());
    }

    AppTestHome home;
    RecordingUserInterface user;
};

} // namespace

TEST_F(ShuffleLinkTest, TheIdIsWrittenLowWordFirstAndABadIdChangesNothing) {
    struct Case {
        std::string line;
        int result;
        std::vector<uint8_t> prefs;
    };
    const std::vector<uint8_t> unchanged = OldPrefs();
    for (const Case& c : {
             Case{std::string(kIdKey) + "<string>0123456789ABCDEF</string>", 0,
                  PrefsWithId({0x67, 0x45, 0x23, 0x01, 0xEF, 0xCD, 0xAB, 0x89})},
             Case{std::string(kIdKey) + "<string>1A2b</string>", 0, PrefsWithId({0x2B, 0x1A, 0, 0, 0, 0, 0, 0})},
             Case{std::string(kIdKey) + "<string>0000000100AB</string>", 0,
                  PrefsWithId({0x01, 0, 0, 0, 0xAB, 0, 0, 0})},
             Case{std::string(kIdKey) + "0123", kErrorLinkNoLibraryId, unchanged},
             Case{std::string(kIdKey) + "<string>0123", kErrorLinkLibraryIdEnd, unchanged},
             Case{std::string(kIdKey) + "<string></string>", kErrorLinkNoLibraryId, unchanged},
             Case{std::string(kIdKey) + "<string>01G3</string>", kErrorLinkNoLibraryId, unchanged},
             Case{std::string(kIdKey) + "<string>-123</string>", kErrorLinkNoLibraryId, unchanged},
             Case{std::string(kIdKey) + "<string>0123456789ABCDEF0</string>", kErrorLinkNoLibraryId, unchanged},
             Case{"\t<key>Library Persistent ID</key>", kErrorLinkNoLibraryId, unchanged},
             Case{"", kErrorShortRead, unchanged}, // no id line before the file ends
         }) {
        SCOPED_TRACE(c.line);
        WriteBytes(PrefsPath(), OldPrefs());
        WriteLibrary(c.line);
        EXPECT_EQ(ShuffleLink::Link(PodRoot()), c.result);
        EXPECT_EQ(Prefs(), c.prefs);
    }
}

TEST_F(ShuffleLinkTest, OnlyAnExistingPrefsFileLongEnoughForTheIdIsWritten) {
    WriteLibrary(std::string(kIdKey) + "<string>0123456789ABCDEF</string>");
    EXPECT_EQ(ShuffleLink::Link(PodRoot()), kErrorFileNotFound);
    EXPECT_FALSE(fs::exists(PrefsPath())) << "a missing iTunesPrefs stays missing";

    WriteBytes(PrefsPath(), OldPrefs(19));
    EXPECT_EQ(ShuffleLink::Link(PodRoot()), kErrorShortRead);
    EXPECT_EQ(Prefs(), OldPrefs(19)) << "never lengthened";

    WriteBytes(PrefsPath(), OldPrefs(20));
    EXPECT_EQ(ShuffleLink::Link(PodRoot()), 0);
    std::vector<uint8_t> expected = OldPrefs(20);
    const std::vector<uint8_t> id = {0x67, 0x45, 0x23, 0x01, 0xEF, 0xCD, 0xAB, 0x89};
    std::copy(id.begin(), id.end(), expected.begin() + 12);
    EXPECT_EQ(Prefs(), expected);
}

TEST_F(ShuffleLinkTest, WithoutALibraryFileNothingIsWritten) {
    WriteBytes(PrefsPath(), OldPrefs());
    EXPECT_EQ(ShuffleLink::Link(PodRoot()), kErrorOpen);
    EXPECT_EQ(Prefs(), OldPrefs());
}

TEST_F(ShuffleLinkTest, TheCommandRefusesAsksAndTellsHowTheLinkEnded) {
    WriteLibrary(std::string(kIdKey) + "<string>0123456789ABCDEF</string>");
    const AString question("Link iPod \"Shuffle\" to local iTunes?\nDoing so will cause iTunes to delete all songs "
                           "currently in this iPod.\nProceed?");
    const AString linked("iPod linked. Eject the iPod and re-connect\nfor the changes to take effect.");
    struct Case {
        const char* name;
        ShuffleLinkChoice choice;
        std::vector<int> answers;
        bool asked;
        std::vector<AString> messages;
        bool written;
    };
    const ShuffleLinkChoice shuffle{true, true, true, AString("Shuffle"), PodRoot()};
    ShuffleLinkChoice libraryPod = shuffle;
    libraryPod.isPodDatabase = false;
    for (const Case& c : {
             Case{"nothing chosen", {}, {}, false, {AString("No iPod Connected!")}, false},
             Case{"an entry without a record", {true, false, false, {}, {}}, {}, false, {}, false},
             Case{"an iPod of the library", libraryPod, {}, false,
                  {AString("Cannot link this iPod to this computer")}, false},
             Case{"No", shuffle, {1}, true, {}, false},
             Case{"closed without an answer", shuffle, {}, true, {}, false},
             Case{"Yes", shuffle, {0}, true, {linked}, true},
         }) {
        SCOPED_TRACE(c.name);
        WriteBytes(PrefsPath(), OldPrefs());
        user.messages.clear();
        user.alerts.clear();
        for (const int answer : c.answers)
            user.QueueAnswers({answer});
        ShuffleLink::Run(c.choice, user);
        ASSERT_EQ(user.alerts.size(), c.asked ? 1U : 0U);
        if (c.asked) {
            EXPECT_EQ(user.alerts[0].message, question);
            EXPECT_EQ(user.alerts[0].buttons[0], AString("Yes"));
            EXPECT_EQ(user.alerts[0].buttons[1], AString("No"));
        }
        EXPECT_EQ(user.messages, c.messages);
        EXPECT_EQ(Prefs() != OldPrefs(), c.written);
    }
}

TEST_F(ShuffleLinkTest, AFailedLinkNamesItsCodeAndText) {
    WriteLibrary(std::string(kIdKey) + "<string>0123456789ABCDEF</string>");
    user.QueueAnswers({0});
    ShuffleLink::Run({true, true, true, AString("Shuffle"), PodRoot()}, user);
    ASSERT_EQ(user.messages.size(), 1U);
    EXPECT_EQ(user.messages[0], AString("An error occured while trying to link the iPod to local iTunes: -11160: "
                                        "File not found."));
    EXPECT_FALSE(fs::exists(PrefsPath()));
}
