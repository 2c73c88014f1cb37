#include "widgets/ExplicitEndDialog.h"

#include "widgets/ToolkitFonts.h"

#include <QCloseEvent>

ExplicitEndDialog::ExplicitEndDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setFont(toolkitfonts::DialogFont());
}

void ExplicitEndDialog::reject() {}

void ExplicitEndDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
}

int ExplicitEndDialog::RunModal(int unanswered) {
    m_code = unanswered;
    exec();
    return m_code;
}

void ExplicitEndDialog::EndWith(int code) {
    m_code = code;
    done(QDialog::Accepted);
}
