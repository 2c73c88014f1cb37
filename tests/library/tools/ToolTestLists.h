#pragma once
// What the tool tests stand on: a song folder list that can also stand in for the library and iPod
// lists where those give what a folder does not (their type, artwork, adding files, the database
// save), and a fixture with the tools installed, the user and the list dialog answering by script.

#include "foundation/AProgress.h"
#include "library/songlists/ADirSongDir.h"
#include "library/songlists/TestSongFiles.h"
#include "library/tools/HeadlessToolActionPresenter.h"
#include "support/RecordingUserInterface.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>
#include <vector>

class StandInList : public ADirSongDir {
public:
    StandInList(AProgress* progress, uint32_t type) : ADirSongDir(progress), m_type(type) {}

    uint32_t GetType() const override { return m_type; }
    int SaveDatabase() override;
    int GetFullPath(const AString& entry, AString& out, uint32_t byIndex) override;
    int DeleteFile(const AString& entry, uint32_t byIndex, uint32_t skip) override;
    int GetArtworkCount(const AString& entry, int& count) override;
    int SaveArtwork(const AString& entry, int index, std::vector<uint8_t>& data) override;
    int AddSong(const AString& file, const CancelCallback& callback) override;
    // The library places a copy in `placeFolder` when one is set; an iPod copies the file into its own
    // music folder.
    int PlaceFileInLibrary(const AString& musicFolder, const AString& file, AString& target, uint32_t& copied,
                           const CancelCallback& callback) override;
    int AddFileToLibrary(const AString& file, AString& keptFile, const CancelCallback& callback) override;

    // Songs are named by their title level.
    std::string TitleOf(const AString& entry) const;

    int saves = 0;
    std::map<std::string, std::vector<uint8_t>> artwork; // by title; an empty picture gives no buffer
    std::set<std::string> artworkUnknown;                // titles whose artwork cannot be asked for
    std::set<int64_t> unnamed;                           // entry ids whose file cannot be named
    std::map<std::string, int> deleteResults;            // by title: what deleting the song answers
    std::vector<std::string> deletedTitles;              // the songs deleted, in order
    std::vector<std::string> addedSongs;
    std::set<std::string> refused; // file names the library does not take
    std::string placeFolder;       // the library's own layout
    AString keptFileOverride;      // the file the library says it keeps, when not the added one

private:
    uint32_t m_type;
};

class ToolTest : public ::testing::Test {
protected:
    ToolTest();
    ~ToolTest() override;

    // A song file below the music folder.
    void Put(const std::string& name, const TestSongTags& tags);
    void PutBytes(const std::string& name, const std::vector<uint8_t>& bytes);
    AString Music(const std::string& name = "") const;
    // Reads the music folder into the list.
    void Open(StandInList& list);
    bool Exists(const std::string& name) const;
    void RemoveFile(const std::string& name) const;
    // The display text of a song of the list: its folder, then its levels.
    AString Shown(StandInList& list, const std::string& levels) const;
    std::string Log() const { return progress.PendingLog().ToUtf8(); }
    bool Logged(const std::string& text) const { return Log().find(text) != std::string::npos; }
    HeadlessToolActionPresenter::ShownList LastList() const;
    std::vector<std::string> RowEntries(const HeadlessToolActionPresenter::ShownList& list) const;

    TempDir dir;
    AProgress progress;
    RecordingUserInterface user;
    HeadlessToolActionPresenter presenter;
    StandInList folder{&progress, ADir::kTypeSongDir};
};
