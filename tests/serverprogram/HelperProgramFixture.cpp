#include "HelperProgramFixture.h"

#include "foundation/RemoteFileCache.h"

#include <cstdlib>
#include <filesystem>

const std::vector<HelperSong>& HelperProgramFixture::ServedSongs() {
    static const std::vector<HelperSong> songs = {
        {"tags/v24_mutagen.mp3", "Mutagen/Long/01 Long Title.mp3", "Long Title", "Mutagen", "Long", "Rock", 1},
        {"tags/v23_eyed3_extended.mp3", "Ζωή Artist/Plain Album/07 Übung.mp3", "Ölmalerei – Übung", "Ζωή Artist",
         "Plain Album", "Rock", 7},
        {"tags/id3v1_only.mp3", "Some Artist/An Album/Five.mp3", "Five", "Some Artist", "An Album", "Rock", 2},
        {"tags/mp4_atomicparsley.m4a", "MP4 Album Artist/MP4 Album/05 MP4 Title.m4a", "MP4 Title", "MP4 Artist",
         "MP4 Album", "Rock", 5},
    };
    return songs;
}

void HelperProgramFixture::SetUp() {
    network = std::make_unique<OwnNetwork>();
    if (!network->Refusal().empty())
        GTEST_SKIP() << network->Refusal();
    server = std::make_unique<HelperProgram>(serverHome.Path(), ServedSongs());
    ASSERT_TRUE(server->Listening()) << "the server program did not listen:\n" << server->Output();
    link = std::make_unique<CASockets>();
    RemoteFileCache::Instance().Clear();
    RemoteFileCache::Instance().SetPeer(link.get());
}

void HelperProgramFixture::TearDown() {
    RemoteFileCache::Instance().SetPeer(nullptr);
    RemoteFileCache::Instance().Clear();
    link.reset();
    server.reset();
    network.reset();
    for (const auto& [name, value] : m_savedEnvironment) {
        if (value)
            setenv(name.c_str(), value->c_str(), 1);
        else
            unsetenv(name.c_str());
    }
}

std::unique_ptr<ADirTunesRemote> HelperProgramFixture::RemoteList() {
    auto list = std::make_unique<ADirTunesRemote>(&progress);
    list->SetLink(link.get());
    list->SetServerAddress(OwnNetwork::kServerText, nullptr);
    return list;
}

AString HelperProgramFixture::Remote(const std::string& path) {
    return AString(std::string("?") + OwnNetwork::kServerText + ":" + path);
}

void HelperProgramFixture::UseLocalHome() {
    for (const auto& [name, value] : {std::pair<const char*, std::string>{"HOME", local.Path()},
                                      {"XDG_MUSIC_DIR", local.File("Music")},
                                      {"XDG_DATA_HOME", local.File("data")},
                                      {"XDG_CONFIG_HOME", local.File("config")}}) {
        const char* old = std::getenv(name);
        m_savedEnvironment.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        setenv(name, value.c_str(), 1);
        std::filesystem::create_directories(value);
    }
}
