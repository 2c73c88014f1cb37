#include "widgets/PropertyPageTabs.h"

#include "widgets/APropertyPage.h"

PropertyPageTabs::PropertyPageTabs(QWidget* parent) : QTabWidget(parent) {
    // Every tab shows whole: the tabs ask for the width of them all instead of scrolling.
    setUsesScrollButtons(false);
    setElideMode(Qt::ElideNone);
    connect(this, &QTabWidget::currentChanged, this, [this](int index) { PageChanged(index); });
}

PropertyPageTabs::~PropertyPageTabs() {
    m_switching = true;
    for (APropertyPage* page : m_pages) {
        removeTab(indexOf(page));
        page->setParent(nullptr);
    }
}

void PropertyPageTabs::AddPage(APropertyPage* page) {
    m_pages.push_back(page);
    m_switching = true;
    addTab(page, page->Caption());
    m_switching = false;
}

APropertyPage* PropertyPageTabs::GetPage(int index) const {
    if (index < 0 || index >= GetPageCount())
        return nullptr;
    return m_pages[index];
}

void PropertyPageTabs::SetActivePage(int index) {
    APropertyPage* page = GetPage(index);
    if (!page)
        return;
    m_switching = true;
    setCurrentIndex(index);
    m_switching = false;
    m_shown = index;
    page->EnsureOpened();
}

void PropertyPageTabs::BeginRun(int activeIndex) {
    for (APropertyPage* page : m_pages)
        page->BeginRun();
    m_shown = -1;
    SetActivePage(GetPage(activeIndex) ? activeIndex : 0);
}

void PropertyPageTabs::PageChanged(int index) {
    if (m_switching)
        return;
    APropertyPage* leaving = GetPage(m_shown);
    if (leaving && !leaving->UpdateData(true)) {
        m_switching = true;
        setCurrentIndex(m_shown);
        m_switching = false;
        return;
    }
    SetActivePage(index);
}
