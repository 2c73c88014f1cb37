#pragma once
// The settings sheet run as a user runs it, offscreen: a test's drive acts in the sheet once it
// shows, then OK is pressed; when OK is refused the sheet is cancelled. The texts of the message
// boxes that showed are kept.

#include <QStringList>
#include <functional>

class APropertySheet;
class SyncProperties;

struct SheetRun {
    int result = 0;
    QStringList messages;
    bool refused = false;
};

SheetRun RunSheet(SyncProperties& properties, const std::function<void(APropertySheet&)>& drive);

// The tab the user clicks: the page left behind gives up its input first.
void UserShows(APropertySheet& sheet, int tab);
