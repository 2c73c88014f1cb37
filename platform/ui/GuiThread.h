#pragma once
// The one thread that creates and touches windows, and how other threads reach it. Workers post work
// to it or wait for work done there; the GUI thread itself never waits for a worker.

#include <functional>

class QObject;

namespace nativeui {

class GuiThread {
public:
    // True on the thread of the running application object.
    static bool IsCurrent();

    // Queues the work on the GUI thread and returns at once. The work is dropped when `context` is
    // destroyed first, or when no application runs.
    static void Post(QObject* context, std::function<void()> work);

    // Runs the work on the GUI thread and waits for it (inline when called there). False when it did
    // not run: there is no application, or it is closing and the work had not started yet.
    static bool RunAndWait(const std::function<void()>& work);

    // Runs a modal dialog for a worker: `run` builds, shows and ends the dialog on the GUI thread, which
    // keeps handling its events (timers included) meanwhile. Returns the dialog's code, or -1 when the
    // dialog could not be shown.
    static int RunModal(const std::function<int()>& run);
};

} // namespace nativeui
