#pragma once
// A handler of requests that name a file: it touches only what its path policy allows.

#include "server/requests/RequestHandler.h"

class PathPolicy;

class PathRequestHandler : public RequestHandler {
public:
    // `policy` must outlive the handler.
    explicit PathRequestHandler(const PathPolicy& policy) : m_policy(policy) {}

protected:
    const PathPolicy& m_policy;
};
