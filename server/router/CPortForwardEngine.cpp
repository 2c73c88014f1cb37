#include "server/router/CPortForwardEngine.h"

#include "server/router/PortForwardEvents.h"

#include <algorithm>
#include <string>
#include <system_error>

using namespace portforward;

namespace {

// A router that gives no count of its mappings counts as having this many, for the progress steps.
constexpr unsigned kAssumedMappingCount = 4;
// The progress steps each operation reports, as the notifications number them.
constexpr int64_t kStepStarted = 0;
constexpr int64_t kStepGatewayTaken = 1;
constexpr int64_t kSearchStepSearched = 5;
constexpr int64_t kSearchStepFound = 6;
constexpr int64_t kRetrieveStepCounting = 2;
constexpr int64_t kRetrieveFirstStep = 3;
constexpr int64_t kRetrieveSteps = 7;
constexpr int64_t kAddStepAsked = 2;

int64_t ResultOf(bool succeeded) {
    return succeeded ? kSucceeded : kFailed;
}

} // namespace

CPortForwardEngine::CPortForwardEngine(GatewayFinder findGateway, PortForwardListener& listener)
    : m_listener(listener), m_findGateway(std::move(findGateway)) {}

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
    operation.alive = true;
    try {
        operation.thread = std::thread([&operation, work = std::move(work)] {
            work();
            operation.alive = false;
        });
    } catch (const std::system_error&) {
        operation.finished = true;
        operation.alive = false;
        return false;
    }
    return true;
}

void CPortForwardEngine::SetGatewayFinder(GatewayFinder findGateway) {
    std::lock_guard lock(m_lock);
    m_findGateway = std::move(findGateway);
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
                       [](const Operation& operation) { return operation.alive.load(); });
}

std::shared_ptr<nativeupnp::InternetGateway> CPortForwardEngine::CurrentGateway() const {
    std::lock_guard lock(m_lock);
    return m_gateway;
}

void CPortForwardEngine::Post(int code, int64_t value) {
    m_listener.OnPortForwardEvent(code, value);
}

void CPortForwardEngine::SearchDevice() {
    Post(kSearchProgress, kStepStarted);
    Post(kSearchProgress, kStepGatewayTaken);
    GatewayFinder findGateway;
    {
        std::lock_guard lock(m_lock);
        findGateway = m_findGateway;
    }
    std::shared_ptr<nativeupnp::InternetGateway> gateway = findGateway ? findGateway() : nullptr;
    Post(kSearchProgress, kSearchStepSearched);
    if (gateway)
        Post(kSearchProgress, kSearchStepFound);
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
    Post(kRetrieveProgress, kStepStarted);
    const std::shared_ptr<nativeupnp::InternetGateway> gateway = CurrentGateway();
    {
        std::lock_guard lock(m_lock);
        m_mappings.clear();
    }
    if (gateway) {
        Post(kRetrieveProgress, kStepGatewayTaken);
        Post(kRetrieveProgress, kRetrieveStepCounting);
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
    Post(kAddProgress, kStepStarted);
    const std::shared_ptr<nativeupnp::InternetGateway> gateway = CurrentGateway();
    Post(kAddProgress, kStepGatewayTaken);
    const auto externalPort = PortMapping::ParsePort(mapping.externalPort);
    const auto internalPort = PortMapping::ParsePort(mapping.internalPort);
    const bool added = gateway && externalPort && internalPort && !m_stopping &&
                       gateway->AddMapping(*externalPort, *internalPort, mapping.internalClient, mapping.protocol,
                                           mapping.description);
    Post(kAddProgress, kAddStepAsked);
    m_operations[kAdd].finished = true;
    Post(kAddEnded, ResultOf(added));
}

void CPortForwardEngine::DeleteMapping(const PortMapping& mapping) {
    Post(kDeleteProgress, kStepStarted);
    const std::shared_ptr<nativeupnp::InternetGateway> gateway = CurrentGateway();
    Post(kDeleteProgress, kStepGatewayTaken);
    const auto externalPort = PortMapping::ParsePort(mapping.externalPort);
    const bool deleted = gateway && externalPort && gateway->DeleteMapping(*externalPort, mapping.protocol);
    m_operations[kDelete].finished = true;
    Post(kDeleteEnded, ResultOf(deleted));
}
