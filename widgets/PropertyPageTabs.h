#pragma once
// The tabs of a property sheet, every one shown whole: each tab shows a page that someone else owns.
// A page opens the first time it shows in a run; leaving a page takes its input first, and a page whose
// input cannot be taken stays in front. The pages are taken out, never deleted, when the tabs go.

#include <QTabWidget>
#include <vector>

class APropertyPage;

class PropertyPageTabs : public QTabWidget {
public:
    explicit PropertyPageTabs(QWidget* parent);
    ~PropertyPageTabs() override;

    void AddPage(APropertyPage* page);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    APropertyPage* GetPage(int index) const;
    APropertyPage* GetActivePage() const { return GetPage(currentIndex()); }
    // Brings the page to the front and opens it.
    void SetActivePage(int index);
    // A new run: every page is closed again, and the one in front opens.
    void BeginRun(int activeIndex);

private:
    void PageChanged(int index);

    std::vector<APropertyPage*> m_pages;
    int m_shown = -1;
    bool m_switching = false;
};
