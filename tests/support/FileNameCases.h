#pragma once
// File names as bytes, the kinds a folder can hold: every test of names that must come back whole
// takes them from here.

#include <string>
#include <vector>

struct FileNameCase {
    const char* what;
    std::string name; // the bytes of the name, without an extension
};

// A Latin-1 name, one with a broken UTF-8 sequence, and a valid UTF-8 one.
const std::vector<FileNameCase>& NamesOfEveryKind();
