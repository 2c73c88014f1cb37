#include "widgets/MessageBox.h"

#include "platform/ui/WindowMessages.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace messagebox {

int Show(QWidget* parent, const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, title.isEmpty() ? QCoreApplication::applicationName() : title, text,
                    QMessageBox::Ok, parent);
    box.exec();
    return nativeui::kIdOk;
}

} // namespace messagebox
