#pragma once
// The twelve library tools of the Tools menu as the main window runs them: which command runs which
// tool on which side of the first sync, what is refused before the busy lock, and the run on the
// worker, which switches the list's filters off around the tool and shows how it ended. The run
// touches no control: it reports through the progress object and asks through the presenter.

#include "foundation/AString.h"
#include "foundation/CancelCallback.h"

class ADir;
class ADirSong;
class AProgress;
class ASemaphore;
class ToolActionPresenter;

enum class ToolSide {
    Library, // the local library: Directory 1 of the first sync
    Device,  // the chosen iPod: Directory 2 of the first sync
};

struct ToolCommand {
    int command; // the menu command id (32849 has no menu item)
    int code;    // the tool code, 1 to 12
    ToolSide side;
    const char* scanText;
};

// What the worker runs: made by the command on the GUI thread.
struct ToolJob {
    int code = 0;
    ADir* library = nullptr; // Directory 1 of the first sync; null when there is none
    ADir* device = nullptr;  // Directory 2 of the first sync; null when there is none
    // Shows the tool's list for the run; null leaves the process's presenter.
    ToolActionPresenter* presenter = nullptr;
    CancelCallback cancel; // the window's cancel poll
};

enum class ToolStart {
    Started,  // the caller holds the busy lock and starts the worker
    NoDevice, // show kNoIPodConnected
    Busy,     // show the window's "Please wait until the current operation terminates"
};

class ToolCommands {
public:
    static constexpr const char* kNoIPodConnected = "No iPod Connected!";
    static constexpr const char* kDone = "Done!";
    static constexpr const char* kErrorOccured = "Error occured!";

    // The tool of a menu command id, or of a tool code; null for none of the twelve.
    static const ToolCommand* Find(int command);
    static const ToolCommand* FindCode(int code);
    // The tools whose list lets the user add a song's Apple ID to their own: music not owned.
    static bool ExtendsAppleIds(const ToolCommand& tool);

    // On the GUI thread, before the worker: a device-side tool needs a chosen device, then the busy lock
    // is taken with a try. Only Started leaves the lock taken (by the caller).
    static ToolStart TryStart(const ToolCommand& tool, bool deviceChosen, ASemaphore& busy);

    // The worker's run: 0, -15252, -15253 or -15254 for a list or code that does not fit, or what reading
    // the list, the tool or writing the list's database ended with (123456 when cancelled or not
    // confirmed). The window posts the result with its end message.
    static int Run(const ToolJob& job, AProgress& progress);

private:
    // The side's song list of the job, or the code that refuses it.
    static int ChooseList(const ToolJob& job, const ToolCommand* tool, ADirSong*& list);
    static int RunTool(int code, ADirSong& list, const CancelCallback& cancel);
};
