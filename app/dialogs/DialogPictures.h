#pragma once
// The action lists' pictures, cut from the skin once and kept for the process: the symbols of the
// action and sync-mode strips, the check boxes and radios of the check sheet, the header's check box
// and the chooser's tick. Each is ready to be drawn with its alpha. Only the GUI thread asks for them.

#include <QImage>

namespace dialogpictures {

constexpr int kStripImageWidth = 62;
constexpr int kStripImageHeight = 14;
constexpr int kSheetCell = 13;

// Picture `image` of strip 678, 679 or 680; a null image outside the strip.
const QImage& StripImage(int stripId, int image);

enum SheetPicture { kSheetCheckBox = 0, kSheetRadio = 1, kSheetGreyedRadio = 2 };
const QImage& SheetImage(SheetPicture picture, bool on);

const QImage& HeaderCheckImage(int state);
const QImage& CheckMarkImage();

} // namespace dialogpictures
