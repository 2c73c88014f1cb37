#include "harness/FakeHelperProgram.h"

#include "platform/ipc/PeerEndpoint.h"
#include "remote/HostListFile.h"
#include "remote/SyncSetsFolder.h"

#include <QMetaObject>

using nativeipc::PeerEndpoint;
using nativeipc::PeerProgram;

FakeHelperProgram::FakeHelperProgram(nativeipc::PeerAddress address, std::vector<FoundHost> hosts)
    : m_hosts(std::move(hosts)) {
    m_context.moveToThread(&m_thread);
    m_thread.start();
    QMetaObject::invokeMethod(
        &m_context,
        [this, address] {
            m_endpoint = std::make_unique<PeerEndpoint>(PeerProgram::Server, address);
            m_endpoint->SetHandler([this](const nativeipc::PeerMessage& message) { return Handle(message); });
            m_endpoint->Listen();
        },
        Qt::BlockingQueuedConnection);
}

FakeHelperProgram::~FakeHelperProgram() {
    QMetaObject::invokeMethod(&m_context, [this] { m_endpoint.reset(); }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

void FakeHelperProgram::SetReaction(std::function<void(const nativeipc::PeerMessage&)> react) {
    std::lock_guard lock(m_lock);
    m_react = std::move(react);
}

int64_t FakeHelperProgram::Handle(const nativeipc::PeerMessage& message) {
    std::function<void(const nativeipc::PeerMessage&)> react;
    {
        std::lock_guard lock(m_lock);
        m_messages.push_back(message);
        react = m_react;
    }
    if (react)
        react(message);
    if (message.number == nativeipc::peermessage::kHostListReady && !m_hosts.empty()) {
        AString path;
        GetSyncSetsFolder(path);
        path.AppendPath(AString::FromInt(static_cast<int32_t>(message.lParam)) + HostListFile::kExtension);
        HostListFile::Write(path, m_hosts);
    }
    return 1;
}

std::vector<nativeipc::PeerMessage> FakeHelperProgram::Messages() const {
    std::lock_guard lock(m_lock);
    return m_messages;
}

bool FakeHelperProgram::Received(uint32_t number) const {
    for (const nativeipc::PeerMessage& message : Messages()) {
        if (message.number == number)
            return true;
    }
    return false;
}
