#include "app/settings/SettingsListPage.h"

#include "app/settings/ListEditor.h"
#include "app/settings/PageLinks.h"
#include "app/settings/SettingsDupsRules.h"
#include "library/itunes/ReadTunesPrefs.h"
#include "platform/ui/WindowMessages.h"
#include "widgets/AListCtrl.h"
#include "widgets/ControlId.h"
#include "widgets/QtText.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int kAppleIDsTemplate = 110;
constexpr int kTypesTemplate = 111;

} // namespace

SettingsListPage::SettingsListPage(int templateId, const QString& caption, const QString& heading, int firstId,
                                   unsigned message)
    : APropertyPage(templateId, caption), m_message(message), m_list(new AListCtrl(firstId, this)),
      m_add(new QPushButton(QStringLiteral("+"), this)), m_remove(new QPushButton(QStringLiteral("-"), this)) {
    SetControlId(*m_add, firstId + 1);
    SetControlId(*m_remove, firstId + 2);
    m_editor = new ListEditor(*m_list, [this] { UpdateEnabling(); });
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(heading, this), 0, 0, 1, 3);
    layout->addWidget(m_list, 1, 0, 1, 3);
    layout->addWidget(m_add, 2, 1);
    layout->addWidget(m_remove, 2, 2);
    connect(m_add, &QPushButton::clicked, this, [this] { Add(); });
    connect(m_remove, &QPushButton::clicked, this, [this] { m_editor->DeleteSelected(); });
}

void SettingsListPage::OnInitDialog() {
    m_editor->SetTexts(ShownTexts());
    UpdateEnabling();
}

bool SettingsListPage::DoDataExchange(bool save) {
    if (save)
        texts = KeptTexts(m_editor->Texts());
    else
        m_editor->SetTexts(texts);
    UpdateEnabling();
    return true;
}

void SettingsListPage::Add() {
    enabled = 1;
    UpdateEnabling();
    if (m_rules)
        pagelink::Tell(m_rules, m_message, 0, [this] { m_rules->CheckForList(m_message); });
    m_editor->InsertAndEdit();
}

void SettingsListPage::SetEnabledByRules(bool enable) {
    enabled = enable ? 1 : 0;
    UpdateEnabling();
}

void SettingsListPage::UpdateEnabling() {
    m_list->setEnabled(enabled != 0);
    m_remove->setEnabled(enabled != 0 && m_editor->HasSelection());
}

bool SettingsListPage::event(QEvent* event) {
    const nativeui::PrivateMessage* message = nativeui::PrivateMessage::From(event);
    if (!message)
        return APropertyPage::event(event);
    if (message->Number() == m_message)
        SetEnabledByRules(message->WParam() != 0);
    else if (message->Number() == nativeui::kWmLButtonDblClk && m_list->isEnabled())
        m_editor->EditOrAdd();
    return true;
}

SettingsDupsAppleIDs::SettingsDupsAppleIDs()
    : SettingsListPage(kAppleIDsTemplate, QStringLiteral("Apple IDs"), QStringLiteral("Apple User IDs Authorized:"),
                       3200, pagelink::kFirst) {}

QStringList SettingsDupsAppleIDs::ShownTexts() const {
    if (!texts.isEmpty())
        return texts;
    AString account;
    if (ReadTunesPrefs(account) == 0 && !account.IsEmpty())
        return {ToQString(account)};
    return {};
}

SettingsDupsTypes::SettingsDupsTypes()
    : SettingsListPage(kTypesTemplate, QStringLiteral("Types"), QStringLiteral("File Types:"), 3300,
                       pagelink::kSecond) {}

QStringList SettingsDupsTypes::KeptTexts(const QStringList& listed) const {
    QStringList kept;
    for (const QString& text : listed)
        kept.append(text.startsWith(u'.') ? text.mid(1) : text);
    return kept;
}
