#include "widgets/DesktopUserInterface.h"

#include "platform/ui/GuiThread.h"
#include "widgets/AAlert.h"
#include "widgets/MessageBox.h"
#include "widgets/QtText.h"

DesktopUserInterface::DesktopUserInterface(QWidget* window) : m_window(window) {}

int DesktopUserInterface::ShowMessage(const AString& text, const AString& title) {
    const QString shown = ToQString(text);
    const QString caption = ToQString(title);
    const int code =
        nativeui::GuiThread::RunModal([&] { return messagebox::Show(m_window.data(), shown, caption); });
    return code < 0 ? 0 : 1;
}

int DesktopUserInterface::RunAlert(const AlertRequest& request) {
    return nativeui::GuiThread::RunModal([&] {
        AAlert alert(m_window.data());
        alert.SetMessage(ToQString(request.message));
        alert.SetDescription1(ToQString(request.descriptions[0]));
        alert.SetDescription2(ToQString(request.descriptions[1]));
        alert.SetDescription3(ToQString(request.descriptions[2]));
        alert.SetDescription4(ToQString(request.descriptions[3]));
        alert.SetButton1(ToQString(request.buttons[0]));
        alert.SetButton2(ToQString(request.buttons[1]));
        alert.SetButton3(ToQString(request.buttons[2]));
        alert.SetButton4(ToQString(request.buttons[3]));
        return alert.DoModal();
    });
}
