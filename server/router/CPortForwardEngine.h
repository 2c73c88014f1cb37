#pragma once
// Runs each UPnP operation on the home router on a worker thread of its own and reports it through a
// listener: the gateway search, the retrieval of the router's port mappings, adding a mapping and
// deleting one. One operation of each kind runs at a time; starting one of a kind that runs is refused.
// The engine keeps the gateway and its description from the last search, and the mappings from the
// last retrieval (at most kMaxMappings: a router that lists without end is cut there). Its end stops
// the operations between two requests to the router and waits for their threads.

#include "platform/upnp/InternetGateway.h"
#include "server/router/PortMapping.h"

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class PortForwardListener;

class CPortForwardEngine {
public:
    using GatewayFinder = std::function<std::unique_ptr<nativeupnp::InternetGateway>()>;
    using DeviceInformation = nativeupnp::GatewayDescription;
    static constexpr size_t kMaxMappings = 512;

    CPortForwardEngine(GatewayFinder findGateway, PortForwardListener& listener);
    CPortForwardEngine(const CPortForwardEngine&) = delete;
    CPortForwardEngine& operator=(const CPortForwardEngine&) = delete;
    ~CPortForwardEngine();

    // The finder of the next gateway search; a search that runs keeps its own.
    void SetGatewayFinder(GatewayFinder findGateway);

    // Each: true when its thread started, false when an operation of its kind runs.
    bool StartDeviceSearch();
    bool StartRetrieveMappings();
    bool StartAddMapping(const PortMapping& mapping);
    bool StartDeleteMapping(const PortMapping& mapping);

    std::vector<PortMapping> GetMappings() const;
    DeviceInformation GetDeviceInformation() const;
    // Whether any operation's thread still runs, its end told or not.
    bool IsBusy() const;

private:
    enum Kind { kRetrieve, kSearch, kAdd, kDelete, kKindCount };
    struct Operation {
        std::thread thread;
        std::atomic<bool> finished{true}; // its kind may start again (its end is about to be told)
        std::atomic<bool> alive{false};   // its thread has not returned yet
    };

    bool Start(Kind kind, std::function<void()> work);
    std::shared_ptr<nativeupnp::InternetGateway> CurrentGateway() const;
    void Post(int code, int64_t value);

    void SearchDevice();
    void RetrieveMappings();
    void AddMapping(const PortMapping& mapping);
    void DeleteMapping(const PortMapping& mapping);

    PortForwardListener& m_listener;
    std::atomic<bool> m_stopping{false};

    mutable std::mutex m_lock; // the finder, the gateway, its description and the mappings
    GatewayFinder m_findGateway;
    std::shared_ptr<nativeupnp::InternetGateway> m_gateway;
    DeviceInformation m_device;
    std::vector<PortMapping> m_mappings;

    std::mutex m_startLock;
    std::array<Operation, kKindCount> m_operations;
};
