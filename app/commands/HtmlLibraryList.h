#pragma once
// The HTML list of the local library or of an iPod, as one run on a worker: the song list read with
// the levels the page shows, the page written in the data folder and, once written, opened through
// the shell. The run posts nothing: it answers its result, which the window posts in its end message.

#include "app/devices/DeviceSyncSet.h"
#include "foundation/AString.h"
#include "foundation/CancelCallback.h"

#include <memory>

class ADirSong;
class AProgress;
namespace nativeshell {
class Shell;
}

class HtmlLibraryList {
public:
    static constexpr const char* kLibraryPageName = "iTunes_List.html";
    static constexpr const char* kPageExtension = ".html";

    struct Result {
        // 0, 123456 when cancelled, or the failure of reading the list or writing the page.
        int result = 0;
        // The songs on the page.
        int count = 0;
    };

    ~HtmlLibraryList();

    // The library, or its playlist of that name (empty: the whole library).
    static std::unique_ptr<HtmlLibraryList> ForLibrary(const AString& playList, AProgress& progress);
    // The iPod (its playlist of that name, or all of it when empty), shown by the library or known by
    // its own database; null for another kind of device, or an identifier that is not hexadecimal
    // digits (it names the page's file).
    static std::unique_ptr<HtmlLibraryList> ForPod(const DeviceSyncSet::Device& device,
                                                   const AString& playList, AProgress& progress);

    ADirSong& List() const { return *m_list; }
    // The page's file name in the data folder.
    const AString& PageName() const { return m_pageName; }

    // On the worker: a page that could not be written, wholly, keeps the old one and opens nothing.
    Result Run(const CancelCallback& cancel, nativeshell::Shell& shell);

private:
    HtmlLibraryList(std::unique_ptr<ADirSong> list, AString pageName);

    std::unique_ptr<ADirSong> m_list;
    AString m_pageName;
};
