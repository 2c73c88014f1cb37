#pragma once
// The "Sync Properties" sheet: its pages, its five tabs ("Global", "Synchronizing", "File Deletes",
// "Duplicates" with "Rules", "Apple IDs" and "Types", "Filtering" with the six filter pages), and the
// tab and children that were in front when it closed. The pages hold their values before and after
// the sheet runs; the sheet only shows them.

#include "app/settings/SettingsDeletes.h"
#include "app/settings/SettingsDupsRules.h"
#include "app/settings/SettingsFilter.h"
#include "app/settings/SettingsGlobal.h"
#include "app/settings/SettingsListPage.h"
#include "app/settings/SettingsSync.h"
#include "widgets/AMultiPropertyPage.h"

#include <array>
#include <cstdint>
#include <memory>

class APropertySheet;
class QWidget;

class SyncProperties {
public:
    enum FilterField { kGenre, kArtist, kAlbum, kTitle, kType, kPath, kFilterCount };
    static constexpr const char* kCaption = "Sync Properties";

    SyncProperties();
    ~SyncProperties();

    // Wires the links between the pages and runs the sheet over `parent`: IDOK or IDCANCEL.
    int DoModal(QWidget* parent);
    // Makes the sheet and wires the pages without running it (DoModal does it first).
    APropertySheet& Prepare(QWidget* parent);

    // The child pages come before their hosts, which let go of them when they go.
    SettingsGlobal global;
    SettingsSync sync;
    SettingsDeletes deletes;
    SettingsDupsRules rules;
    SettingsDupsAppleIDs appleIDs;
    SettingsDupsTypes types;
    std::array<std::unique_ptr<SettingsFilter>, kFilterCount> filters;
    AMultiPropertyPage duplicates;
    AMultiPropertyPage filtering;

    uint32_t lastPage = 1;
    uint32_t lastDuplicatesChild = 0;
    uint32_t lastFilteringChild = 0;

private:
    void WireLinks();

    std::unique_ptr<APropertySheet> m_sheet;
};
