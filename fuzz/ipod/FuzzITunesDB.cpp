// Any bytes given to the iPod database reader give a tree or an error code. A tree that reads is
// written, and what was written reads again and is written to the same bytes. The database object then
// builds, sorts and finds its entries, changes its tracks and writes its Shuffle table.
#include "foundation/AMemFile.h"
#include "foundation/RecordIO.h"
#include "library/ipod/ITunesDB.h"
#include "library/ipod/ITunesDBHeader.h"
#include "library/ipod/ITunesDBReadContext.h"
#include "library/ipod/ITunesDBTrack.h"
#include "library/ipod/PodSongInfo.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

// No track path may reach a real file: entry texts read a song file's tags when it has no artist.
constexpr const char* kNoDrive = "/nonexistent-orvantis-fuzz-drive";

std::vector<uint8_t> Write(ITunesDBHeader& root) {
    AMemFile stream;
    if (root.Write(stream) != 0)
        std::abort();
    return std::vector<uint8_t>(stream.GetBuffer(), stream.GetBuffer() + stream.GetSize());
}

int Read(ITunesDBHeader& root, const uint8_t* data, size_t size, const ITunesDBReadContext& context) {
    AMemFile stream(data, static_cast<uint32_t>(size));
    return root.Read(stream, context);
}

void CheckTreeRoundTrip(const uint8_t* data, size_t size) {
    ITunesDBReadContext names;
    names.namesMode = true;
    ITunesDBHeader namesRoot;
    Read(namesRoot, data, size, names);

    ITunesDBReadContext library;
    library.withPlayLists = true;
    ITunesDBHeader root;
    if (Read(root, data, size, library) != 0)
        return;
    const std::vector<uint8_t> first = Write(root);
    ITunesDBHeader again;
    if (Read(again, first.data(), first.size(), library) != 0)
        std::abort();
    if (Write(again) != first)
        std::abort();
}

// The record form around the bytes: what ITunesDB::Load reads.
void WriteRecordAround(AMemFile& record, const uint8_t* data, size_t size) {
    recordio::WriteU32(record, ITunesDB::kRecordVersion);
    AString(kNoDrive).Serialize(record);
    AString().Serialize(record);
    record.Write(data, static_cast<uint32_t>(size));
    for (int word = 0; word < 3; ++word)
        recordio::WriteU32(record, 1);
    AString("*\\*\\*\\").Serialize(record);
    AString("00000000").Serialize(record);
    record.Seek(0);
}

void ExerciseDatabase(const uint8_t* data, size_t size) {
    AMemFile record;
    WriteRecordAround(record, data, size);
    ITunesDB db;
    if (db.Load(&record) != 0)
        return;
    db.SetFolderLayout({.genre = 1, .album = 1, .track = 1, .type = 1});
    for (const bool ascending : {false, true}) {
        db.SortEntries(ascending, nullptr);
        for (int i = 0; i < db.GetEntryCount(); ++i) {
            ITunesDBTrack* track = db.GetEntry(i);
            if (!track)
                std::abort();
            const AString entry = db.BuildEntry(*track, true);
            ITunesDBTrack* found = nullptr;
            if (db.FindTrack(&found, entry, true) != 1 || found != track)
                std::abort();
        }
    }
    AMemFile shuffle;
    db.WriteShuffleDB(&shuffle);
    PodSongInfo song;
    song.title = song.displayName = "Fuzz";
    song.artist = "Artist";
    ITunesDBTrack* added = nullptr;
    if (db.AddTrack(song, &added, true) == 0 && added) {
        db.RemoveTrack(db.BuildEntry(*added, true));
    }
    AMemFile saved;
    if (db.Serialize(&saved) != 0)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckTreeRoundTrip(data, size);
    ExerciseDatabase(data, size);
    return 0;
}
