#include "app/window/DeviceChooser.h"

#include "widgets/AComboBox.h"

void DeviceChooser::SetEntries(ChooserEntries entries) {
    m_entries = std::move(entries);
    m_combo.ResetContent();
    for (const ChooserEntry& entry : m_entries)
        m_combo.AddString(entry.text);
}

int DeviceChooser::Selection() const {
    const int index = m_combo.GetCurSel();
    return index >= 0 && index < Count() ? index : -1;
}

const ChooserEntry* DeviceChooser::Selected() const {
    const int index = Selection();
    return index < 0 ? nullptr : &m_entries[index];
}

void DeviceChooser::Select(int index) {
    m_combo.SetCurSel(index >= 0 && index < Count() ? index : -1);
}

int DeviceChooser::LastContaining(const QString& text) const {
    if (text.isEmpty())
        return -1;
    for (int i = Count() - 1; i >= 0; --i) {
        if (m_entries[i].text.contains(text))
            return i;
    }
    return -1;
}

bool DeviceChooser::IsConnectEntry(int index) const {
    return index >= 0 && index < Count() && m_entries[index].kind == ChooserKind::ConnectToRemote;
}
