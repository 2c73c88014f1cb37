#include "app/commands/HtmlLibraryList.h"

#include "app/state/AppFolders.h"
#include "foundation/ErrorCodes.h"
#include "library/songlists/ADirPod.h"
#include "library/songlists/ADirPodDB.h"
#include "library/songlists/ADirTunes.h"
#include "platform/shell/Shell.h"
#include "widgets/QtText.h"

#include <utility>

namespace {

// The levels of the page's columns: type, genre and album on; track number and the fifth word off.
void SetPageLevels(ADirSong& list) {
    list.SetTypeLevel(1);
    list.SetGenreLevel(1);
    list.SetAlbumLevel(1);
    list.SetTrackLevel(0);
    list.SetEntryOption(0);
}

bool IsHexadecimal(const AString& text) {
    if (text.IsEmpty())
        return false;
    for (const char16_t c : text.GetCString()) {
        const bool digit = (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
        if (!digit)
            return false;
    }
    return true;
}

} // namespace

HtmlLibraryList::HtmlLibraryList(std::unique_ptr<ADirSong> list, AString pageName)
    : m_list(std::move(list)), m_pageName(std::move(pageName)) {
    SetPageLevels(*m_list);
}

HtmlLibraryList::~HtmlLibraryList() = default;

std::unique_ptr<HtmlLibraryList> HtmlLibraryList::ForLibrary(const AString& playList, AProgress& progress) {
    auto list = std::make_unique<ADirTunes>(&progress);
    list->SetRootPath(AString(ADirTunes::kRootMarker) + playList + "*");
    if (!playList.IsEmpty())
        list->SetPlayListName(playList);
    return std::unique_ptr<HtmlLibraryList>(new HtmlLibraryList(std::move(list), AString(kLibraryPageName)));
}

std::unique_ptr<HtmlLibraryList> HtmlLibraryList::ForPod(const DeviceSyncSet::Device& device,
                                                         const AString& playList, AProgress& progress) {
    if (!IsHexadecimal(device.id))
        return nullptr;
    std::unique_ptr<ADirSong> list;
    if (device.kind == ChooserKind::LibraryPod) {
        list = std::make_unique<ADirPod>(&progress);
        list->SetRootPath(ADirPod::RootOf(device.name));
    } else if (device.kind == ChooserKind::PodDatabase) {
        list = std::make_unique<ADirPodDB>(&progress);
        list->SetRootPath(device.drive);
    } else {
        return nullptr;
    }
    list->SetPlayListName(playList);
    return std::unique_ptr<HtmlLibraryList>(new HtmlLibraryList(std::move(list), device.id + kPageExtension));
}

HtmlLibraryList::Result HtmlLibraryList::Run(const CancelCallback& cancel, nativeshell::Shell& shell) {
    AString path;
    if (!AppFolders::DataFile(m_pageName.ToUtf8().c_str(), path))
        return {kErrorInvalidPath, 0};
    if (const int result = m_list->BuildDirectoryList(path, cancel))
        return {result, 0};
    // The shell's own failures are not the run's: the page is written.
    shell.OpenPath(ToQString(path));
    return {0, m_list->GetCount()};
}
