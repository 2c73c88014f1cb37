#pragma once
// The start-up wiring of the music application: each program calls it once at start, before it first
// connects. The application reads song files with our tag reader and, when an opener is given, shows
// the mounted iPods through their own databases.

#include "platform/itunes/PodDatabase.h"

void InstallITunesServices(itunesapp::PodDatabaseOpener podOpener = {});
