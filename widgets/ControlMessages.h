#pragma once
// The private messages and notification codes that the toolkit's controls send to their parents, and
// the command ids of their popups.

#include "platform/ui/WindowMessages.h"

class QWidget;

namespace controlmsg {

using nativeui::kWmUser;

// Sent to an `AButton`: deliver a click as if the user had pressed it.
constexpr unsigned kWmButtonClick = kWmUser + 10;
// From the list of a `MultiLineComboBox` to its combo: the highlighted row is chosen / the list closes.
constexpr unsigned kWmDropListSelect = kWmUser + 10;
constexpr unsigned kWmDropListClose = kWmUser + 11;
// From `AStatus`: the cancel button was clicked. Both parameters 0.
constexpr unsigned kWmCancelOperation = kWmUser + 30;
// From `ABitmap`: files were dropped. Payload: std::vector<AString> of the paths in drop order;
// lParam: the `ABitmap`.
constexpr unsigned kWmAddDroppedFiles = kWmUser + 40;
// From `AComboBox::SetCurSel` and `SeparatorComboBox::SetCurSel`: wParam the combo, lParam the index
// (always 0 from a `SeparatorComboBox`).
constexpr unsigned kWmComboSelChanged = kWmUser + 123;

// Notification codes in the high word of a command's wParam (low word: the control id); the command's
// lParam is the control.
constexpr int kBnClicked = 0;
constexpr int kCbnSelChange = 1;

// Popup commands: `AComboBox` entry i is kComboFirstCommand + i; `ASyncSettingBitmap` setting i is
// kSettingFirstCommand + i.
constexpr int kComboFirstCommand = 30000;
constexpr int kSettingFirstCommand = 2024;
constexpr int kSettingLastCommand = 2031;

// Posts WM_COMMAND (id, code) to the control's parent, with the control as lParam.
void PostCommand(const QWidget& control, int id, int notificationCode);

} // namespace controlmsg
