#pragma once
// A handler of requests that name a file: it touches only what its path policy allows.

#include "server/requests/RequestHandler.h"

#include <memory>

class PathPolicy;

class PathRequestHandler : public RequestHandler {
public:
    explicit PathRequestHandler(std::shared_ptr<const PathPolicy> policy) : m_policy(std::move(policy)) {}

protected:
    std::shared_ptr<const PathPolicy> m_policy;
};
