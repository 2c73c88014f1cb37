#pragma once

#include "foundation/AString.h"

// Completes a log or error line with the user text of a result code: the code's text is appended,
// except for the cancel code, whose text replaces the line. Returns `text`.
AString& GetErrorText(AString& text, int code);
