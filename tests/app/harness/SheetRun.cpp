#include "harness/SheetRun.h"

#include "app/settings/SyncProperties.h"
#include "widgets/APropertySheet.h"
#include "widgets/PropertyPageTabs.h"
#include "widgets/WidgetTestSupport.h"

#include <QMessageBox>
#include <QTimer>

SheetRun RunSheet(SyncProperties& properties, const std::function<void(APropertySheet&)>& drive) {
    SheetRun run;
    bool driven = false;
    ModalWatcher watcher([&](QWidget* modal) {
        if (auto* box = dynamic_cast<QMessageBox*>(modal)) {
            run.messages.append(box->text());
            box->accept();
            return false;
        }
        auto* sheet = dynamic_cast<APropertySheet*>(modal);
        if (!sheet || driven)
            return false;
        driven = true;
        // Not inside the watcher's own call, which must go on answering the boxes the drive opens.
        QTimer::singleShot(0, sheet, [sheet, &run, &drive] {
            drive(*sheet);
            if (!sheet->OnOK()) {
                run.refused = true;
                sheet->reject();
            }
        });
        return false;
    });
    run.result = properties.DoModal(nullptr);
    return run;
}

void UserShows(APropertySheet& sheet, int tab) {
    sheet.findChild<PropertyPageTabs*>()->setCurrentIndex(tab);
    Drain();
}
