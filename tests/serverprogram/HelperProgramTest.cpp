// The server program as a user runs it, reached by this process as the main program reaches it: the
// remote library's list, its file requests, and a program that falls silent. What changed on the
// server's side is read after it ended, without our own readers.
#include "HelperProgramFixture.h"

#include "foundation/CopyWithProgress.h"
#include "foundation/ErrorCodes.h"
#include "support/AStringPrinting.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <set>
#include <thread>

using namespace std::chrono_literals;

namespace {

class HelperProgramTest : public HelperProgramFixture {};

// The list entry whose file is `file`, as a path of the list.
AString ListPathOf(ADirTunesRemote& list, const AString& file) {
    for (int i = 0; i < list.GetCount(); ++i) {
        AString path;
        if (list.GetFullPath(*list.GetEntry(i), path, 0) == 0 && path == file) {
            AString listPath(ADirTunesRemote::kRootMarker);
            listPath.AppendPath(*list.GetEntry(i));
            return listPath;
        }
    }
    ADD_FAILURE() << file.ToUtf8() << " is not listed";
    return AString();
}

std::chrono::milliseconds Timed(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
}

} // namespace

TEST_F(HelperProgramTest, ItsSongsAreListedFetchedReplacedAndDeleted) {
    const std::vector<HelperSong>& songs = ServedSongs();
    auto list = RemoteList();
    ASSERT_EQ(list->Connect(), 0);
    ASSERT_EQ(list->Open(nullptr, 0, CancelCallback()), 0);
    std::set<std::string> listed;
    for (int i = 0; i < list->GetCount(); ++i) {
        AString path;
        ASSERT_EQ(list->GetFullPath(*list->GetEntry(i), path, 0), 0);
        listed.insert(path.ToUtf8());
    }
    std::set<std::string> served;
    for (const HelperSong& song : songs)
        served.insert(Remote(server->FileOf(song)).ToUtf8());
    EXPECT_EQ(listed, served);

    ASSERT_EQ(CopyWithProgress(Remote(server->FileOf(songs[0])), local.Text("fetched.mp3"), CancelCallback(),
                               &progress, false),
              0);
    EXPECT_EQ(ReadBytes(local.File("fetched.mp3")), ReadBytes(server->FileOf(songs[0])));

    std::vector<uint8_t> newer = FixtureBytes(songs[1].fixture);
    newer.insert(newer.end(), 4096, 0x55);
    WriteBytes(local.File("newer.mp3"), newer);
    ASSERT_EQ(CopyWithProgress(local.Text("newer.mp3"), Remote(server->FileOf(songs[1])), CancelCallback(),
                               &progress, false),
              0);

    ASSERT_EQ(list->DeleteFile(ListPathOf(*list, Remote(server->FileOf(songs[2]))), 0, 0), 0);
    EXPECT_EQ(list->Disconnect(), 0);
    EXPECT_EQ(progress.PendingLog(), AString()) << "no communication error";
    ASSERT_TRUE(server->Stop()) << server->Output();

    EXPECT_EQ(ReadBytes(server->FileOf(songs[1])), newer);
    EXPECT_EQ(server->LibraryFiles(),
              (std::set<std::string>{server->FileOf(songs[0]), server->FileOf(songs[1]), server->FileOf(songs[3])}));
    EXPECT_EQ(server->FilesBelowITunes(),
              (std::set<std::string>{server->FileOf(songs[0]), server->FileOf(songs[1]), server->FileOf(songs[3]),
                                     server->RemovedFiles() + "/" + songs[2].file,
                                     serverHome.File("Music/iTunes/iTunes Music Library.xml"),
                                     serverHome.File("Music/iTunes/.iTunes Music Library.xml.lock")}))
        << "no other file was left (the library file's lock stays beside it)";
}

// A program that stops (as a hung or stopped process does) holds its connections open and answers
// nothing: the request ends when its time has passed, or at once when cancelled, and the program
// serves again once it goes on.
TEST_F(HelperProgramTest, AProgramThatFallsSilentEndsTheRequestInTimeOrAtACancel) {
    constexpr int kSilenceMs = 2000;
    auto list = RemoteList();
    ASSERT_EQ(list->Connect(), 0);
    server->Pause();
    link->SetLongestSilence(kSilenceMs);
    int result = 0;
    auto waited = Timed([&] { result = list->Open(nullptr, 0, CancelCallback()); });
    EXPECT_EQ(result, kErrorRemoteSilent);
    EXPECT_LT(waited, kSilenceMs * 1ms + 3s);
    EXPECT_EQ(progress.PendingLog(), "Communication Error: InitWPath\r\n");

    link->SetLongestSilence(CASockets::kLongestSilenceMs);
    std::atomic<bool> cancelled{false};
    std::thread user([&cancelled] {
        std::this_thread::sleep_for(300ms);
        cancelled = true;
    });
    waited = Timed([&] { result = list->Open(nullptr, 0, [&cancelled] { return cancelled ? 1 : 0; }); });
    user.join();
    EXPECT_EQ(result, kUserCancel);
    EXPECT_LT(waited, 300ms + 3s);

    server->Resume();
    auto again = RemoteList();
    ASSERT_EQ(again->Connect(), 0);
    // The program first works off what came while it was stopped.
    for (int attempt = 0; attempt < 20 && (result = again->Open(nullptr, 0, CancelCallback())) != 0; ++attempt)
        std::this_thread::sleep_for(250ms);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(again->GetCount(), static_cast<int>(ServedSongs().size()));
    again->Disconnect();
    list->Disconnect();
    EXPECT_TRUE(server->Stop()) << server->Output();
}
