#pragma once
// A source whose entries are the playlist names of another source, for a playlist sync. It has no
// files: every file operation is refused with the list's own code, and creating or deleting a playlist
// is handed to the attached song source, held through the base class so that any source (an iPod, the
// local library, another computer's library) can stand behind it.

#include "library/songlists/ADirSong.h"

class ADirPlayLists : public ADirSong {
public:
    // The entry that stands for the library itself; it sorts first.
    static constexpr const char16_t* kLibraryEntry = u"?0";

    struct Codes {
        int noFilePath;
        int addFile;
        int deleteFile;
    };

    int Open(const AString* path, uint32_t fullPaths, const CancelCallback& callback) override;
    void Sort(uint32_t ascending) override;
    int GetFullPath(const AString& entry, AString& out, uint32_t flag) override;
    uint64_t GetFileDate(const AString& path) override;
    int DeleteFile(const AString& path, uint32_t flag, uint32_t skip) override;
    int AddFile(const AString& entry, AddFileSongInfo& info) override;
    uint32_t FileExists(const AString& path) override;
    int AddEntry(const AString& name, uint32_t allowEmpty) override;
    int Save(AFile& stream, uint32_t flag) override;
    int Load(AFile& stream, uint32_t flag) override;
    int ReadDirectory(const CancelCallback& callback, uint32_t flag) override;
    // The name is the entry without the list's root and without its id ("?" and what follows the
    // last "?"): 0 for an empty name, -3 without a source, else the source's result.
    int CreatePlayList(const AString& entry) override;
    int DeletePlayList(const AString& entry) override;

    ADirSong* GetSource() const { return m_source; }

protected:
    ADirPlayLists(const char* rootName, const Codes& codes, AProgress* progress);
    void AttachSource(ADirSong* source);

private:
    AString PlayListName(const AString& entry) const;

    AString m_rootName;
    Codes m_codes;
    ADirSong* m_source = nullptr;
};
