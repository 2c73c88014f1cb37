#include "PortForwardRig.h"

#include "platform/upnp/MiniupnpcGateway.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>

namespace {

constexpr int kQuietMs = 300;
constexpr auto kLongestRun = std::chrono::seconds(60);

} // namespace

void QueuedEvents::OnPortForwardEvent(int code, int64_t value) {
    std::lock_guard lock(m_lock);
    m_events.emplace_back(code, value);
    m_arrived.notify_all();
}

bool QueuedEvents::Next(std::pair<int, int64_t>& event, int waitMs) {
    std::unique_lock lock(m_lock);
    if (!m_arrived.wait_for(lock, std::chrono::milliseconds(waitMs), [this] { return !m_events.empty(); }))
        return false;
    event = m_events.front();
    m_events.pop_front();
    return true;
}

int RecordingReport::Failed() const {
    return static_cast<int>(std::count(failures.begin(), failures.end(), std::make_pair(int64_t{-1}, int64_t{-1})));
}

PortForwardRig::PortForwardRig() : PortForwardRig(std::string()) {}

PortForwardRig::PortForwardRig(const std::string& descriptionUrl)
    : engine([this, descriptionUrl] {
                 return nativeupnp::MiniupnpcGateway::Find(descriptionUrl.empty() ? igd.DescriptionUrl() : descriptionUrl);
             },
             events) {}

void PortForwardRig::RunUntilQuiet() {
    const auto end = std::chrono::steady_clock::now() + kLongestRun;
    while (std::chrono::steady_clock::now() < end) {
        std::pair<int, int64_t> event;
        if (events.Next(event, kQuietMs)) {
            chain.HandleEvent(event.first, event.second);
            continue;
        }
        if (!engine.IsBusy())
            return;
    }
    ADD_FAILURE() << "the port-forward engine never came to rest";
}

void PortForwardRig::TestRouter(uint16_t port) {
    chain.TestRouter(kLocalAddress, port);
    RunUntilQuiet();
}
