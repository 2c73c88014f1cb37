// A save of the iPod database made to fail or killed at each of its steps: the iPod keeps both old
// files or gets both new ones, and nothing of the save is left.
#include "PodDrive.h"
#include "ScriptedPodFileSystem.h"
#include "foundation/AMemFile.h"
#include "foundation/ErrorCodes.h"
#include "library/ipod/ITunesDB.h"
#include "library/ipod/PodSongInfo.h"
#include "platform/files/NativeFiles.h"
#include "support/TempDir.h"

#include <csignal>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using Step = ScriptedPodFileSystem::Step;

struct FilePair {
    Bytes database;
    Bytes shuffle;
    bool operator==(const FilePair&) const = default;
};

void PrintTo(const FilePair& files, std::ostream* out) {
    *out << "iTunesDB of " << files.database.size() << " bytes, iTunesSD of " << files.shuffle.size()
         << " bytes";
}

Bytes BytesOf(const AMemFile& stream) {
    return Bytes(stream.GetBuffer(), stream.GetBuffer() + stream.GetSize());
}

struct Variant {
    const char* name;
    bool exchange;   // the file system swaps two names in one step
    bool workFolder; // the database is written into a work folder first
};

const Variant kVariants[] = {
    {"exchange", true, false},
    {"exchange, work folder", true, true},
    {"no exchange", false, false},
    {"no exchange, work folder", false, true},
};

// An iPod whose iTunesDB and iTunesSD a first save wrote, and its database with one more track, ready
// to be saved again.
class PodToSave {
public:
    explicit PodToSave(const Variant& variant) {
        const AString root = m_drive.Root();
        EXPECT_EQ(0, m_db.ReadLibrary(&root, true, nullptr, nullptr));
        EXPECT_EQ(0, m_db.Save(nullptr));
        m_old = Files();
        PodSongInfo song;
        song.title = song.displayName = "New";
        song.artist = "Artist";
        song.path = "iPod_Control/Music/F00/NEWW.mp3";
        EXPECT_EQ(0, m_db.AddTrack(song, nullptr, true));
        AMemFile tree;
        EXPECT_EQ(0, m_db.GetRoot().Write(tree));
        AMemFile shuffle;
        EXPECT_EQ(0, m_db.WriteShuffleDB(&shuffle));
        m_new = {BytesOf(tree), BytesOf(shuffle)};
        if (variant.workFolder)
            m_db.SetTempFolder(AString(m_work.Path()));
        if (!variant.exchange)
            m_files.WithoutExchange();
    }

    FilePair Files() const { return {ReadBytes(m_drive.DatabaseFile()), ReadBytes(m_drive.ShuffleFile())}; }
    // What the save left in the database folder and the work folder besides the two files.
    std::vector<std::string> Leftovers() const {
        std::vector<std::string> names = m_drive.DatabaseFolderNames();
        std::erase_if(names,
                      [](const std::string& name) { return name == "iTunesDB" || name == "iTunesSD"; });
        std::vector<nativefiles::DirectoryEntry> work;
        nativefiles::ListDirectory(m_work.Path(), work);
        for (const auto& entry : work)
            names.push_back("work/" + entry.name);
        return names;
    }
    int Save() { return m_db.Save(nullptr, m_files); }

    ScriptedPodFileSystem m_files;
    FilePair m_old;
    FilePair m_new;

private:
    PodDrive m_drive{FixtureBytes("ipod/gpod-three-tracks.itdb")};
    TempDir m_work;
    ITunesDB m_db;
};

std::string StepName(Step step) {
    static const char* const kNames[] = {"create",   "write",  "flush",      "read",
                                         "exchange", "rename", "sync folder"};
    return kNames[static_cast<size_t>(step)];
}

} // namespace

