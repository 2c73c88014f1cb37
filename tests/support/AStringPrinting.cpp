#include "support/AStringPrinting.h"

void PrintTo(const AString& text, std::ostream* out) {
    *out << '"' << text.ToUtf8() << '"';
}
