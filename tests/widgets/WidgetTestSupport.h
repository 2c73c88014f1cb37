#pragma once
// Helpers of the widget tests: a parent that records the private messages its controls post, event
// loops with a time limit, answering modal dialogs, and rendering a control over a plain background.

#include "foundation/AString.h"
#include "platform/ui/PrivateMessage.h"

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

class SkinnedControl;

struct RecordedMessage {
    unsigned number = 0;
    intptr_t wParam = 0;
    intptr_t lParam = 0;
    std::vector<AString> paths; // the payload of a files message
};

class MessageRecorder : public QWidget {
public:
    explicit MessageRecorder(QWidget* parent = nullptr);

    std::vector<RecordedMessage> messages;

protected:
    bool event(QEvent* event) override;
};

// Handles the events posted so far.
void Drain();
// Runs the event loop until the condition holds or the time is up; the condition's last answer.
bool SpinUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds limit = std::chrono::milliseconds(5000));
void SpinFor(std::chrono::milliseconds time);

// Calls `handle` with each modal dialog that opens until it answers true (the dialog was dealt with).
class ModalWatcher {
public:
    explicit ModalWatcher(std::function<bool(QWidget*)> handle);

private:
    QTimer m_timer;
};

// The control drawn by its own Draw over a background of one colour.
QImage DrawControl(SkinnedControl& control, QColor background = Qt::white);

// Pixel of a 32-bit image as 0xAARRGGBB.
uint32_t PixelAt(const QImage& image, int x, int y);

// Compares a painted picture with its reference picture file. Text is drawn by the system's font
// rasteriser, so a few pixels may differ a little: each channel may be off by a small amount, and a
// small share of pixels by more.
void ExpectPaintsLikeReference(const QImage& drawn, const QString& referencePath);
