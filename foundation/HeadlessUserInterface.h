#pragma once
// Where nobody can answer: messages go to the standard error stream and every question is answered
// with its "No" button (or no answer at all), never with "Yes".

#include "foundation/ProgressUserInterface.h"

class HeadlessUserInterface : public ProgressUserInterface {
public:
    static HeadlessUserInterface& Instance();

    int ShowMessage(const AString& text) override;
    int RunAlert(const AlertRequest& request) override;
};
