#include "app/devices/ITunesLibraryClient.h"

#include "foundation/ErrorCodes.h"
#include "library/itunes/ITunesPlayList.h"

int ITunesLibraryClient::Reconnect() {
    m_itunes.Disconnect();
    return m_itunes.Connect();
}

void ITunesLibraryClient::Disconnect() {
    m_itunes.Disconnect();
}

int ITunesLibraryClient::GetVersion(AString& text, int& number) {
    if (const int result = m_itunes.GetVersionString(text))
        return result;
    return m_itunes.GetVersionNumber(number);
}

int ITunesLibraryClient::LoadPlayLists() {
    m_playLists.clear();
    if (const int result = m_itunes.LoadPlayLists(false))
        return result;
    for (int i = 0; i < m_itunes.GetPlayListCount(); ++i) {
        ITunesPlayList* playList = m_itunes.GetPlayList(i);
        LibraryPlayList entry;
        if (playList && playList->GetName(entry.name, 0) == 0) {
            entry.kind = playList->GetKind();
            m_playLists.push_back(std::move(entry));
        }
    }
    return 0;
}

int ITunesLibraryClient::CreatePlayList(const AString& name) {
    m_itunes.Disconnect();
    if (const int result = m_itunes.Connect())
        return result;
    return m_itunes.CreatePlayList(name);
}

int ITunesLibraryClient::GetPodCount(int& count) {
    count = 0;
    return 0;
}

int ITunesLibraryClient::OpenPod(int, std::unique_ptr<LibraryPod>&) {
    return kErrorNotSupported;
}
