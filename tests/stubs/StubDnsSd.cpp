// A DNS-SD library for tests, loaded in place of the real one: it answers browses with the replies a
// test scripts, records registrations, and resolves every instance to the host and port a test sets.
// Each operation's descriptor turns readable while it has something to hand over; the results come
// out in the order they were scripted. Tests reach the script through the StubDnsSd_* functions.

#include <cstdint>
#include <cstring>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <sys/eventfd.h>
#include <unistd.h>
#include <vector>

namespace {

using ServiceFlags = uint32_t;
using ServiceError = int32_t;
struct Operation;
using BrowseReply = void (*)(Operation*, ServiceFlags, uint32_t, ServiceError, const char*, const char*,
                             const char*, void*);
using RegisterReply = void (*)(Operation*, ServiceFlags, ServiceError, const char*, const char*, const char*,
                               void*);
using ResolveReply = void (*)(Operation*, ServiceFlags, uint32_t, ServiceError, const char*, const char*, uint16_t,
                              uint16_t, const unsigned char*, void*);

constexpr ServiceError kNoError = 0;
constexpr ServiceError kBadParam = -65540;
constexpr ServiceFlags kFlagAdd = 0x2;

// One scripted step of a browse: a reply to hand over, or a failure of the call that would hand it.
struct Step {
    ServiceFlags flags = 0;
    ServiceError error = kNoError;
    std::string name;
    ServiceError processResult = kNoError;
};

enum class Kind { Browse, Register, Resolve };

struct Operation {
    Kind kind = Kind::Browse;
    int fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    void* callback = nullptr;
    void* context = nullptr;
    std::string type;
    std::string name;
    uint16_t portNetworkOrder = 0;
    std::deque<Step> steps;

    ~Operation() { close(fd); }
    void Signal() const {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = write(fd, &one, sizeof one);
    }
};

struct Script {
    std::mutex lock;
    ServiceError browseResult = kNoError;
    std::vector<Step> browseSteps;
    std::vector<std::unique_ptr<Operation>> operations; // every one not given back yet
    std::string lastRegisteredType;
    uint16_t lastRegisteredPort = 0;
    int registrationsMade = 0;
    std::string resolveHost = "stubhost.local.";
    uint16_t resolvePortNetworkOrder = 0;
};

Script& TheScript() {
    static Script script;
    return script;
}

std::string TextOf(const char* text) {
    return text ? text : "";
}

// Called with the script's lock held.
int CountOf(const Script& script, Kind kind) {
    int count = 0;
    for (const auto& operation : script.operations)
        count += operation->kind == kind ? 1 : 0;
    return count;
}

Operation* Keep(Script& script, Kind kind, void* callback, void* context, const char* type) {
    auto operation = std::make_unique<Operation>();
    operation->kind = kind;
    operation->callback = callback;
    operation->context = context;
    operation->type = TextOf(type);
    script.operations.push_back(std::move(operation));
    return script.operations.back().get();
}

} // namespace

