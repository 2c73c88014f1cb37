#pragma once
// 3002: a file sent by the client, written over its destination. The new file is written beside the
// destination and renamed over it only when whole, so a failed request leaves the old file.

#include "server/requests/RequestHandler.h"

class PathPolicy;

class CopyWithProgressRemoteHandler : public RequestHandler {
public:
    explicit CopyWithProgressRemoteHandler(const PathPolicy& policy) : m_policy(policy) {}
    WireMessage Serve(std::span<const uint8_t> payload) override;

private:
    const PathPolicy& m_policy;
};
