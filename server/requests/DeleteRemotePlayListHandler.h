#pragma once
// 1011 `DeleteRemotePlayList`: the user playlist of exactly that name deleted from the library. The
// answer is the deletion's own result, 0 when no user playlist has the name.

#include "server/requests/RequestHandler.h"

#include <memory>

class ServedLibrary;

class DeleteRemotePlayListHandler : public RequestHandler {
public:
    explicit DeleteRemotePlayListHandler(std::shared_ptr<const ServedLibrary> library)
        : m_library(std::move(library)) {}

    WireMessage Serve(std::span<const uint8_t> payload) override;

private:
    std::shared_ptr<const ServedLibrary> m_library;
};
