#pragma once
// The skin: the controls' pictures by their picture ids, compiled into the program as PNG files drawn
// by widgets/skin/SkinPainter. Image pictures are opaque; where a picture has a mask, the mask is a grey
// picture of its own (white transparent, black opaque), or rows of the same picture where it says so.
// The action lists' strips (678 to 680) carry their own alpha instead.

#include <QImage>

namespace skin {

constexpr int kCheckMark = 161; // 7 x 7, the playlist chooser's tick, mask 163
constexpr int kCheckMarkMask = 163;
constexpr int kBarFill = 500;     // 1 x 7, the strip's progress fill
constexpr int kStatusFrame = 502; // 13 x 49, the strip's frame, with its mask 503
constexpr int kStatusFrameMask = 503;
constexpr int kStopButton = 508; // 36 x 36 normal, pressed 509, mask 510
constexpr int kStopButtonPressed = 509;
constexpr int kStopButtonMask = 510;
constexpr int kSettingIcons = 511; // 144 x 48: nine 16 x 16 icons at y 0, their masks at y 32
constexpr int kSmallButton = 624;  // 31 x 22 normal, pressed 625, mask 626
constexpr int kSmallButtonPressed = 625;
constexpr int kSmallButtonMask = 626;
constexpr int kTwoLookButtonA = 627; // 31 x 22, two looks (627, 628) with pressed 629, 630 and mask 631
constexpr int kTwoLookButtonB = 628;
constexpr int kTwoLookButtonAPressed = 629;
constexpr int kTwoLookButtonBPressed = 630;
constexpr int kTwoLookButtonMask = 631;
constexpr int kArrow = 632; // 16 x 16 normal, hot 633, mask 634
constexpr int kArrowHot = 633;
constexpr int kArrowMask = 634;
constexpr int kFirstSettingPicture = 650; // 101 x 26, one per setting 0 to 6; 657 is their mask
constexpr int kSettingPictureMask = 657;
constexpr int kHeaderCheck = 658; // 16 x 128: seven check boxes of 16 rows by state, their mask at row 112
constexpr int kIdle = 666; // 32 x 32, mask 667
constexpr int kIdleMask = 667;
constexpr int kCancel = 668; // 16 x 16 normal, pressed 669, mask 670
constexpr int kCancelPressed = 669;
constexpr int kCancelMask = 670;
constexpr int kWideButton = 672; // 99 x 18 normal, pressed 673, mask 674
constexpr int kWideButtonPressed = 673;
constexpr int kWideButtonMask = 674;
constexpr int kStartButton = 675; // 36 x 36 normal, pressed 676, mask 677
constexpr int kStartButtonPressed = 676;
constexpr int kStartButtonMask = 677;
// 62 x 336: 24 pictures of 62 x 14, picture 2k for a sync action's display index k
constexpr int kActionStrip = 678;
constexpr int kSyncModeStrip = 679;   // 62 x 196: 14 pictures of 62 x 14, picture 2m for sync mode m
constexpr int kToolActionStrip = 680; // as 678, for the songs a tool adds
// 26 x 78: a column of 13 for "off", one for "on"; rows of 13: check box, its mask, radio, its mask,
// greyed radio, its mask
constexpr int kCheckSheet = 681;
constexpr int kWideButtonB = 682; // 99 x 18 normal, pressed 683, mask 684
constexpr int kWideButtonBPressed = 683;
constexpr int kWideButtonBMask = 684;

// The picture as 32-bit blue, green, red, alpha pixels; a null image when there is no such picture.
QImage Load(int id);

// A picture and its mask, premultiplied: ready to be composed with its alpha.
QImage LoadMasked(int id, int maskId);

} // namespace skin
