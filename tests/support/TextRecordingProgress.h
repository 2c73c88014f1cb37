#pragma once
// A progress object that remembers the texts of the ranges and positions it was given.

#include "foundation/AProgress.h"

#include <vector>

class TextRecordingProgress : public AProgress {
public:
    void PushRange(double, const AString* text, bool, bool) override { Record(text); }
    void PopRange(const AString* text, bool, bool) override { Record(text); }
    void SetPos(double, const AString* text, const AString*, const AString*, bool) override { Record(text); }

    std::vector<AString> texts;

private:
    void Record(const AString* text) {
        if (text)
            texts.push_back(*text);
    }
};
