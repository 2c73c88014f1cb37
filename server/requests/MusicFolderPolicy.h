#pragma once
// Lets requests touch the files under one folder, the served library's music folder: a path must be
// absolute, hold no ".." and resolve, through every symbolic link, to the folder itself (reading only)
// or to something below it. A file that does not exist yet resolves through its nearest existing folder.

#include "server/requests/PathPolicy.h"

#include <string>

class MusicFolderPolicy : public PathPolicy {
public:
    explicit MusicFolderPolicy(const AString& folder);

    std::optional<AString> Resolve(const AString& requested, Access access) const override;
    // Absolute, without ".." and without NUL: the form every path of a request must have.
    static bool IsPlainAbsolutePath(const AString& path);

private:
    std::string m_folder;
};
