#pragma once
// A fresh folder of the system's temporary place that only this user may enter, for a file that a
// client sent; it goes, with what was written into it, when the object does.

#include "foundation/AString.h"

#include <string>

class PrivateTempFolder {
public:
    PrivateTempFolder();
    PrivateTempFolder(const PrivateTempFolder&) = delete;
    PrivateTempFolder& operator=(const PrivateTempFolder&) = delete;
    ~PrivateTempFolder();

    // False when no folder could be made.
    bool IsReady() const { return !m_path.empty(); }
    // The path of a file of that name in the folder.
    AString File(const AString& name) const;

private:
    std::string m_path;
};
