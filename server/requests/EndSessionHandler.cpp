#include "server/requests/EndSessionHandler.h"

#include "server/requests/RequestFields.h"
#include "server/requests/SessionTable.h"

WireMessage EndSessionHandler::Serve(std::span<const uint8_t> payload) {
    RequestFields fields(payload);
    uint32_t id = 0;
    if (fields.ReadU32(id))
        m_sessions->Release(id);
    return WireMessage::Status(0);
}
