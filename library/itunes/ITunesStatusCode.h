#pragma once
// The result code of a call into the music application: 0, -6 when the call failed, -3 when the
// application is gone, -7 when it asks to be called again later, -15231 when its library file cannot
// be read.

#include "platform/itunes/ITunesTypes.h"

int ITunesStatusCode(itunesapp::Status status);
