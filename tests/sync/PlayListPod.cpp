#include "sync/PlayListPod.h"

#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "library/itunes/LibraryPlayListName.h"
#include "sync/SongListFactory.h"

#include <filesystem>

namespace fs = std::filesystem;

// A sync made for a playlist is given the root of the first sync's list, which is one of the iPod's
// folders: the iPod is the nearest folder above it that holds the iPod's control folder.
void PlayListPod::SetRootPath(const AString& path) {
    fs::path root(path.ToUtf8());
    while (!root.empty() && root != root.root_path() && !fs::exists(root / "iPod_Control"))
        root = root.parent_path();
    m_podRoot = AString(fs::exists(root / "iPod_Control") ? root.c_str() : path.ToUtf8().c_str())
                    .WithTrailingSeparator();
    PointAtList();
}

void PlayListPod::SetPlayListName(const AString& name) {
    m_playList = name;
    PointAtList();
}

bool PlayListPod::IsLimited() const {
    return !m_playList.IsEmpty() && !(m_playList == GetLibraryPlayListName());
}

void PlayListPod::PointAtList() {
    m_rootPath = m_podRoot + (IsLimited() ? AString("Lists/") + m_playList + "/" : AString("Library/"));
}

int PlayListPod::ReadDirectory(const CancelCallback& callback, uint32_t flag) {
    if (IsLimited() && !DirectoryExists(m_rootPath))
        return kErrorInvalidPlayList;
    return ADirSongDir::ReadDirectory(callback, flag);
}

int PlayListPod::GetPlayListNames(std::vector<AString>& names, uint32_t, uint32_t) {
    std::error_code error;
    for (const auto& item : fs::directory_iterator((m_podRoot + "Lists").ToUtf8(), error))
        names.push_back(AString(item.path().filename().c_str()));
    return 0;
}

int PlayListPod::CreatePlayList(const AString& name) {
    return CreateDirectoryPath(m_podRoot + "Lists/" + name);
}

int PlayListPod::DeletePlayList(const AString& name) {
    std::error_code error;
    return fs::remove_all((m_podRoot + "Lists/" + name).ToUtf8(), error) > 0 ? 0 : kErrorUnableToDelete;
}

int PlayListPod::AddSong(const AString& file, const CancelCallback&) {
    if (const int result = CreateDirectoryPath(m_rootPath))
        return result;
    return CopyFileLong(file, m_rootPath + file.Mid(file.ReverseFind(u'/') + 1), false);
}

PlayListPods::PlayListPods() {
    SongListFactory::Register(ADir::kTypePod,
                              [](AProgress* progress) { return std::make_unique<PlayListPod>(progress); });
}

PlayListPods::~PlayListPods() {
    SongListFactory::Register(ADir::kTypePod, nullptr);
}
