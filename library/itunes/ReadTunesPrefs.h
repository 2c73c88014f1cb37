#pragma once
// The user's purchasing account, read from the preferences file that iTunes keeps in the user's
// application-data folder ("Apple Computer/iTunes/iTunes.pref").

#include "foundation/AString.h"

// 0 with the name set, or a negative code with the name unchanged.
int ReadTunesPrefs(AString& name);
// The same from a preferences file at `path`.
int ReadTunesPrefsFile(const AString& path, AString& name);
