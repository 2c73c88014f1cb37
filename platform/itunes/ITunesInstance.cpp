#include "platform/itunes/ITunesInstance.h"

#include "platform/itunes/InstanceState.h"

namespace itunesapp {

ITunesInstance::ITunesInstance(Setup setup) : m_state(std::make_shared<InstanceState>(std::move(setup))) {}

ITunesInstance::~ITunesInstance() {
    m_state->Flush();
}

void ITunesInstance::Install(Setup setup) {
    ITunesInstance& running = Running();
    running.Quit();
    running.m_state = std::make_shared<InstanceState>(std::move(setup));
}

ITunesInstance& ITunesInstance::Running() {
    static ITunesInstance running{Setup()};
    return running;
}

void ITunesInstance::SetBusy(bool busy) {
    m_state->SetBusy(busy);
}

void ITunesInstance::RefuseAdds(int calls) {
    m_state->RefuseAdds(calls);
}

void ITunesInstance::Quit() {
    m_state->Quit();
}

bool ITunesInstance::Flush() {
    return m_state->Flush();
}

std::string ITunesInstance::LibraryProblem() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->LibraryProblem();
}

} // namespace itunesapp
