#pragma once
// The scan of one library tool: it looks through the song list and appends the rows it found.

class ADirSong;
class ToolRun;

class ToolScan {
public:
    virtual ~ToolScan() = default;
    // Why the tool cannot look through this list, told to the user in place of the scan; null when it can.
    virtual const char* Refusal(const ADirSong&) const { return nullptr; }
    // 0 when the scan went through, else the recorded error or 123456 (cancelled).
    virtual int Run(ToolRun& run) = 0;
};