TEST(ITunesDBSaveFailure, EveryFailingStepLeavesBothOldFilesOrBothNewOnes) {
    for (const Variant& variant : kVariants) {
        PodToSave counting(variant);
        ASSERT_EQ(0, counting.Save()) << variant.name;
        ASSERT_EQ(counting.m_new, counting.Files()) << variant.name;
        ASSERT_EQ(2, counting.m_files.Calls(Step::Exchange) + counting.m_files.Calls(Step::Rename));
        for (int kind = 0; kind < static_cast<int>(Step::kCount); ++kind) {
            const auto step = static_cast<Step>(kind);
            for (int call = 0; call < counting.m_files.Calls(step); ++call) {
                SCOPED_TRACE(std::string(variant.name) + ": " + StepName(step) + " " + std::to_string(call));
                PodToSave pod(variant);
                pod.m_files.FailAt(step, call);
                EXPECT_NE(0, pod.Save());
                const FilePair files = pod.Files();
                EXPECT_TRUE(files == pod.m_old || files == pod.m_new);
                // Only a folder that would not sync after both replacements leaves the new files.
                EXPECT_EQ(step == Step::SyncFolder, files == pod.m_new);
                EXPECT_EQ(std::vector<std::string>(), pod.Leftovers());
            }
        }
    }
}

TEST(ITunesDBSaveFailure, SaveKilledBetweenTheReplacementsLeavesAStaleShuffleTableTheNextSaveRewrites) {
    for (const Variant& variant : {kVariants[0], kVariants[2]}) {
        SCOPED_TRACE(variant.name);
        PodToSave pod(variant);
        // The second replacement: iTunesSD, after iTunesDB.
        pod.m_files.KillAt(variant.exchange ? Step::Exchange : Step::Rename, 1);
        EXPECT_EXIT(pod.Save(), testing::KilledBySignal(SIGKILL), "");
        const FilePair killed = pod.Files();
        EXPECT_EQ(pod.m_new.database, killed.database);
        EXPECT_EQ(pod.m_old.shuffle, killed.shuffle);
        // The killed save's new iTunesSD and the old files lie under temporary names.
        EXPECT_FALSE(pod.Leftovers().empty());

        pod.m_files.ClearFailure();
        ASSERT_EQ(0, pod.Save());
        EXPECT_EQ(pod.m_new, pod.Files());
        EXPECT_EQ(std::vector<std::string>(), pod.Leftovers());
    }
}

// Where names cannot be swapped, copies of both old files are made before the first replacement, so
// that the two replacements follow each other: only a kill between those two leaves a mix (above).
TEST(ITunesDBSaveFailure, SaveKilledAtAnyOtherStepLeavesBothOldFilesOrBothNewOnes) {
    for (const Variant& variant : kVariants) {
        PodToSave counting(variant);
        ASSERT_EQ(0, counting.Save()) << variant.name;
        const Step replacement = variant.exchange ? Step::Exchange : Step::Rename;
        for (int kind = 0; kind < static_cast<int>(Step::kCount); ++kind) {
            const auto step = static_cast<Step>(kind);
            for (int call = 0; call < counting.m_files.Calls(step); ++call) {
                if (step == replacement && call == 1)
                    continue;
                SCOPED_TRACE(std::string(variant.name) + ": " + StepName(step) + " " + std::to_string(call));
                PodToSave pod(variant);
                pod.m_files.KillAt(step, call);
                EXPECT_EXIT(pod.Save(), testing::KilledBySignal(SIGKILL), "");
                const FilePair files = pod.Files();
                EXPECT_TRUE(files == pod.m_old || files == pod.m_new);
            }
        }
    }
}

TEST(ITunesDBSaveFailure, SaveThatWouldNotFitBesideTheOldFilesIsRefusedBeforeAnythingIsWritten) {
    for (const Variant& variant : kVariants) {
        SCOPED_TRACE(variant.name);
        PodToSave pod(variant);
        const uint64_t newBytes = pod.m_new.database.size() + pod.m_new.shuffle.size();
        const uint64_t oldBytes = pod.m_old.database.size() + pod.m_old.shuffle.size();
        // Both old files stay until the end; where names cannot be swapped, a copy of each is kept too.
        const uint64_t needed = newBytes + (variant.exchange ? 0 : oldBytes);
        pod.m_files.SetFreeSpace(needed);
        EXPECT_EQ(kErrorNoSpace, pod.Save());
        EXPECT_EQ(0, pod.m_files.Calls(Step::Create));
        EXPECT_EQ(pod.m_old, pod.Files());
        EXPECT_EQ(std::vector<std::string>(), pod.Leftovers());

        pod.m_files.SetFreeSpace(needed + 1);
        EXPECT_EQ(0, pod.Save());
        EXPECT_EQ(pod.m_new, pod.Files());
    }
}
