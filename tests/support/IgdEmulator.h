#pragma once
// A UPnP Internet gateway device on 127.0.0.1 for tests: it serves its description and answers the
// WAN IP connection's actions (GetExternalIPAddress, GetGenericPortMappingEntry, Add/DeletePortMapping)
// from a table of mappings, one request per connection. It can be told to turn hostile: list mappings
// without end, answer with overlong texts, forget or refuse what it is asked to add.

#include "platform/sockets/SocketHandle.h"
#include "platform/sockets/WakeSignal.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct IgdMapping {
    uint16_t externalPort = 0;
    std::string protocol = "TCP";
    uint16_t internalPort = 0;
    std::string internalClient;
    bool enabled = true;
    std::string description = "test";
};

class IgdEmulator {
public:
    static constexpr char kExternalAddress[] = "203.0.113.7";

    IgdEmulator();
    ~IgdEmulator();
    IgdEmulator(const IgdEmulator&) = delete;
    IgdEmulator& operator=(const IgdEmulator&) = delete;

    std::string DescriptionUrl() const;
    // A URL on the same port that serves no description.
    std::string MissingDescriptionUrl() const;

    void SetExternalAddress(const std::string& address);
    void AddMapping(const IgdMapping& mapping);
    std::vector<IgdMapping> Mappings() const;
    // How often an action was asked for.
    int Calls(const std::string& action) const;

    // After the table, the list goes on without end with mappings of another computer.
    void SetEndlessList(bool endless);
    void SetLongTexts(bool longTexts);
    void SetForgetAdditions(bool forget);
    void SetRefuseAdditions(bool refuse);

private:
    struct Request {
        std::string method;
        std::string path;
        std::string action;
        std::string body;
    };

    void Serve();
    void Answer(const nativesockets::SocketHandle& connection);
    std::string Respond(const Request& request);
    std::string Control(const Request& request);
    std::string MappingEntry(const std::string& index);
    std::string AddMappingAction(const std::string& body);
    std::string DeleteMappingAction(const std::string& body);

    nativesockets::SocketHandle m_listener;
    nativesockets::WakeSignal m_stop;
    uint16_t m_port = 0;
    mutable std::mutex m_lock;
    std::string m_externalAddress = kExternalAddress;
    std::vector<IgdMapping> m_mappings;
    std::map<std::string, int> m_calls;
    bool m_endless = false;
    bool m_longTexts = false;
    bool m_forget = false;
    bool m_refuse = false;
    std::thread m_thread;
};
