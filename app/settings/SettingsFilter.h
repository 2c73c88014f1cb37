#pragma once
// A filter page (Genre, Artist, Album, Title, Type, Path): no filtering, only these values, or all
// values except these. The page keeps both lists and shows the one of the chosen mode; adding a value
// turns filtering on, and on the Genre, Album and Type pages checks their box on "Synchronizing".

#include "widgets/APropertyPage.h"

#include <QString>
#include <QStringList>
#include <cstdint>

class AListCtrl;
class ListEditor;
class QComboBox;
class QPushButton;
class SettingsSync;

class SettingsFilter : public APropertyPage {
public:
    enum Mode : uint32_t { kNoFiltering = 0, kOnlyThese = 1, kAllExcept = 2 };
    static constexpr int kListId = 3400;
    static constexpr int kModeId = 3401;
    static constexpr int kAddId = 3402;
    static constexpr int kRemoveId = 3403;

    // "Genre" with the plural base "Genre" gives "Only These Genres" and "All Genres, Except".
    SettingsFilter(const QString& fieldName, const QString& pluralBase, const QString& caption);

    QString fieldName;
    QString pluralBase;
    QStringList include;
    QStringList exclude;
    uint32_t mode = kNoFiltering;
    QString onlyText;   // empty: made from the names
    QString exceptText; // empty: made from the names
    uint32_t enabled = 1;

    // The "Synchronizing" page to tell with `message` when a value is added (none: no link).
    void SetLink(SettingsSync* page, unsigned message);
    // From the "Synchronizing" page: the page follows its box.
    void SetEnabledByLink(bool enable);

    QString ModeText(uint32_t mode) const;
    AListCtrl& List() const { return *m_list; }
    QComboBox& ModeCombo() const { return *m_mode; }
    ListEditor& Editor() const { return *m_editor; }

    bool DoDataExchange(bool save) override;

protected:
    void OnInitDialog() override;
    bool event(QEvent* event) override;

private:
    QStringList* ListOf(uint32_t mode);
    void ModeChanged(int newMode);
    void Add();
    void UpdateEnabling();

    AListCtrl* m_list;
    QComboBox* m_mode;
    QPushButton* m_add;
    QPushButton* m_remove;
    ListEditor* m_editor;
    SettingsSync* m_link = nullptr;
    unsigned m_linkMessage = 0;
    uint32_t m_shownMode = kNoFiltering;
};
