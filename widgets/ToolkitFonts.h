#pragma once
// The fonts the controls create, by the family, height in pixels and weight their callers name, with
// a generic family of the same kind behind it where the named one is not installed.

#include <QFont>
#include <QString>

namespace toolkitfonts {

constexpr int kWeightNormal = 400;
constexpr int kWeightBold = 700;

QFont Make(const QString& family, int pixelHeight, int weight);

// "Tahoma" 13, the font of combo boxes and drawn texts.
QFont Tahoma13();
// The dialogs' own font ("MS Shell Dlg" 8).
QFont DialogFont();

} // namespace toolkitfonts
