#include "app/window/MainSockets.h"

#include "app/window/MainMessages.h"
#include "platform/ui/PrivateMessage.h"

void MainSockets::OnHostsChanged() {
    PostToWindow(mainmsg::kWmHostsChanged);
}

void MainSockets::OnScanDone() {
    PostToWindow(mainmsg::kWmScanDone);
}

void MainSockets::PostToWindow(unsigned number) {
    QObject* window = m_window.load();
    if (!m_shutdown && window)
        nativeui::PrivateMessage::Post(window, number);
}
