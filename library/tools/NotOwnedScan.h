#pragma once
// The scan of the removal of music not owned: protected songs (m4p, m4v) bought with an account that
// is not one of the user's own.

#include "library/tools/ToolScan.h"

class ADirSong;
class AString;

class NotOwnedScan : public ToolScan {
public:
    // Without one of the user's Apple IDs every purchase would look like another's.
    const char* Refusal(const ADirSong& source) const override;
    // The error of the last entry whose file could not be named, or 0.
    int Run(ToolRun& run) override;

private:
    // The account of a protected song bought by someone else; empty for any other song.
    static AString ForeignAccount(const ADirSong& source, const AString& path);
};
