#include "support/FileNameCases.h"

const std::vector<FileNameCase>& NamesOfEveryKind() {
    static const std::vector<FileNameCase> names = {
        {"Latin-1", "Caf\xE9"},
        {"a broken UTF-8 sequence", "Bad\xC3("},
        {"valid UTF-8", "Beyonc\xC3\xA9"},
    };
    return names;
}
