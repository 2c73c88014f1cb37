#include "support/RecordingUserInterface.h"

#include "foundation/AProgress.h"

RecordingUserInterface::RecordingUserInterface() {
    AProgress::SetUserInterface(this);
}

RecordingUserInterface::~RecordingUserInterface() {
    AProgress::SetUserInterface(nullptr);
}

void RecordingUserInterface::QueueAnswers(std::initializer_list<int> buttons) {
    std::lock_guard lock(m_lock);
    m_answers.insert(m_answers.end(), buttons);
}

int RecordingUserInterface::ShowMessage(const AString& text, const AString& title) {
    std::lock_guard lock(m_lock);
    messages.push_back(text);
    titles.push_back(title);
    return 1;
}

int RecordingUserInterface::RunAlert(const AlertRequest& request) {
    std::lock_guard lock(m_lock);
    alerts.push_back(request);
    if (m_answers.empty())
        return -1;
    const int answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}
