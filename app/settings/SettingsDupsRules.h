#pragma once
// The "Rules" page of "Duplicates": which of two duplicates is kept. "Protected Files" and "Preferred
// Types" switch the "Apple IDs" and "Types" pages on and off; adding a value there checks them again.

#include "widgets/APropertyPage.h"

#include <cstdint>

class QCheckBox;
class SettingsListPage;

class SettingsDupsRules : public APropertyPage {
public:
    SettingsDupsRules();

    uint32_t protectedFiles = 0;
    uint32_t preferredTypes = 0;
    uint32_t largestOverNewest = 0;
    uint32_t onlyMyAppleIDs = 0;

    void SetListPages(SettingsListPage* appleIDs, SettingsListPage* types);
    // From a list page: check "Protected Files" (0x464) or "Preferred Types" (0x465).
    void CheckForList(unsigned message);

    QCheckBox& ProtectedCheck() const { return *m_protected; }
    QCheckBox& PreferredCheck() const { return *m_preferred; }
    QCheckBox& OnlyMineCheck() const { return *m_onlyMine; }

    bool DoDataExchange(bool save) override;

protected:
    bool event(QEvent* event) override;

private:
    void TellListPage(SettingsListPage* page, unsigned message, bool checked);

    QCheckBox* m_protected;
    QCheckBox* m_preferred;
    QCheckBox* m_largest;
    QCheckBox* m_onlyMine;
    SettingsListPage* m_appleIDs = nullptr;
    SettingsListPage* m_types = nullptr;
};
