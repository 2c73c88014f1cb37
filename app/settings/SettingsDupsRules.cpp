#include "app/settings/SettingsDupsRules.h"

#include "app/settings/PageLinks.h"
#include "app/settings/SettingsListPage.h"
#include "widgets/ControlId.h"

#include <QCheckBox>
#include <QLabel>
#include <QVBoxLayout>

namespace {

constexpr int kRulesTemplate = 109;
constexpr int kIndent = 20;

QCheckBox* Check(QWidget* page, int id, const char* text) {
    auto* check = new QCheckBox(QLatin1String(text), page);
    SetControlId(*check, id);
    return check;
}

} // namespace

SettingsDupsRules::SettingsDupsRules()
    : APropertyPage(kRulesTemplate, QStringLiteral("Rules")), m_protected(Check(this, 3100, "Protected Files")),
      m_preferred(Check(this, 3101, "Preferred Types")),
      m_largest(Check(this, 3102, "Largest File over Newest File")),
      m_onlyMine(Check(this, 3103, "Only Files with my Apple IDs")) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("If Duplicates are Detected, Favor:"), this));
    layout->addWidget(m_protected);
    auto* indented = new QHBoxLayout;
    indented->addSpacing(kIndent);
    indented->addWidget(m_onlyMine);
    layout->addLayout(indented);
    layout->addWidget(m_preferred);
    layout->addWidget(m_largest);
    layout->addStretch();
    connect(m_protected, &QCheckBox::clicked, this, [this](bool checked) {
        m_onlyMine->setEnabled(checked);
        TellListPage(m_appleIDs, pagelink::kFirst, checked);
    });
    connect(m_preferred, &QCheckBox::clicked, this,
            [this](bool checked) { TellListPage(m_types, pagelink::kSecond, checked); });
}

void SettingsDupsRules::SetListPages(SettingsListPage* appleIDs, SettingsListPage* types) {
    m_appleIDs = appleIDs;
    m_types = types;
}

void SettingsDupsRules::TellListPage(SettingsListPage* page, unsigned message, bool checked) {
    pagelink::Tell(page, message, checked ? 1 : 0, [page, checked] { page->enabled = checked ? 1 : 0; });
}

bool SettingsDupsRules::DoDataExchange(bool save) {
    const std::pair<QCheckBox*, uint32_t*> boxes[] = {
        {m_protected, &protectedFiles}, {m_preferred, &preferredTypes}, {m_largest, &largestOverNewest},
        {m_onlyMine, &onlyMyAppleIDs}};
    for (const auto& [check, value] : boxes) {
        if (save)
            *value = check->isChecked() ? 1 : 0;
        else
            check->setChecked(*value != 0);
    }
    m_onlyMine->setEnabled(m_protected->isChecked());
    return true;
}

void SettingsDupsRules::CheckForList(unsigned message) {
    QCheckBox* check = message == pagelink::kFirst ? m_protected : m_preferred;
    if (!IsOpened()) {
        (message == pagelink::kFirst ? protectedFiles : preferredTypes) = 1;
        return;
    }
    check->setChecked(true);
    m_onlyMine->setEnabled(m_protected->isChecked());
}

bool SettingsDupsRules::event(QEvent* event) {
    const nativeui::PrivateMessage* message = nativeui::PrivateMessage::From(event);
    if (!message)
        return APropertyPage::event(event);
    if (message->Number() == pagelink::kFirst || message->Number() == pagelink::kSecond)
        CheckForList(message->Number());
    return true;
}
