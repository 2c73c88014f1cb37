#include "app/window/PlayListCombos.h"

#include "widgets/QtText.h"
#include "widgets/SeparatorComboBox.h"

namespace {

// The entries besides the names: the main library before them, "New playlist..." after them.
constexpr int kEntriesAroundNames = 2;

int IndexNamed(const std::vector<QString>& names, const QString& current) {
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i].compare(current, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

void SelectIfNeeded(SeparatorComboBox& combo, int index) {
    if (combo.currentIndex() != index)
        combo.SetCurSel(index);
}

} // namespace

std::vector<QString> PlayListCombos::Listed(const std::vector<AString>& names) {
    std::vector<QString> listed;
    for (const AString& name : names) {
        if (name.CompareNoCase(kLastSync) != 0)
            listed.push_back(ToQString(name));
    }
    return listed;
}

bool PlayListCombos::Holds(const SeparatorComboBox& combo, const std::vector<QString>& names) {
    if (combo.count() != static_cast<int>(names.size()) + kEntriesAroundNames)
        return false;
    for (size_t i = 0; i < names.size(); ++i) {
        if (combo.itemText(static_cast<int>(i) + 1).compare(names[i], Qt::CaseInsensitive) != 0)
            return false;
    }
    return true;
}

void PlayListCombos::Fill(SeparatorComboBox& combo, const QString& first, const std::vector<QString>& names,
                          const QString& current) {
    const int wanted = IndexNamed(names, current);
    if (Holds(combo, names) && combo.itemText(0) == first) {
        SelectIfNeeded(combo, wanted);
        return;
    }
    combo.clear();
    combo.addItem(first);
    for (const QString& name : names)
        combo.addItem(name);
    AppendNewPlayList(combo);
    combo.SetCurSel(wanted);
}

void PlayListCombos::Reset(SeparatorComboBox& combo, const QString& first) {
    combo.clear();
    combo.addItem(first);
    combo.setCurrentIndex(-1);
}

void PlayListCombos::AppendNewPlayList(SeparatorComboBox& combo) {
    combo.addItem(QLatin1String(kNewPlayList), kNewPlayListData);
}
