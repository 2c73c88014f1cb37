#pragma once
// What a running sync needs of the program that runs it, besides progress and questions: the cancel
// request that its list thread reads, and a word of whether that thread runs (a new sync is refused
// while it does).

class SyncHost {
public:
    virtual ~SyncHost() = default;
    // Non-zero once the user asked to stop. Read from the list thread: must be thread-safe.
    virtual int IsCancelRequested() = 0;
    // Told true before the list thread can run and false by that thread as it ends.
    virtual void SetListThreadRunning(bool running) = 0;
};
