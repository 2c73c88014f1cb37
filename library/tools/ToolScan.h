#pragma once
// The scan of one library tool: it looks through the song list and appends the rows it found.

class ToolRun;

class ToolScan {
public:
    virtual ~ToolScan() = default;
    // 0 when the scan went through, else the recorded error or 123456 (cancelled).
    virtual int Run(ToolRun& run) = 0;
};
