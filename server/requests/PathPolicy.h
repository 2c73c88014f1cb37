#pragma once
// Which files the requests of remote clients may touch: the server shares one user's music, and
// nothing else of that user or of anyone else.

#include "foundation/AString.h"

#include <optional>

class PathPolicy {
public:
    enum class Access { Read, Write };

    virtual ~PathPolicy() = default;
    // The path to work on for a path that a request names, resolved (symbolic links followed), when the
    // request may touch it so; nothing when it may not. Must be thread-safe.
    virtual std::optional<AString> Resolve(const AString& requested, Access access) const = 0;
};
