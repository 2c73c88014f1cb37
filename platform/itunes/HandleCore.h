#pragma once
// What every object of the application holds: the running instance and the generation in which the
// object was made, so that it answers Gone once the application quit.

#include "platform/itunes/ITunesTypes.h"

#include <cstdint>
#include <memory>

namespace itunesapp {

class InstanceState;

class HandleCore {
public:
    HandleCore(std::shared_ptr<InstanceState> state, uint64_t generation)
        : m_state(std::move(state)), m_generation(generation) {}

    InstanceState& State() const { return *m_state; }
    const std::shared_ptr<InstanceState>& SharedState() const { return m_state; }
    uint64_t Generation() const { return m_generation; }

private:
    std::shared_ptr<InstanceState> m_state;
    uint64_t m_generation;
};

} // namespace itunesapp
