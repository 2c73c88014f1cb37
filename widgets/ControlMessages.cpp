#include "widgets/ControlMessages.h"

#include "platform/ui/PrivateMessage.h"

#include <QWidget>

namespace controlmsg {

void PostCommand(const QWidget& control, int id, int notificationCode) {
    nativeui::PrivateMessage::Post(control.parentWidget(), nativeui::kWmCommand,
                                   nativeui::MakeWParam(id, notificationCode),
                                   reinterpret_cast<intptr_t>(&control));
}

} // namespace controlmsg
