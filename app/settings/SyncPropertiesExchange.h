#pragma once
// The settings sheet and what it edits: the main program's settings and the first sync of the loaded
// sync set. Fill loads the pages before the sheet opens; Apply stores them after OK. A change of how
// songs are paired or filtered empties both snapshot lists, so that the next sync does not take a song
// that the new rules leave out for one the user deleted.

#include "app/settings/RouterTest.h"

class ASync;
class AppSettings;
class HelperProgram;
class SyncProperties;

class SyncPropertiesExchange {
public:
    // `deviceChosen`: the window's device chooser has a selection, so the iPod side may be edited.
    // `router`: the router status texts of page "Global" (RouterTexts gives them).
    // The song sync's own options (comparison, duplicates, tag filters) come only from an ASyncLib;
    // for another sync those pages keep their values.
    static void Fill(SyncProperties& sheet, const AppSettings& settings, const ASync& sync, bool deviceChosen,
                     const RouterTest::Texts& router);
    static void Apply(const SyncProperties& sheet, AppSettings& settings, ASync& sync);

    // What the running server program reports of the router (it writes "Router.stat" anew); the
    // failed texts without the program or a known mapping.
    static RouterTest::Texts RouterTexts(const HelperProgram& helper);
};
