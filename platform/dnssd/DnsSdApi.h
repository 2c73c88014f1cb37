#pragma once
// The types, flags and codes of the DNS Service Discovery C API ("dns_sd"), as its documentation
// gives them, for a library that is loaded at run time. Ports cross the API in network byte order.

#include <cstdint>

namespace nativednssd {

struct OpaqueServiceRef;
using ServiceRef = OpaqueServiceRef*;
using ServiceFlags = uint32_t;
using ServiceError = int32_t;

constexpr ServiceFlags kFlagMoreComing = 0x1;
constexpr ServiceFlags kFlagAdd = 0x2;

constexpr ServiceError kNoError = 0;
constexpr ServiceError kErrorUnknown = -65537;
// Our own code for a library that is missing or lacks the entry point a call needs.
constexpr ServiceError kErrorUnavailable = -65563;

using BrowseReply = void (*)(ServiceRef ref, ServiceFlags flags, uint32_t interfaceIndex, ServiceError error,
                             const char* serviceName, const char* regType, const char* replyDomain,
                             void* context);
using RegisterReply = void (*)(ServiceRef ref, ServiceFlags flags, ServiceError error, const char* name,
                               const char* regType, const char* domain, void* context);
using ResolveReply = void (*)(ServiceRef ref, ServiceFlags flags, uint32_t interfaceIndex, ServiceError error,
                              const char* fullName, const char* hostTarget, uint16_t portNetworkOrder,
                              uint16_t txtLength, const unsigned char* txtRecord, void* context);

using BrowseFunction = ServiceError (*)(ServiceRef* ref, ServiceFlags flags, uint32_t interfaceIndex,
                                        const char* regType, const char* domain, BrowseReply callback,
                                        void* context);
using RegisterFunction = ServiceError (*)(ServiceRef* ref, ServiceFlags flags, uint32_t interfaceIndex,
                                          const char* name, const char* regType, const char* domain,
                                          const char* host, uint16_t portNetworkOrder, uint16_t txtLength,
                                          const void* txtRecord, RegisterReply callback, void* context);
using ResolveFunction = ServiceError (*)(ServiceRef* ref, ServiceFlags flags, uint32_t interfaceIndex,
                                         const char* name, const char* regType, const char* domain,
                                         ResolveReply callback, void* context);
using ProcessResultFunction = ServiceError (*)(ServiceRef ref);
using RefSockFDFunction = int (*)(ServiceRef ref);
using RefDeallocateFunction = void (*)(ServiceRef ref);

} // namespace nativednssd
