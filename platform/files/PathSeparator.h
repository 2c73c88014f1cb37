#pragma once
// The separator of the levels of a native file path. Texts that are not file paths (entry texts, the
// paths of another computer) keep their own separators.

inline constexpr char kPathSeparator = '/';
