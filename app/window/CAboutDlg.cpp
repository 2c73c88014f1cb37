#include "app/window/CAboutDlg.h"

#include "platform/ui/WindowMessages.h"

#include <QDir>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

constexpr int kOkId = 1;
constexpr QSize kPageSize(420, 300);

} // namespace

CAboutDlg::CAboutDlg(const QString& programFolder, QWidget* parent)
    : ExplicitEndDialog(parent), m_page(new QTextBrowser(this)) {
    setWindowTitle(QStringLiteral("About Orvantis"));
    m_page->setMinimumSize(kPageSize);
    m_page->setOpenExternalLinks(true);
    m_page->setSource(QUrl::fromLocalFile(QDir(programFolder).filePath(QLatin1String(kPage))));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ctl_%1").arg(kOkId));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] { EndWith(nativeui::kIdOk); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_page);
    layout->addWidget(ok, 0, Qt::AlignRight);
}

int CAboutDlg::DoModal() {
    return RunModal(nativeui::kIdCancel);
}
