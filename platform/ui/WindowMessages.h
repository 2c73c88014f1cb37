#pragma once
// The numbers that messages between windows keep from the system they were first written for: the
// private range, commands and their parameter packing, and the dialog result codes.

#include <cstdint>

namespace nativeui {

constexpr unsigned kWmCommand = 0x111;
constexpr unsigned kWmLButtonUp = 0x202;
constexpr unsigned kWmLButtonDblClk = 0x203;
constexpr unsigned kWmUser = 0x400;

// Dialog results: a dialog ends with one of these, never with a toolkit's own accepted/rejected.
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

// A command's first parameter: the control id in the low word, the notification code in the high word.
constexpr intptr_t MakeWParam(int low, int high) {
    return static_cast<intptr_t>((static_cast<uint32_t>(high & 0xFFFF) << 16) |
                                 static_cast<uint32_t>(low & 0xFFFF));
}

// A point packed as x in the low word and y in the high word, each a signed 16-bit value.
constexpr intptr_t MakeLParam(int x, int y) {
    return MakeWParam(x, y);
}

constexpr int LowWord(intptr_t value) {
    return static_cast<int>(static_cast<uint32_t>(value) & 0xFFFF);
}

constexpr int HighWord(intptr_t value) {
    return static_cast<int>((static_cast<uint32_t>(value) >> 16) & 0xFFFF);
}

} // namespace nativeui
