#pragma once
// A fresh folder for one test, removed with everything in it at the end.

#include "foundation/AString.h"

#include <cstdint>
#include <string>
#include <vector>

class TempDir {
public:
    // Below $TMPDIR (or /tmp), or below `base` when one is given.
    explicit TempDir(const std::string& base = "");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    // The folder joined with a relative name, native and as AString.
    std::string File(const std::string& name) const { return m_path + "/" + name; }
    AString Text(const std::string& name) const { return AString(File(name)); }

private:
    std::string m_path;
};

std::vector<uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
void WriteText(const std::string& path, const std::string& text);
// The bytes of a fixture file below tests/fixtures.
std::vector<uint8_t> FixtureBytes(const std::string& relativePath);
std::string FixturePath(const std::string& relativePath);
