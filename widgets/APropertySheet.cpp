#include "widgets/APropertySheet.h"

#include "platform/ui/WindowMessages.h"
#include "widgets/APropertyPage.h"
#include "widgets/ControlId.h"
#include "widgets/MessageBox.h"
#include "widgets/PropertyPageTabs.h"
#include "widgets/ToolkitFonts.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* MakeButton(QWidget* parent, const QString& text, int id) {
    auto* button = new QPushButton(text, parent);
    SetControlId(*button, id);
    return button;
}

} // namespace

APropertySheet::APropertySheet(const QString& caption, QWidget* parent, int selectPage)
    : QDialog(parent), m_tabs(new PropertyPageTabs(this)), m_selectPage(selectPage),
      m_lastActivePage(selectPage) {
    setWindowTitle(caption);
    setFont(toolkitfonts::DialogFont());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton* ok = MakeButton(this, QStringLiteral("OK"), nativeui::kIdOk);
    QPushButton* cancel = MakeButton(this, QStringLiteral("Cancel"), nativeui::kIdCancel);
    ok->setDefault(true);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
}

void APropertySheet::AddPage(APropertyPage* page) {
    m_tabs->AddPage(page);
}

int APropertySheet::GetPageCount() const {
    return m_tabs->GetPageCount();
}

APropertyPage* APropertySheet::GetPage(int index) const {
    return m_tabs->GetPage(index);
}

int APropertySheet::GetActiveIndex() const {
    return m_tabs->currentIndex();
}

void APropertySheet::SetActivePage(int index) {
    m_tabs->SetActivePage(index);
}

void APropertySheet::Prepare() {
    m_result = nativeui::kIdCancel;
    m_tabs->BeginRun(m_selectPage);
}

int APropertySheet::DoModal() {
    Prepare();
    exec();
    return m_result;
}

bool APropertySheet::OnOK() {
    for (int i = 0; i < GetPageCount(); ++i) {
        QString message;
        if (GetPage(i)->Validate(message))
            continue;
        SetActivePage(i);
        messagebox::Show(this, message);
        return false;
    }
    APropertyPage* active = m_tabs->GetActivePage();
    if (active && !active->UpdateData(true))
        return false;
    m_lastActivePage = GetActiveIndex();
    for (int i = 0; i < GetPageCount(); ++i) {
        if (GetPage(i)->IsOpened())
            GetPage(i)->OnOK();
    }
    m_result = nativeui::kIdOk;
    done(QDialog::Accepted);
    return true;
}

void APropertySheet::reject() {
    m_result = nativeui::kIdCancel;
    QDialog::reject();
}
