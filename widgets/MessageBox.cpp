#include "widgets/MessageBox.h"

#include "platform/ui/WindowMessages.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace messagebox {

int Show(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), text, QMessageBox::Ok, parent);
    box.exec();
    return nativeui::kIdOk;
}

} // namespace messagebox
