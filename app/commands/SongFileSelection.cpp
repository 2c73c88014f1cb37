#include "app/commands/SongFileSelection.h"

#include <algorithm>
#include <string>

namespace {

constexpr char16_t kSeparator = u'/';

using Levels = std::vector<std::u16string>;

// The folder levels of an absolute path ("/a/b/c" gives a, b, c); empty levels ("//", a trailing
// '/') are dropped.
Levels LevelsOf(const std::u16string& path) {
    Levels levels;
    size_t start = 1;
    while (start <= path.size()) {
        const size_t end = std::min(path.find(kSeparator, start), path.size());
        if (end > start)
            levels.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return levels;
}

// The levels [first, last) joined by the separator; an absolute path starts with one ("/" alone for
// no level).
AString Join(const Levels& levels, size_t first, size_t last, bool absolute) {
    std::u16string text;
    for (size_t i = first; i < last; ++i) {
        if (absolute || i > first)
            text += kSeparator;
        text += levels[i];
    }
    if (absolute && text.empty())
        text = kSeparator;
    return AString(text);
}

} // namespace

std::optional<SongFileSelection> SongFileSelection::FromPaths(const std::vector<AString>& paths) {
    std::vector<Levels> chosen;
    for (const AString& path : paths) {
        const std::u16string& text = path.GetCString();
        if (text.empty() || text.front() != kSeparator)
            continue;
        Levels levels = LevelsOf(text);
        // "/" itself lies in no folder.
        if (!levels.empty())
            chosen.push_back(std::move(levels));
    }
    if (chosen.empty())
        return std::nullopt;

    // The common levels of the folders the paths lie in.
    size_t common = chosen.front().size() - 1;
    for (const Levels& levels : chosen) {
        common = std::min(common, levels.size() - 1);
        const auto differ = std::mismatch(levels.begin(), levels.begin() + common, chosen.front().begin());
        common = static_cast<size_t>(differ.first - levels.begin());
    }
    SongFileSelection selection;
    selection.root = Join(chosen.front(), 0, common, true);
    for (const Levels& levels : chosen)
        selection.entries.push_back(Join(levels, common, levels.size(), false));
    return selection;
}

AString SongFileSelection::FullPath(const AString& entry) const {
    AString path = root;
    path.AppendPath(entry);
    return path;
}
