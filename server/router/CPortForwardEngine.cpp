#include "server/router/CPortForwardEngine.h"

#include "server/router/PortForwardEvents.h"

#include <algorithm>
#include <string>
#include <system_error>

using namespace portforward;

namespace {

// A router that gives no count of its mappings counts as having this many, for the progress steps.
constexpr unsigned kAssumedMappingCount = 4;
constexpr int64_t kRetrieveFirstStep = 3;
constexpr int64_t kRetrieveSteps = 7;
constexpr int64_t kSearchFoundStep = 6;

int64_t ResultOf(bool succeeded) {
    return succeeded ? kSucceeded : kFailed;
}

} // namespace

CPortForwardEngine::CPortForwardEngine(GatewayFinder findGateway, PortForwardListener& listener)
    : m_findGateway(std::move(findGateway)), m_listener(listener) {}

CPortForwardEngine::~CPortForwardEngine() {
    m_stopping = true;
    std::lock_guard lock(m_startLock);
    for (Operation& operation : m_operations) {
        if (operation.thread.joinable())
            operation.thread.join();
    }
}

bool CPortForwardEngine::Start(Kind kind, std::function<void()> work) {
    std::lock_guard lock(m_startLock);
    Operation& operation = m_operations[kind];
    // An operation's own thread cannot wait for itself: its listener hands the events on first.
    if (m_stopping || !operation.finished || operation.thread.get_id() == std::this_thread::get_id())
        return false;
    if (operation.thread.joinable())
        operation.thread.join();
    operation.finished = false;
    try {
        operation.thread = std::thread(std::move(work));
    } catch (const std::system_error&) {
        operation.finished = true;
        return false;
    }
    return true;
}

bool CPortForwardEngine::StartDeviceSearch() {
    return Start(kSearch, [this] { SearchDevice(); });
}

bool CPortForwardEngine::StartRetrieveMappings() {
    return Start(kRetrieve, [this] { RetrieveMappings(); });
}

bool CPortForwardEngine::StartAddMapping(const PortMapping& mapping) {
    return Start(kAdd, [this, mapping] { AddMapping(mapping); });
}

bool CPortForwardEngine::StartDeleteMapping(const PortMapping& mapping) {
    return Start(kDelete, [this, mapping] { DeleteMapping(mapping); });
}

std::vector<PortMapping> CPortForwardEngine::GetMappings() const {
    std::lock_guard lock(m_lock);
    return m_mappings;
}

CPortForwardEngine::DeviceInformation CPortForwardEngine::GetDeviceInformation() const {
    std::lock_guard lock(m_lock);
    return m_device;
}

bool CPortForwardEngine::IsBusy() const {
    return std::any_of(m_operations.begin(), m_operations.end(),
                       [](const Operation& operation) { return !operation.finished; });
}

std::shared_ptr<nativeupnp::InternetGateway> CPortForwardEngine::CurrentGateway() const {
    std::lock_guard lock(m_lock);
    return m_gateway;
}

void CPortForwardEngine::Post(int code, int64_t value) {
    m_listener.OnPortForwardEvent(code, value);
}

void CPortForwardEngine::SearchDevice() {
    Post(kSearchProgress, 0);
    Post(kSearchProgress, 1);
    std::shared_ptr<nativeupnp::InternetGateway> gateway = m_findGateway();
    Post(kSearchProgress, 5);
    if (gateway)
        Post(kSearchProgress, kSearchFoundStep);
    {
        std::lock_guard lock(m_lock);
        m_device = gateway ? gateway->Description() : DeviceInformation();
        m_gateway = std::move(gateway);
    }
    const bool found = CurrentGateway() != nullptr;
    m_operations[kSearch].finished = true;
    Post(kSearchEnded, ResultOf(found));
}

void CPortForwardEngine::RetrieveMappings() {
    Post(kRetrieveProgress, 0);
    const std::shared_ptr<nativeupnp::InternetGateway> gateway = CurrentGateway();
    {
        std::lock_guard lock(m_lock);
        m_mappings.clear();
    }
    if (gateway) {
        Post(kRetrieveProgress, 1);
        Post(kRetrieveProgress, 2);
        const unsigned claimed = gateway->MappingCount();
        const int64_t count = claimed < 1 ? kAssumedMappingCount : claimed;
        Post(kRetrieveProgress, kRetrieveFirstStep);
        const std::string externalAddress = gateway->ExternalIPAddress();
        nativeupnp::GatewayMapping entry;
        for (unsigned index = 0; index < kMaxMappings && !m_stopping && gateway->MappingAt(index, entry); ++index) {
            {
                std::lock_guard lock(m_lock);
                m_mappings.push_back(PortMapping::FromGateway(entry, externalAddress));
            }
            const int64_t step = std::min<int64_t>(kRetrieveSteps * (index + 1) / count, kRetrieveSteps);
            Post(kRetrieveProgress, kRetrieveFirstStep + step);
        }
    }
    m_operations[kRetrieve].finished = true;
    Post(kRetrieveEnded, ResultOf(gateway != nullptr));
}

void CPortForwardEngine::AddMapping(const PortMapping& mapping) {
    Post(kAddProgress, 0);
    const std::shared_ptr<nativeupnp::InternetGateway> gateway = CurrentGateway();
    Post(kAddProgress, 1);
    const auto externalPort = PortMapping::ParsePort(mapping.externalPort);
    const auto internalPort = PortMapping::ParsePort(mapping.internalPort);
    const bool added = gateway && externalPort && internalPort && !m_stopping &&
                       gateway->AddMapping(*externalPort, *internalPort, mapping.internalClient, mapping.protocol,
                                           mapping.description);
    Post(kAddProgress, 2);
    m_operations[kAdd].finished = true;
    Post(kAddEnded, ResultOf(added));
}

void CPortForwardEngine::DeleteMapping(const PortMapping& mapping) {
    Post(kDeleteProgress, 0);
    const std::shared_ptr<nativeupnp::InternetGateway> gateway = CurrentGateway();
    Post(kDeleteProgress, 1);
    const auto externalPort = PortMapping::ParsePort(mapping.externalPort);
    const bool deleted = gateway && externalPort && gateway->DeleteMapping(*externalPort, mapping.protocol);
    m_operations[kDelete].finished = true;
    Post(kDeleteEnded, ResultOf(deleted));
}
