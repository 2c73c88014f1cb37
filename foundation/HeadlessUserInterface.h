#pragma once
// Where nobody can answer: messages go to the standard error stream (a title in front of its text) and
// every question is answered with its "No" button (or no answer at all), never with "Yes".

#include "foundation/ProgressUserInterface.h"

class HeadlessUserInterface : public ProgressUserInterface {
public:
    static HeadlessUserInterface& Instance();

    int ShowMessage(const AString& text, const AString& title = AString()) override;
    int RunAlert(const AlertRequest& request) override;
};
