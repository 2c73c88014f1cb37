#pragma once
// Messages and questions of long operations shown on screen: the message box and the alert box run on
// the GUI thread while the asking thread waits, so a worker's question never blocks the window. A box
// that cannot be shown gives no answer (-1), never a Yes.

#include "foundation/ProgressUserInterface.h"

#include <QPointer>
#include <QWidget>

class DesktopUserInterface : public ProgressUserInterface {
public:
    // The boxes are shown over `window` (may be null).
    explicit DesktopUserInterface(QWidget* window = nullptr);

    int ShowMessage(const AString& text, const AString& title = AString()) override;
    int RunAlert(const AlertRequest& request) override;

private:
    QPointer<QWidget> m_window;
};
