#pragma once
// The settings sheet: its pages on tabs, OK and Cancel. OK asks every page to validate, in page order;
// the first page that refuses comes to the front, its message shows once, and the sheet stays open.
// DoModal answers IDOK or IDCANCEL. The pages are not owned and must outlive the sheet.

#include <QDialog>
#include <QString>

class APropertyPage;
class PropertyPageTabs;
class QPushButton;

class APropertySheet : public QDialog {
public:
    APropertySheet(const QString& caption, QWidget* parent = nullptr, int selectPage = 0);

    void AddPage(APropertyPage* page);
    int GetPageCount() const;
    APropertyPage* GetPage(int index) const;
    int GetActiveIndex() const;
    void SetActivePage(int index);
    // The page that was in front when the sheet was last closed with OK.
    int GetLastActivePage() const { return m_lastActivePage; }

    int DoModal();
    // Opens the first page; DoModal does it before it runs the sheet.
    void Prepare();
    // The OK button: true when the sheet closed.
    bool OnOK();

    void reject() override;

private:
    PropertyPageTabs* m_tabs;
    int m_selectPage;
    int m_lastActivePage;
    int m_result = 0;
};
