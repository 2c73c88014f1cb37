#pragma once
// 1009 "CreateRemotePlayList": a new user playlist of the library, unless one of that name is there
// already or the name is "Last Sync" (each answered 0, and nothing made).

#include "server/requests/RequestHandler.h"

#include <memory>

class ServedLibrary;

class CreateRemotePlayListHandler : public RequestHandler {
public:
    explicit CreateRemotePlayListHandler(std::shared_ptr<const ServedLibrary> library)
        : m_library(std::move(library)) {}

    WireMessage Serve(std::span<const uint8_t> payload) override;

private:
    std::shared_ptr<const ServedLibrary> m_library;
};
