#pragma once
// The messages between the pages of the settings sheet: a page that was opened in this run of the
// sheet gets the message posted; one not opened yet has its value written at once instead.

#include "platform/ui/PrivateMessage.h"
#include "platform/ui/WindowMessages.h"
#include "widgets/APropertyPage.h"

#include <functional>

namespace pagelink {

constexpr unsigned kFirst = nativeui::kWmUser + 100;  // 0x464
constexpr unsigned kSecond = nativeui::kWmUser + 101; // 0x465
constexpr unsigned kThird = nativeui::kWmUser + 102;  // 0x466
constexpr unsigned kFourth = nativeui::kWmUser + 103; // 0x467

inline void Tell(APropertyPage* page, unsigned number, intptr_t wParam, const std::function<void()>& direct) {
    if (!page)
        return;
    if (page->IsOpened())
        nativeui::PrivateMessage::Post(page, number, wParam);
    else
        direct();
}

} // namespace pagelink
