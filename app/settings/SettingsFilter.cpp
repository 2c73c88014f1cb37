#include "app/settings/SettingsFilter.h"

#include "app/settings/ListEditor.h"
#include "app/settings/PageLinks.h"
#include "app/settings/SettingsSync.h"
#include "platform/ui/WindowMessages.h"
#include "widgets/AListCtrl.h"
#include "widgets/ControlId.h"

#include <QComboBox>
#include <QGridLayout>
#include <QPushButton>

namespace {

constexpr int kFilterTemplate = 112;

} // namespace

SettingsFilter::SettingsFilter(const QString& name, const QString& plural, const QString& caption)
    : APropertyPage(kFilterTemplate, caption), fieldName(name), pluralBase(plural),
      m_list(new AListCtrl(kListId, this)), m_mode(new QComboBox(this)), m_add(new QPushButton(QStringLiteral("+"), this)),
      m_remove(new QPushButton(QStringLiteral("-"), this)) {
    SetControlId(*m_mode, kModeId);
    SetControlId(*m_add, kAddId);
    SetControlId(*m_remove, kRemoveId);
    m_editor = new ListEditor(*m_list, [this] { UpdateEnabling(); });
    auto* layout = new QGridLayout(this);
    layout->addWidget(m_mode, 0, 0, 1, 3);
    layout->addWidget(m_list, 1, 0, 1, 3);
    layout->addWidget(m_add, 2, 1);
    layout->addWidget(m_remove, 2, 2);
    connect(m_mode, &QComboBox::activated, this, [this](int index) { ModeChanged(index); });
    connect(m_add, &QPushButton::clicked, this, [this] { Add(); });
    connect(m_remove, &QPushButton::clicked, this, [this] { m_editor->DeleteSelected(); });
}

void SettingsFilter::SetLink(SettingsSync* page, unsigned message) {
    m_link = page;
    m_linkMessage = message;
}

QString SettingsFilter::ModeText(uint32_t filterMode) const {
    if (filterMode == kOnlyThese)
        return onlyText.isEmpty() ? QStringLiteral("Only These ") + pluralBase + QStringLiteral("s") : onlyText;
    if (filterMode == kAllExcept)
        return exceptText.isEmpty() ? QStringLiteral("All ") + fieldName + QStringLiteral("s, Except") : exceptText;
    return QStringLiteral("No Filtering");
}

QStringList* SettingsFilter::ListOf(uint32_t filterMode) {
    if (filterMode == kOnlyThese)
        return &include;
    if (filterMode == kAllExcept)
        return &exclude;
    return nullptr;
}

void SettingsFilter::OnInitDialog() {
    m_mode->clear();
    for (uint32_t filterMode : {kNoFiltering, kOnlyThese, kAllExcept})
        m_mode->addItem(ModeText(filterMode));
    APropertyPage::OnInitDialog();
}

bool SettingsFilter::DoDataExchange(bool save) {
    if (save) {
        if (QStringList* list = ListOf(m_shownMode))
            *list = m_editor->Texts();
        mode = m_shownMode;
        return true;
    }
    m_shownMode = mode;
    m_mode->setCurrentIndex(static_cast<int>(mode));
    const QStringList* list = ListOf(mode);
    m_editor->SetTexts(list ? *list : QStringList());
    UpdateEnabling();
    return true;
}

void SettingsFilter::ModeChanged(int newMode) {
    if (QStringList* list = ListOf(m_shownMode))
        *list = m_editor->Texts();
    m_shownMode = static_cast<uint32_t>(newMode);
    const QStringList* list = ListOf(m_shownMode);
    m_editor->SetTexts(list ? *list : QStringList());
    UpdateEnabling();
}

void SettingsFilter::Add() {
    if (m_shownMode == kNoFiltering) {
        m_mode->setCurrentIndex(kOnlyThese);
        ModeChanged(kOnlyThese);
    }
    if (m_link)
        pagelink::Tell(m_link, m_linkMessage, 0, [this] { m_link->CheckForFilter(m_linkMessage); });
    m_editor->InsertAndEdit();
    UpdateEnabling();
}

void SettingsFilter::SetEnabledByLink(bool enable) {
    enabled = enable ? 1 : 0;
    UpdateEnabling();
}

void SettingsFilter::UpdateEnabling() {
    const bool on = enabled != 0;
    const bool filtering = on && m_shownMode != kNoFiltering;
    m_list->setEnabled(filtering);
    m_mode->setEnabled(on);
    m_remove->setEnabled(filtering && m_editor->HasSelection());
}

bool SettingsFilter::event(QEvent* event) {
    const nativeui::PrivateMessage* message = nativeui::PrivateMessage::From(event);
    if (!message)
        return APropertyPage::event(event);
    if (message->Number() == pagelink::kFirst)
        SetEnabledByLink(message->WParam() != 0);
    else if (message->Number() == nativeui::kWmLButtonDblClk && m_list->isEnabled())
        m_editor->EditOrAdd();
    return true;
}
