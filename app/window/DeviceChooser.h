#pragma once
// The device chooser of the main window: its entries with their records, shown in the chooser
// control. GUI thread only.

#include "app/devices/ChooserEntry.h"

#include <QString>

class AComboBox;

class DeviceChooser {
public:
    explicit DeviceChooser(AComboBox& combo) : m_combo(combo) {}

    // Replaces the entries; nothing is selected.
    void SetEntries(ChooserEntries entries);
    const ChooserEntries& Entries() const { return m_entries; }
    int Count() const { return static_cast<int>(m_entries.size()); }
    int Selection() const;
    // The selected entry's record, or null.
    const ChooserEntry* Selected() const;
    // -1 selects nothing.
    void Select(int index);
    // The last entry whose text contains `text`, or -1.
    int LastContaining(const QString& text) const;
    // Whether the entry is the one that connects to a remote computer.
    bool IsConnectEntry(int index) const;

private:
    AComboBox& m_combo;
    ChooserEntries m_entries;
};
