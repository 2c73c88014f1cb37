#include "IgdEmulator.h"

#include "platform/sockets/TcpSockets.h"

#include <algorithm>
#include <gtest/gtest.h>

using nativesockets::Deadline;
using nativesockets::IoStatus;

namespace {

constexpr uint32_t kLoopback = 0x7F000001;
constexpr char kServiceType[] = "urn:schemas-upnp-org:service:WANIPConnection:1";
constexpr size_t kLargestRequest = 64 * 1024;
constexpr int kRequestWaitMs = 5000;
constexpr size_t kLongTextSize = 64 * 1024;
constexpr int kEndlessBasePort = 20000;
constexpr int kEndlessPortSpan = 40000;

const std::string kDescription =
    "<?xml version=\"1.0\"?>\r\n"
    "<root xmlns=\"urn:schemas-upnp-org:device-1-0\"><specVersion><major>1</major><minor>0</minor></specVersion>"
    "<device><deviceType>urn:schemas-upnp-org:device:InternetGatewayDevice:1</deviceType>"
    "<friendlyName>Test gateway</friendlyName><presentationURL>/</presentationURL><deviceList><device>"
    "<deviceType>urn:schemas-upnp-org:device:WANDevice:1</deviceType><deviceList><device>"
    "<deviceType>urn:schemas-upnp-org:device:WANConnectionDevice:1</deviceType><serviceList><service>"
    "<serviceType>urn:schemas-upnp-org:service:WANIPConnection:1</serviceType>"
    "<serviceId>urn:upnp-org:serviceId:WANIPConn1</serviceId><controlURL>/ctl</controlURL>"
    "<eventSubURL>/evt</eventSubURL><SCPDURL>/scpd.xml</SCPDURL>"
    "</service></serviceList></device></deviceList></device></deviceList></device></root>\r\n";

std::string HttpAnswer(const std::string& status, const std::string& body) {
    return "HTTP/1.1 " + status + "\r\nContent-Type: text/xml; charset=\"utf-8\"\r\nConnection: close\r\n" +
           "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

std::string Envelope(const std::string& inner) {
    return "<?xml version=\"1.0\"?>\r\n<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\" "
           "s:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"><s:Body>" +
           inner + "</s:Body></s:Envelope>\r\n";
}

std::string Success(const std::string& action, const std::vector<std::pair<std::string, std::string>>& values) {
    std::string inner = "<u:" + action + "Response xmlns:u=\"" + kServiceType + "\">";
    for (const auto& [name, value] : values)
        inner += "<" + name + ">" + value + "</" + name + ">";
    inner += "</u:" + action + "Response>";
    return HttpAnswer("200 OK", Envelope(inner));
}

std::string Failure(int code, const std::string& text) {
    return HttpAnswer("500 Internal Server Error",
                      Envelope("<s:Fault><faultcode>s:Client</faultcode><faultstring>UPnPError</faultstring><detail>"
                               "<UPnPError xmlns=\"urn:schemas-upnp-org:control-1-0\"><errorCode>" +
                               std::to_string(code) + "</errorCode><errorDescription>" + text +
                               "</errorDescription></UPnPError></detail></s:Fault>"));
}

std::string Argument(const std::string& body, const std::string& name) {
    const std::string open = "<" + name + ">";
    const size_t begin = body.find(open);
    if (begin == std::string::npos)
        return std::string();
    const size_t end = body.find("</" + name + ">", begin);
    return end == std::string::npos ? std::string() : body.substr(begin + open.size(), end - begin - open.size());
}

std::string HeaderValue(const std::string& headers, const std::string& name) {
    std::string lower = headers;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    const size_t at = lower.find("\r\n" + name + ":");
    if (at == std::string::npos)
        return std::string();
    const size_t begin = at + name.size() + 3;
    const size_t end = headers.find("\r\n", begin);
    std::string value = headers.substr(begin, end - begin);
    value.erase(0, value.find_first_not_of(" \t\""));
    value.erase(value.find_last_not_of(" \t\"") + 1);
    return value;
}

} // namespace

IgdEmulator::IgdEmulator() : m_listener(nativesockets::ListenTcp(kLoopback, 0)) {
    if (!m_listener.IsOpen()) {
        ADD_FAILURE() << "the gateway cannot listen";
        return;
    }
    m_port = nativesockets::BoundPort(m_listener);
    m_thread = std::thread([this] { Serve(); });
}

IgdEmulator::~IgdEmulator() {
    m_stop.Raise();
    if (m_thread.joinable())
        m_thread.join();
}

std::string IgdEmulator::DescriptionUrl() const {
    return "http://127.0.0.1:" + std::to_string(m_port) + "/rootDesc.xml";
}

std::string IgdEmulator::MissingDescriptionUrl() const {
    return "http://127.0.0.1:" + std::to_string(m_port) + "/none.xml";
}

void IgdEmulator::SetExternalAddress(const std::string& address) {
    std::lock_guard lock(m_lock);
    m_externalAddress = address;
}

void IgdEmulator::AddMapping(const IgdMapping& mapping) {
    std::lock_guard lock(m_lock);
    m_mappings.push_back(mapping);
}

std::vector<IgdMapping> IgdEmulator::Mappings() const {
    std::lock_guard lock(m_lock);
    return m_mappings;
}

int IgdEmulator::Calls(const std::string& action) const {
    std::lock_guard lock(m_lock);
    const auto found = m_calls.find(action);
    return found == m_calls.end() ? 0 : found->second;
}

void IgdEmulator::SetEndlessList(bool endless) {
    std::lock_guard lock(m_lock);
    m_endless = endless;
}

void IgdEmulator::SetLongTexts(bool longTexts) {
    std::lock_guard lock(m_lock);
    m_longTexts = longTexts;
}

void IgdEmulator::SetForgetAdditions(bool forget) {
    std::lock_guard lock(m_lock);
    m_forget = forget;
}

void IgdEmulator::SetRefuseAdditions(bool refuse) {
    std::lock_guard lock(m_lock);
    m_refuse = refuse;
}

void IgdEmulator::Serve() {
    for (;;) {
        nativesockets::SocketHandle connection;
        const IoStatus status = nativesockets::AcceptConnection(m_listener, Deadline::Never(), &m_stop, connection);
        if (status == IoStatus::Woken)
            return;
        if (status == IoStatus::Done)
            Answer(connection);
    }
}

void IgdEmulator::Answer(const nativesockets::SocketHandle& connection) {
    std::string received;
    uint8_t buffer[4096];
    const Deadline deadline = Deadline::AfterMs(kRequestWaitMs);
    size_t headerEnd = std::string::npos;
    size_t wanted = 0;
    while (received.size() < kLargestRequest) {
        if (headerEnd != std::string::npos && received.size() >= wanted)
            break;
        const auto got = nativesockets::ReceiveSome(connection, buffer, deadline, &m_stop);
        if (got.status != IoStatus::Done)
            return;
        received.append(reinterpret_cast<const char*>(buffer), got.count);
        if (headerEnd == std::string::npos && (headerEnd = received.find("\r\n\r\n")) != std::string::npos) {
            const std::string length = HeaderValue(received.substr(0, headerEnd + 2), "content-length");
            wanted = headerEnd + 4 + (length.empty() ? 0 : std::stoul(length));
        }
    }
    if (headerEnd == std::string::npos)
        return;
    const std::string headers = received.substr(0, headerEnd + 2);
    Request request;
    const size_t space = headers.find(' ');
    request.method = headers.substr(0, space);
    request.path = headers.substr(space + 1, headers.find(' ', space + 1) - space - 1);
    const std::string soapAction = HeaderValue(headers, "soapaction");
    request.action = soapAction.substr(soapAction.find('#') + 1);
    request.body = received.substr(headerEnd + 4);
    const std::string answer = Respond(request);
    nativesockets::SendAll(connection, std::span(reinterpret_cast<const uint8_t*>(answer.data()), answer.size()),
                           kRequestWaitMs, &m_stop);
    connection.Shutdown();
}

std::string IgdEmulator::Respond(const Request& request) {
    if (request.method == "GET" && request.path == "/rootDesc.xml")
        return HttpAnswer("200 OK", kDescription);
    if (request.method == "POST" && request.path == "/ctl")
        return Control(request);
    return "HTTP/1.1 404 Not Found\r\nConnection: close\r\nContent-Length: 0\r\n\r\n";
}

std::string IgdEmulator::Control(const Request& request) {
    std::string externalAddress;
    bool longTexts = false;
    {
        std::lock_guard lock(m_lock);
        ++m_calls[request.action];
        externalAddress = m_longTexts ? std::string(kLongTextSize, '7') : m_externalAddress;
        longTexts = m_longTexts;
    }
    if (request.action == "GetExternalIPAddress")
        return Success(request.action, {{"NewExternalIPAddress", externalAddress}});
    if (request.action == "GetStatusInfo")
        return Success(request.action, {{"NewConnectionStatus", longTexts ? std::string(kLongTextSize, 'C') : "Connected"},
                                        {"NewLastConnectionError", "ERROR_NONE"},
                                        {"NewUptime", "1000"}});
    if (request.action == "GetGenericPortMappingEntry")
        return MappingEntry(Argument(request.body, "NewPortMappingIndex"));
    if (request.action == "AddPortMapping")
        return AddMappingAction(request.body);
    if (request.action == "DeletePortMapping")
        return DeleteMappingAction(request.body);
    return Failure(401, "Invalid Action");
}

std::string IgdEmulator::MappingEntry(const std::string& indexText) {
    std::lock_guard lock(m_lock);
    const size_t index = indexText.empty() ? SIZE_MAX : std::stoul(indexText);
    IgdMapping mapping;
    if (index < m_mappings.size())
        mapping = m_mappings[index];
    else if (m_endless)
        mapping = IgdMapping{static_cast<uint16_t>(kEndlessBasePort + index % kEndlessPortSpan), "TCP", 80,
                             "192.168.1.99", true, "other"};
    else
        return Failure(713, "SpecifiedArrayIndexInvalid");
    const std::string longText(kLongTextSize, 'x');
    return Success("GetGenericPortMappingEntry",
                   {{"NewRemoteHost", m_longTexts ? longText : ""},
                    {"NewExternalPort", m_longTexts ? "1" + std::string(kLongTextSize, '0') : std::to_string(mapping.externalPort)},
                    {"NewProtocol", m_longTexts ? longText : mapping.protocol},
                    {"NewInternalPort", std::to_string(mapping.internalPort)},
                    {"NewInternalClient", m_longTexts ? longText : mapping.internalClient},
                    {"NewEnabled", mapping.enabled ? "1" : "0"},
                    {"NewPortMappingDescription", m_longTexts ? longText : mapping.description},
                    {"NewLeaseDuration", "0"}});
}

std::string IgdEmulator::AddMappingAction(const std::string& body) {
    const IgdMapping mapping{static_cast<uint16_t>(std::stoul("0" + Argument(body, "NewExternalPort"))),
                             Argument(body, "NewProtocol"),
                             static_cast<uint16_t>(std::stoul("0" + Argument(body, "NewInternalPort"))),
                             Argument(body, "NewInternalClient"), Argument(body, "NewEnabled") == "1",
                             Argument(body, "NewPortMappingDescription")};
    std::lock_guard lock(m_lock);
    if (m_refuse)
        return Failure(718, "ConflictInMappingEntry");
    if (!m_forget) {
        std::erase_if(m_mappings, [&](const IgdMapping& entry) {
            return entry.externalPort == mapping.externalPort && entry.protocol == mapping.protocol;
        });
        m_mappings.push_back(mapping);
    }
    return Success("AddPortMapping", {});
}

std::string IgdEmulator::DeleteMappingAction(const std::string& body) {
    const auto port = static_cast<uint16_t>(std::stoul("0" + Argument(body, "NewExternalPort")));
    const std::string protocol = Argument(body, "NewProtocol");
    std::lock_guard lock(m_lock);
    const size_t removed = std::erase_if(m_mappings, [&](const IgdMapping& entry) {
        return entry.externalPort == port && entry.protocol == protocol;
    });
    return removed ? Success("DeletePortMapping", {}) : Failure(714, "NoSuchEntryInArray");
}
