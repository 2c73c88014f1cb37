#pragma once
// Lets GoogleTest print texts in its failure messages.

#include "foundation/AString.h"

#include <ostream>

void PrintTo(const AString& text, std::ostream* out);
