#pragma once
// Messages and questions for the user, asked from any thread. The desktop program shows them in its
// window; without one (tests, the server program) the headless implementation answers.

#include "foundation/AString.h"

#include <array>

struct AlertRequest {
    AString message;
    std::array<AString, 4> descriptions;
    std::array<AString, 4> buttons; // an empty caption hides the button
};

class ProgressUserInterface {
public:
    virtual ~ProgressUserInterface() = default;
    // Shows the text under its title (empty: the program's name) and waits until the user has seen
    // it; returns 1 when it was shown.
    virtual int ShowMessage(const AString& text, const AString& title = AString()) = 0;
    // Runs the alert box: the index of the button that closed it (0 to 3), or -1 without an answer.
    virtual int RunAlert(const AlertRequest& request) = 0;
};
