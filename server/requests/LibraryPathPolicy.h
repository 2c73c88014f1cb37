#pragma once
// Lets requests touch the files of the served library: a file under its music folder (as the music
// folder policy resolves it), or exactly the file a track of the library names. Anything else of the
// user stays out of reach.

#include "server/requests/PathPolicy.h"

#include <memory>

class ServedLibrary;

class LibraryPathPolicy : public PathPolicy {
public:
    explicit LibraryPathPolicy(std::shared_ptr<const ServedLibrary> library) : m_library(std::move(library)) {}

    std::optional<AString> Resolve(const AString& requested, Access access) const override;
    // A file under the music folder only: what may be added to the library.
    std::optional<AString> ResolveInMusicFolder(const AString& requested, Access access) const;

private:
    std::shared_ptr<const ServedLibrary> m_library;
};
