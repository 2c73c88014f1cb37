#pragma once
// The two programs together: the server program running as a user starts it (HelperProgram), serving
// a library of songs made by real tools in a network of the test's own, and this process in the main
// program's place, with its link, its remote file cache and the remote library's list over them. A
// test skips where no network namespace can be made.

#include "HelperProgram.h"
#include "foundation/AProgress.h"
#include "foundation/AString.h"
#include "remote/ADirTunesRemote.h"
#include "remote/CASockets.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class HelperProgramFixture : public testing::Test {
protected:
    // Four songs, each tagged by another tool (mutagen, eyeD3, id3lib, AtomicParsley).
    static const std::vector<HelperSong>& ServedSongs();

    void SetUp() override;
    void TearDown() override;

    // A list of the server's library through this process's link, reporting to `progress`.
    std::unique_ptr<ADirTunesRemote> RemoteList();
    // The remote path of a file of the server.
    static AString Remote(const std::string& path);
    // This process's own library and folders below `local` (the main program's side), until the end.
    void UseLocalHome();

    TempDir serverHome;
    TempDir local;
    std::unique_ptr<OwnNetwork> network;
    std::unique_ptr<HelperProgram> server;
    std::unique_ptr<CASockets> link;
    AProgress progress;

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> m_savedEnvironment;
};
