#pragma once
// The title of a tool's list: the caller's, or "Tool Actions to Perform" without one.

#include "foundation/AString.h"
#include "widgets/QtText.h"

#include <QString>

inline QString ToolListTitle(const AString& title) {
    return title.IsEmpty() ? QStringLiteral("Tool Actions to Perform") : ToQString(title);
}
