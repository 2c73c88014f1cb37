#pragma once
// The settings page "Synchronizing": how songs are compared, the log, what a sync does, file activity
// and which play data follows the songs. "Use Genre", "Use Album Name" and "Use File Type" switch
// their filter pages on and off; those pages check the boxes again when a value is added to them.

#include "widgets/APropertyPage.h"

#include <array>
#include <cstdint>

class QCheckBox;
class SettingsFilter;

class SettingsSync : public APropertyPage {
public:
    SettingsSync();

    uint32_t useGenre = 0;
    uint32_t useAlbumName = 0;
    uint32_t useFileType = 0;
    uint32_t verboseLog = 0;
    uint32_t showActionList = 1;
    uint32_t stopOnError = 0;
    uint32_t autoRunSync = 0;
    uint32_t createLastSyncPlayList = 0;
    uint32_t dontCopyWhenTagsEqual = 0;
    uint32_t forceReadOnly = 0;
    uint32_t useTrackNumber = 0;
    uint32_t autoReplaceAll = 0;
    uint32_t syncRatings = 1;
    uint32_t syncPlaycounts = 1;
    uint32_t syncLastPlayed = 1;
    uint32_t syncEQ = 1;
    uint32_t syncComments = 1;

    // The filter pages that follow "Use Genre", "Use Album Name" and "Use File Type".
    void SetFilterPages(SettingsFilter* genre, SettingsFilter* album, SettingsFilter* type);
    // What a filter page asks with its message (0x465 "Use Genre", 0x466 "Use Album Name", 0x467 "Use
    // File Type"): the box is checked, or, on a page not opened, the value set.
    void CheckForFilter(unsigned number);
    QCheckBox& CheckBox(int id) const;

    bool DoDataExchange(bool save) override;

protected:
    bool event(QEvent* event) override;

private:
    struct Box;
    static const std::array<Box, 17>& Boxes();
    void TellFilterPage(int boxId, bool checked);

    std::array<QCheckBox*, 17> m_checks{};
    SettingsFilter* m_genrePage = nullptr;
    SettingsFilter* m_albumPage = nullptr;
    SettingsFilter* m_typePage = nullptr;
};
