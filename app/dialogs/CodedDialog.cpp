#include "app/dialogs/CodedDialog.h"

#include "platform/ui/DialogUnits.h"
#include "platform/ui/WindowMessages.h"
#include "widgets/ToolkitFonts.h"

CodedDialog::CodedDialog(QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags) {
    setFont(toolkitfonts::DialogFont());
}

int CodedDialog::Run() {
    return exec() == nativeui::kIdOk ? nativeui::kIdOk : nativeui::kIdCancel;
}

void CodedDialog::reject() {
    done(nativeui::kIdCancel);
}

QRect CodedDialog::Pixels(const QRect& units) {
    return nativeui::DialogUnitsToPixels(units.x(), units.y(), units.width(), units.height());
}
