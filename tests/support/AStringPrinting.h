#pragma once
// Lets GoogleTest print texts in its failure messages.

#include <ostream>

#include "foundation/AString.h"

void PrintTo(const AString& text, std::ostream* out);
