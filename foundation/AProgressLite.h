#pragma once
// A progress object that shows nothing: its ranges, positions and status texts go nowhere. Its log is
// kept as any progress object keeps it (error lines included, the newest AProgress::kPendingLogLimit
// characters at most) until a log view takes it or someone reads it, and its messages and questions
// reach the user interface.

#include "foundation/AProgress.h"

class AProgressLite : public AProgress {
public:
    void Start(const AString* = nullptr, bool = false, bool = false) override {}
    void Finish(const AString* = nullptr, bool = false, bool = false) override {}
    void PushRange(double, const AString* = nullptr, bool = false, bool = false) override {}
    void PopRange(const AString* = nullptr, bool = false, bool = false) override {}
    void SetPos(double, const AString* = nullptr, const AString* = nullptr, const AString* = nullptr,
                bool = false) override {}
};
