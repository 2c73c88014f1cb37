#include "platform/ui/PrivateMessage.h"

#include "platform/ui/GuiThread.h"

#include <QCoreApplication>
#include <QObject>
#include <QThread>

namespace nativeui {

PrivateMessage::PrivateMessage(unsigned number, intptr_t wParam, intptr_t lParam,
                               std::unique_ptr<MessagePayload> payload)
    : QEvent(EventType()), m_number(number), m_wParam(wParam), m_lParam(lParam),
      m_payload(std::move(payload)) {}

QEvent::Type PrivateMessage::EventType() {
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

PrivateMessage* PrivateMessage::From(QEvent* event) {
    return event->type() == EventType() ? static_cast<PrivateMessage*>(event) : nullptr;
}

bool PrivateMessage::Is(QEvent* event, unsigned number) {
    const PrivateMessage* message = From(event);
    return message && message->Number() == number;
}

void PrivateMessage::Post(QObject* receiver, unsigned number, intptr_t wParam, intptr_t lParam,
                          std::unique_ptr<MessagePayload> payload) {
    if (!receiver)
        return;
    QCoreApplication::postEvent(receiver, new PrivateMessage(number, wParam, lParam, std::move(payload)));
}

intptr_t PrivateMessage::Send(QObject* receiver, unsigned number, intptr_t wParam, intptr_t lParam) {
    if (!receiver)
        return 0;
    intptr_t result = 0;
    const auto deliver = [&] {
        PrivateMessage message(number, wParam, lParam);
        QCoreApplication::sendEvent(receiver, &message);
        result = message.Result();
    };
    if (QThread::currentThread() == receiver->thread())
        deliver();
    else
        GuiThread::RunAndWait(deliver);
    return result;
}

} // namespace nativeui
