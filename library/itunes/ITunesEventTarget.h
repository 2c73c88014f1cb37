#pragma once
// The window that hears of the music application's events through an iTunes client. The main window
// implements it by posting its private messages; the calls come from any thread.

#include "library/itunes/ITunesDatabaseChange.h"

class ITunesEventTarget {
public:
    // The numbers of the window's messages.
    static constexpr unsigned kDatabaseChangedMessage = 1044;
    static constexpr unsigned kQuitMessage = 1045;

    virtual ~ITunesEventTarget() = default;

    // Posts the change to the window, which owns it from then on; false when it could not be posted.
    virtual bool PostDatabaseChanged(ITunesDatabaseChange change) = 0;
    virtual bool PostQuit() = 0;
};
