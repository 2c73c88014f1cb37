#pragma once
// The main window's own pictures, beside the toolkit's: compiled in as ":/skin/<id>.png" like them
// (drawn by app/skin/AppSkinPainter), so the controls load them by id.

namespace appskin {

constexpr int kProgramIcon = 128;    // 32 x 32 with its alpha
constexpr int kRemoteLibrary = 165;  // 64 x 64, cyan (0xFFFF00) transparent
constexpr int kBackground = 504;     // 16 x 16 tile of the window's background
constexpr int kUnknownDevice = 600;  // 64 x 64, cyan transparent; 601 to 621 the device models
constexpr int kFirstDeviceModel = 601;
constexpr int kLastDeviceModel = 621;
constexpr int kLibrary = 622;        // 64 x 64, cyan transparent: the local library
constexpr int kCaptionButtons = 671; // 144 x 32: three buttons x (normal, hot, pressed), masks below
constexpr int kCornerMask = 686;     // 32 x 16: the four corners' masks side by side in the top half

constexpr int kCaptionButtonSize = 16;
constexpr int kCornerSize = 8;
// Picture pixels of this colour are keyed out.
constexpr unsigned kTransparentKey = 0x00FFFF00;
// Corner mask pixels of this colour are cut from the window.
constexpr unsigned kCutColor = 0x00010101;

} // namespace appskin
