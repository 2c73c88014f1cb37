#include "widgets/APropertyPage.h"

APropertyPage::APropertyPage(int templateId, const QString& caption, QWidget* parent)
    : QWidget(parent), m_templateId(templateId), m_caption(caption) {}

bool APropertyPage::Validate(QString&) {
    return true;
}

bool APropertyPage::DoDataExchange(bool) {
    return true;
}

bool APropertyPage::UpdateData(bool save) {
    return !m_opened || DoDataExchange(save);
}

void APropertyPage::EnsureOpened() {
    if (m_opened)
        return;
    m_opened = true;
    OnInitDialog();
}

void APropertyPage::OnInitDialog() {
    UpdateData(false);
}
