#pragma once
// The scan of the orphan removal: entries whose song file is gone.

#include "library/tools/ToolScan.h"

class OrphanScan : public ToolScan {
public:
    // Records no error: a file that cannot be named is an orphan too.
    int Run(ToolRun& run) override;
};
