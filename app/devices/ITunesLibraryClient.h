#pragma once
// The local library as the main window sees it, through the system's iTunes client.

#include "app/devices/LibraryClient.h"
#include "library/itunes/ITunes.h"

class ITunesLibraryClient : public LibraryClient {
public:
    ITunesLibraryClient() = default;

    int Reconnect() override;
    void Disconnect() override;
    int GetVersion(AString& text, int& number) override;
    int LoadPlayLists() override;
    std::vector<LibraryPlayList> PlayLists() const override { return m_playLists; }
    int CreatePlayList(const AString& name) override;
    // The iPods the library shows are driven through an iPod client of their own, which the program
    // does not have yet: none is offered, and each mounted iPod is listed by its own database.
    int GetPodCount(int& count) override;
    int OpenPod(int index, std::unique_ptr<LibraryPod>& pod) override;

private:
    ITunes m_itunes;
    std::vector<LibraryPlayList> m_playLists;
};
