#include "library/songlists/ADirPlayLists.h"

#include "foundation/ErrorCodes.h"
#include "library/entries/EntryText.h"

ADirPlayLists::ADirPlayLists(const char* rootName, const Codes& codes, AProgress* progress)
    : ADirSong(progress), m_rootName(rootName), m_codes(codes) {
    m_rootPath = m_rootName;
}

void ADirPlayLists::AttachSource(ADirSong* source) {
    m_source = source;
    if (source)
        m_rootPath = m_rootName + " " + source->GetRootPath();
}

int ADirPlayLists::Open(const AString*, uint32_t, const CancelCallback&) {
    return 0;
}

void ADirPlayLists::Sort(uint32_t ascending) {
    ADir::Sort(ascending);
    const int library = m_entries.Find(AString(kLibraryEntry));
    if (library <= 0)
        return;
    const uint64_t modTime = m_entries.GetModTime(library);
    m_entries.RemoveAt(library);
    m_entries.InsertAt(AString(kLibraryEntry), 0, modTime);
}

int ADirPlayLists::GetFullPath(const AString&, AString&, uint32_t) {
    return m_codes.noFilePath;
}

uint64_t ADirPlayLists::GetFileDate(const AString&) {
    return 0;
}

int ADirPlayLists::DeleteFile(const AString&, uint32_t, uint32_t) {
    return m_codes.deleteFile;
}

int ADirPlayLists::AddFile(const AString&, AddFileSongInfo&) {
    return m_codes.addFile;
}

uint32_t ADirPlayLists::FileExists(const AString&) {
    return 0;
}

// Playlist names name no file: nothing is asked of the disk.
int ADirPlayLists::AddEntry(const AString& name, uint32_t) {
    return m_entries.Add(name, 0);
}

int ADirPlayLists::Save(AFile& stream, uint32_t flag) {
    return ADir::Save(stream, flag);
}

int ADirPlayLists::Load(AFile& stream, uint32_t flag) {
    return ADir::Load(stream, flag);
}

int ADirPlayLists::ReadDirectory(const CancelCallback&, uint32_t) {
    return 0;
}

// A playlist may itself be named "Who?": only the id after the last "?" is dropped.
AString ADirPlayLists::PlayListName(const AString& entry) const {
    return EntryWithoutId(EntryBelowRoot(entry, m_rootPath).Mid(1));
}

int ADirPlayLists::CreatePlayList(const AString& entry) {
    const AString name = PlayListName(entry);
    if (name.IsEmpty())
        return 0;
    return m_source ? m_source->CreatePlayList(name) : kErrorNotConnected;
}

int ADirPlayLists::DeletePlayList(const AString& entry) {
    const AString name = PlayListName(entry);
    if (name.IsEmpty())
        return 0;
    return m_source ? m_source->DeletePlayList(name) : kErrorNotConnected;
}
