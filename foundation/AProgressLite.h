#pragma once
// A progress object that shows nothing and keeps no log (the server program would gather log text
// forever); errors and messages still reach the user interface.

#include "foundation/AProgress.h"

class AProgressLite : public AProgress {
public:
    void Start(const AString* = nullptr, bool = false, bool = false) override {}
    void Finish(const AString* = nullptr, bool = false, bool = false) override {}
    void PushRange(double, const AString* = nullptr, bool = false, bool = false) override {}
    void PopRange(const AString* = nullptr, bool = false, bool = false) override {}
    void SetPos(double, const AString* = nullptr, const AString* = nullptr, const AString* = nullptr,
                bool = false) override {}

protected:
    void AppendLog(const AString&) override {}
};
