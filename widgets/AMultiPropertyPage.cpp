#include "widgets/AMultiPropertyPage.h"

#include "widgets/PropertyPageTabs.h"

#include <QTabBar>
#include <QVBoxLayout>
#include <algorithm>

AMultiPropertyPage::AMultiPropertyPage(int templateId, const QString& caption, QWidget* parent)
    : APropertyPage(templateId, caption, parent), m_children(new PropertyPageTabs(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_children);
}

int AMultiPropertyPage::GetChildCount() const {
    return m_children->GetPageCount();
}

APropertyPage* AMultiPropertyPage::GetChildPage(int index) const {
    return m_children->GetPage(index);
}

void AMultiPropertyPage::AddChildPage(APropertyPage* page) {
    m_children->AddPage(page);
}

bool AMultiPropertyPage::UpdateChildData(bool save) {
    if (!UpdateData(save))
        return false;
    APropertyPage* active = m_children->GetActivePage();
    return active ? active->UpdateData(save) : true;
}

void AMultiPropertyPage::OnInitDialog() {
    m_childrenOpen = false;
    APropertyPage::OnInitDialog();
    TitleTabs();
    m_children->BeginRun(m_childIndex);
    m_childrenOpen = true;
}

void AMultiPropertyPage::TitleTabs() {
    const int titled = std::min(GetChildCount(), static_cast<int>(m_captions.size()));
    for (int i = 0; i < GetChildCount(); ++i)
        m_children->setTabText(i, i < titled ? m_captions[i] : GetChildPage(i)->Caption());
}

bool AMultiPropertyPage::DoDataExchange(bool save) {
    if (!APropertyPage::DoDataExchange(save))
        return false;
    APropertyPage* active = m_childrenOpen ? m_children->GetActivePage() : nullptr;
    return active ? active->UpdateData(save) : true;
}

bool AMultiPropertyPage::Validate(QString& message) {
    for (int i = 0; i < GetChildCount(); ++i) {
        if (GetChildPage(i)->Validate(message))
            continue;
        // Opened first, so that opening does not bring the remembered child back to the front.
        EnsureOpened();
        m_children->SetActivePage(i);
        return false;
    }
    return true;
}

void AMultiPropertyPage::OnOK() {
    for (int i = 0; i < GetChildCount(); ++i) {
        if (GetChildPage(i)->IsOpened())
            GetChildPage(i)->OnOK();
    }
    m_childIndex = m_children->currentIndex();
}
