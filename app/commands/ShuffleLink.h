#pragma once
// "Link Shuffle to local iTunes": an iPod known by its own database is made to belong to this
// computer's library, by writing the library's id into the iPod's "iTunesPrefs". Runs on the GUI
// thread under the busy lock, which the window takes before and gives back after; the messages and
// the question go through the user interface it is given.

#include "foundation/AString.h"

class ProgressUserInterface;

// The chooser's choice as the command sees it.
struct ShuffleLinkChoice {
    bool selected = false;      // the chooser has a selection
    bool hasRecord = false;     // ... whose entry stands for a device or host
    bool isPodDatabase = false; // ... an iPod known by its own database
    AString podName;            // the name of its master playlist
    AString podRoot;            // where its volume is mounted
};

class ShuffleLink {
public:
    static constexpr int kCommand = 32861;
    static constexpr const char* kMenuText = "Link Shuffle to local iTunes";
    static constexpr const char* kNoIPodConnected = "No iPod Connected!";
    static constexpr const char* kCannotLink = "Cannot link this iPod to this computer";
    static constexpr const char* kLinked =
        "iPod linked. Eject the iPod and re-connect\nfor the changes to take effect.";
    static constexpr const char* kFailed = "An error occured while trying to link the iPod to local iTunes: ";

    // The command after the busy lock: the refusals, the question and the link with its message.
    static void Run(const ShuffleLinkChoice& choice, ProgressUserInterface& user);
    // Writes the library's id into the iPod's "iTunesPrefs": 0, -15174 without a music folder, -15175
    // or -15176 for a library file without an id (or with one that is not 1 to 16 hex digits), the
    // read failure of the library file, or the failure of the iPod's file (missing, shorter than the
    // id's place, unwritable), which then stays as it was.
    static int Link(const AString& podRoot);
    static AString Question(const AString& podName);
    // The message after Link ended with `result`.
    static AString ResultText(int result);
};
