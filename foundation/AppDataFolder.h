#pragma once
// The user's application-data folder, where both programs and the music application keep their files.

#include "foundation/AString.h"

// Created when missing; false when it cannot be had (no home folder, or it cannot be created).
bool GetAppDataFolder(AString& folder);
