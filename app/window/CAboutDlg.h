#pragma once
// The about box "About Orvantis": the page "html/OV_About.html" beside the program, and OK.

#include "widgets/ExplicitEndDialog.h"

#include <QString>

class QTextBrowser;

class CAboutDlg : public ExplicitEndDialog {
public:
    static constexpr const char* kPage = "html/OV_About.html";

    // `programFolder`: the folder of the running program.
    CAboutDlg(const QString& programFolder, QWidget* parent = nullptr);

    int DoModal();
    QTextBrowser& Page() const { return *m_page; }

private:
    QTextBrowser* m_page;
};
