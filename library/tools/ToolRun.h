#pragma once
// The frame that every library tool runs in: the list's lock, the progress, the scan, the end texts,
// the confirmation of what was found and the performing of the confirmed rows. The scans use its
// steps, so that every tool shows its progress, asks about errors and reads the cancel alike.

#include "foundation/AString.h"
#include "foundation/CancelCallback.h"
#include "library/songlists/SongToolAction.h"

#include <cstdint>

class ADirSong;
class AProgress;
class ToolScan;

// The texts and settings of one tool.
struct ToolDescription {
    SongToolKind kind;
    const char* scanText;
    const char* nothingFound;
    const char* errorEnd;
    const char* notConfirmed;
    double scanShare = 1.0; // of the progress bar; a tool that reads a folder first takes the rest itself
};

class ToolRun {
public:
    ToolRun(ADirSong& source, const ToolDescription& tool, const CancelCallback& callback, uint32_t verbose);

    // The whole tool: -102390 when the list is busy, else what the scan, the confirmation or the
    // performing ended with.
    int Run(ToolScan& scan);

    ADirSong& Source() { return m_source; }
    AProgress& Progress();
    const CancelCallback& Callback() const { return m_callback; }
    // Asks the callback; false without one.
    bool Cancelled() const;
    // The position `step` of `count`, with step + " of " + the list's count as status text when verbose.
    void ShowStep(int step, int count);
    // A line for the log (and the status) at a position.
    void LogLine(double position, const AString& text);
    // Appends a row of the tool's kind for a song, shown by its display text.
    SongToolAction& AddSongRow(const AString& entry);
    // Appends a row of the tool's kind for a disk file, shown by its path.
    SongToolAction& AddFileRow(const AString& path);

private:
    int ScanAndConfirm(ToolScan& scan);
    // The progress ends with "Ready.", or with the tool's error text when verbose.
    void EndScan(int result);
    int ConfirmAndPerform();
    int PerformConfirmed();

    ADirSong& m_source;
    ToolDescription m_tool;
    CancelCallback m_callback;
    uint32_t m_verbose;
};
