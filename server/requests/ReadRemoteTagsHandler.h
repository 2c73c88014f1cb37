#pragma once
// 2001: the tags of a file, as the saved form of its ID3 record.

#include "server/requests/RequestHandler.h"

class PathPolicy;

class ReadRemoteTagsHandler : public RequestHandler {
public:
    explicit ReadRemoteTagsHandler(const PathPolicy& policy) : m_policy(policy) {}
    WireMessage Serve(std::span<const uint8_t> payload) override;

private:
    const PathPolicy& m_policy;
};
