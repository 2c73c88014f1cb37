#include "app/state/SingleInstance.h"

#include "platform/ipc/PeerLink.h"

using nativeipc::PeerEndpoint;
using nativeipc::PeerProgram;
namespace peermessage = nativeipc::peermessage;

SingleInstance::SingleInstance(nativeipc::PeerAddress address)
    : m_address(std::move(address)), m_endpoint(std::make_unique<PeerEndpoint>(PeerProgram::Main, m_address)) {}

SingleInstance::~SingleInstance() = default;

SingleInstance::Start SingleInstance::Claim() {
    return m_endpoint->Listen() == PeerEndpoint::ListenResult::AlreadyRunning ? Start::Second : Start::First;
}

bool SingleInstance::HandOverToRunning(bool startupConfig) const {
    const nativeipc::PeerLink link(m_address);
    const nativeipc::SendResult shown =
        link.Send(PeerProgram::Main, {peermessage::kShowWindow, peermessage::kShowAsItWas, 0, {}});
    if (shown.delivery != nativeipc::Delivery::Delivered)
        return false;
    if (startupConfig)
        link.Post(PeerProgram::Main, {peermessage::kStartupConfig, 0, 0, {}});
    return true;
}