extern "C" {

void StubDnsSd_Reset() {
    Script& script = TheScript();
    std::lock_guard lock(script.lock);
    script.browseResult = kNoError;
    script.browseSteps.clear();
    script.lastRegisteredType.clear();
    script.lastRegisteredPort = 0;
    script.registrationsMade = 0;
}

void StubDnsSd_SetBrowseResult(ServiceError result) {
    Script& script = TheScript();
    std::lock_guard lock(script.lock);
    script.browseResult = result;
}

// A reply for every browse that starts later, and for those that run.
void StubDnsSd_AddBrowseReply(ServiceFlags flags, ServiceError error, const char* name, ServiceError processResult) {
    Script& script = TheScript();
    std::lock_guard lock(script.lock);
    const Step step{flags, error, TextOf(name), processResult};
    script.browseSteps.push_back(step);
    for (const auto& operation : script.operations) {
        if (operation->kind != Kind::Browse)
            continue;
        operation->steps.push_back(step);
        operation->Signal();
    }
}

int StubDnsSd_ActiveBrowses() {
    Script& script = TheScript();
    std::lock_guard lock(script.lock);
    return CountOf(script, Kind::Browse);
}

int StubDnsSd_ActiveRegistrations() {
    Script& script = TheScript();
    std::lock_guard lock(script.lock);
    return CountOf(script, Kind::Register);
}

int StubDnsSd_RegistrationsMade() {
    Script& script = TheScript();
    std::lock_guard lock(script.lock);
    return script.registrationsMade;
}

// The port of the last registration as it was passed (network order), and its type.
uint16_t StubDnsSd_LastRegisteredPort(char* type, size_t typeSize) {
    Script& script = TheScript();
    std::lock_guard lock(script.lock);
    std::snprintf(type, typeSize, "%s", script.lastRegisteredType.c_str());
    return script.lastRegisteredPort;
}

void StubDnsSd_SetResolveAnswer(const char* host, uint16_t portNetworkOrder) {
    Script& script = TheScript();
    std::lock_guard lock(script.lock);
    script.resolveHost = TextOf(host);
    script.resolvePortNetworkOrder = portNetworkOrder;
}

ServiceError DNSServiceBrowse(Operation** ref, ServiceFlags, uint32_t, const char* type, const char*,
                              BrowseReply callback, void* context) {
    Script& script = TheScript();
    std::lock_guard lock(script.lock);
    if (!ref || !callback || !type)
        return kBadParam;
    if (script.browseResult != kNoError)
        return script.browseResult;
    Operation* browse = Keep(script, Kind::Browse, reinterpret_cast<void*>(callback), context, type);
    browse->steps.assign(script.browseSteps.begin(), script.browseSteps.end());
    if (!browse->steps.empty())
        browse->Signal();
    *ref = browse;
    return kNoError;
}

ServiceError DNSServiceRegister(Operation** ref, ServiceFlags, uint32_t, const char* name, const char* type,
                                const char*, const char*, uint16_t portNetworkOrder, uint16_t, const void*,
                                RegisterReply callback, void* context) {
    Script& script = TheScript();
    std::lock_guard lock(script.lock);
    if (!ref || !type)
        return kBadParam;
    Operation* registration = Keep(script, Kind::Register, reinterpret_cast<void*>(callback), context, type);
    registration->name = name ? name : "stubhost";
    registration->portNetworkOrder = portNetworkOrder;
    registration->Signal();
    script.lastRegisteredType = type;
    script.lastRegisteredPort = portNetworkOrder;
    ++script.registrationsMade;
    *ref = registration;
    return kNoError;
}

ServiceError DNSServiceResolve(Operation** ref, ServiceFlags, uint32_t, const char* name, const char* type,
                               const char*, ResolveReply callback, void* context) {
    if (!ref || !callback || !name || !type)
        return kBadParam;
    Script& script = TheScript();
    std::lock_guard lock(script.lock);
    Operation* resolve = Keep(script, Kind::Resolve, reinterpret_cast<void*>(callback), context, type);
    resolve->name = name;
    resolve->portNetworkOrder = script.resolvePortNetworkOrder;
    if (script.resolvePortNetworkOrder != 0)
        resolve->Signal();
    *ref = resolve;
    return kNoError;
}

int DNSServiceRefSockFD(Operation* ref) {
    return ref ? ref->fd : -1;
}

ServiceError DNSServiceProcessResult(Operation* ref) {
    if (!ref)
        return kBadParam;
    uint64_t count = 0;
    [[maybe_unused]] const ssize_t got = read(ref->fd, &count, sizeof count);
    Script& script = TheScript();
    switch (ref->kind) {
    case Kind::Browse: {
        Step step;
        {
            std::lock_guard lock(script.lock);
            if (ref->steps.empty())
                return kNoError;
            step = ref->steps.front();
            ref->steps.pop_front();
            if (!ref->steps.empty())
                ref->Signal();
        }
        if (step.processResult != kNoError)
            return step.processResult;
        reinterpret_cast<BrowseReply>(ref->callback)(ref, step.flags, 1, step.error, step.name.c_str(), ref->type.c_str(),
                                                     "local.", ref->context);
        return kNoError;
    }
    case Kind::Register:
        if (ref->callback)
            reinterpret_cast<RegisterReply>(ref->callback)(ref, 0, kNoError, ref->name.c_str(), ref->type.c_str(),
                                                           "local.", ref->context);
        return kNoError;
    case Kind::Resolve: {
        std::string host;
        {
            std::lock_guard lock(script.lock);
            host = script.resolveHost;
        }
        reinterpret_cast<ResolveReply>(ref->callback)(ref, 0, 1, kNoError, ref->name.c_str(), host.c_str(),
                                                      ref->portNetworkOrder, 0, nullptr, ref->context);
        return kNoError;
    }
    }
    return kNoError;
}

void DNSServiceRefDeallocate(Operation* ref) {
    if (!ref)
        return;
    Script& script = TheScript();
    std::lock_guard lock(script.lock);
    std::erase_if(script.operations, [ref](const auto& operation) { return operation.get() == ref; });
}

} // extern "C"
