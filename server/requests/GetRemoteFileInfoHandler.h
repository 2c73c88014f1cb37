#pragma once
// 3001: what is known of a file (exists, folder, not hidden, size, modification time).

#include "server/requests/RequestHandler.h"

class PathPolicy;

class GetRemoteFileInfoHandler : public RequestHandler {
public:
    explicit GetRemoteFileInfoHandler(const PathPolicy& policy) : m_policy(policy) {}
    WireMessage Serve(std::span<const uint8_t> payload) override;

private:
    const PathPolicy& m_policy;
};
