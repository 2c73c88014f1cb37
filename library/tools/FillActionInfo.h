#pragma once

class ADirSong;
struct SongToolAction;

// The file information of a duplicate row (date, size, duration, bit rate, account, pictures), read
// from the tags of its `fullPath`: 0, or the tag reader's error with the fields left zero. A list that
// is not a song folder gives the duration and bit rate that the tags lack.
int FillActionInfo(ADirSong& source, SongToolAction& row);
