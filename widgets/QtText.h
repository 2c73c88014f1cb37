#pragma once
// Texts crossing between the system's own strings and Qt's. Both are UTF-16, so texts pass unchanged;
// a file path is turned into the bytes the operating system uses for it first, so that a name that is
// not valid UTF-8 reaches the system's string by the same rule as every other path it reads.

#include "foundation/AString.h"

#include <QString>

QString ToQString(const AString& text);
AString ToAString(const QString& text);
AString PathToAString(const QString& path);
