#pragma once
// Stands in for the user: records every message and question and answers from a script.

#include "foundation/ProgressUserInterface.h"

#include <deque>
#include <mutex>
#include <vector>

class RecordingUserInterface : public ProgressUserInterface {
public:
    // Installs itself as the process's user interface until destroyed.
    RecordingUserInterface();
    ~RecordingUserInterface() override;

    // The button index (0 to 3, or -1 for a box closed without an answer) of the next questions.
    void QueueAnswers(std::initializer_list<int> buttons);

    int ShowMessage(const AString& text, const AString& title = AString()) override;
    int RunAlert(const AlertRequest& request) override;

    std::vector<AString> messages;
    std::vector<AString> titles; // one for each message, empty where it had none
    std::vector<AlertRequest> alerts;

private:
    std::mutex m_lock;
    std::deque<int> m_answers;
};
