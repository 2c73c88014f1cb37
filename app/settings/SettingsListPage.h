#pragma once
// A settings page that is one list of texts with "+" and "-": the Apple IDs and the file types of the
// duplicate rules. Adding a value checks its rule on the "Rules" page; the page follows that rule's
// box.

#include "widgets/APropertyPage.h"

#include <QStringList>
#include <cstdint>

class AListCtrl;
class ListEditor;
class QPushButton;
class SettingsDupsRules;

class SettingsListPage : public APropertyPage {
public:
    QStringList texts;
    uint32_t enabled = 1;

    // The "Rules" page, told with `message` when a value is added.
    void SetRules(SettingsDupsRules* rules) { m_rules = rules; }
    void SetEnabledByRules(bool enable);

    AListCtrl& List() const { return *m_list; }
    ListEditor& Editor() const { return *m_editor; }

    bool DoDataExchange(bool save) override;

protected:
    // `message`: the rule's message to the Rules page, which is also the one the page follows.
    SettingsListPage(int templateId, const QString& caption, const QString& heading, int firstId, unsigned message);
    // The texts as the list shows them when the page opens.
    virtual QStringList ShownTexts() const { return texts; }
    // The texts to keep from the list on OK.
    virtual QStringList KeptTexts(const QStringList& listed) const { return listed; }

    void OnInitDialog() override;
    bool event(QEvent* event) override;

private:
    void Add();
    void UpdateEnabling();

    unsigned m_message;
    AListCtrl* m_list;
    QPushButton* m_add;
    QPushButton* m_remove;
    ListEditor* m_editor;
    SettingsDupsRules* m_rules = nullptr;
};

// "Apple IDs": the accounts whose songs count as the user's own.
class SettingsDupsAppleIDs : public SettingsListPage {
public:
    SettingsDupsAppleIDs();

protected:
    // With none stored, the account named in the library's preferences.
    QStringList ShownTexts() const override;
};

// "Types": the preferred file types; a leading dot is dropped (".mp3" is kept as "mp3").
class SettingsDupsTypes : public SettingsListPage {
public:
    SettingsDupsTypes();

protected:
    QStringList KeptTexts(const QStringList& listed) const override;
};
