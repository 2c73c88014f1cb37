#include "foundation/HeadlessUserInterface.h"

#include <iostream>

HeadlessUserInterface& HeadlessUserInterface::Instance() {
    static HeadlessUserInterface instance;
    return instance;
}

int HeadlessUserInterface::ShowMessage(const AString& text, const AString& title) {
    if (!title.IsEmpty())
        std::clog << title.ToSystem8Bit() << ": ";
    std::clog << text.ToSystem8Bit() << std::endl;
    return 1;
}

int HeadlessUserInterface::RunAlert(const AlertRequest& request) {
    for (int i = 0; i < static_cast<int>(request.buttons.size()); ++i) {
        if (request.buttons[i] == "No")
            return i;
    }
    return -1;
}
