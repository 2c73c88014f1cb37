#pragma once
// A private window message: its number, two parameters and an optional payload that the message owns,
// so that the payload is freed with the message even when nobody handles it. Posting works from any
// thread; sending from a worker waits until the GUI thread has handled the message.
//
// The receiver must outlive every message posted or sent to it, as a window outlives its messages.

#include <QEvent>
#include <cstdint>
#include <memory>
#include <utility>

class QObject;

namespace nativeui {

class MessagePayload {
public:
    virtual ~MessagePayload() = default;
};

template <class T> class PayloadOf : public MessagePayload {
public:
    explicit PayloadOf(T payload) : value(std::move(payload)) {}
    T value;
};

class PrivateMessage : public QEvent {
public:
    PrivateMessage(unsigned number, intptr_t wParam, intptr_t lParam,
                   std::unique_ptr<MessagePayload> payload = nullptr);

    static QEvent::Type EventType();
    // The event as a private message, or null when it is another kind of event.
    static PrivateMessage* From(QEvent* event);
    // True for the private message of that number.
    static bool Is(QEvent* event, unsigned number);

    unsigned Number() const { return m_number; }
    intptr_t WParam() const { return m_wParam; }
    intptr_t LParam() const { return m_lParam; }

    // The payload when it is a T, else null.
    template <class T> const T* Payload() const {
        const auto* typed = dynamic_cast<const PayloadOf<T>*>(m_payload.get());
        return typed ? &typed->value : nullptr;
    }
    std::unique_ptr<MessagePayload> TakePayload() { return std::move(m_payload); }

    // What a sender receives back; 0 unless the handler sets it.
    void SetResult(intptr_t result) { m_result = result; }
    intptr_t Result() const { return m_result; }

    static void Post(QObject* receiver, unsigned number, intptr_t wParam = 0, intptr_t lParam = 0,
                     std::unique_ptr<MessagePayload> payload = nullptr);
    // Handled at once on the receiver's own thread; from a worker, on the GUI thread while the worker
    // waits. Returns the handler's result, or 0 when the message could not be delivered.
    static intptr_t Send(QObject* receiver, unsigned number, intptr_t wParam = 0, intptr_t lParam = 0);

    template <class T> static std::unique_ptr<MessagePayload> MakePayload(T value) {
        return std::make_unique<PayloadOf<T>>(std::move(value));
    }

private:
    unsigned m_number;
    intptr_t m_wParam;
    intptr_t m_lParam;
    intptr_t m_result = 0;
    std::unique_ptr<MessagePayload> m_payload;
};

} // namespace nativeui
