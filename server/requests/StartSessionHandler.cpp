#include "server/requests/StartSessionHandler.h"

#include "foundation/ByteOrder.h"
#include "foundation/ErrorCodes.h"
#include "server/requests/ASyncWSocksServer.h"
#include "server/requests/RemoteSession.h"
#include "server/requests/SessionTable.h"

#include <random>

WireMessage StartSessionHandler::Serve(std::span<const uint8_t> payload) {
    m_owner.OnSessionStarting();
    std::unique_ptr<RemoteSession> session;
    if (const int result = RemoteSession::Read(payload, m_progress, session))
        return WireMessage::Status(result);
    session->secondHandle = std::random_device()();
    const uint32_t secondHandle = session->secondHandle;
    const FoundHost client{session->clientHost.ToSystem8Bit().substr(0, FoundHost::kMaxNameLength),
                           session->clientAddress, 0};
    const uint32_t id = m_sessions->Add(std::move(session));
    if (id == 0)
        return WireMessage::Status(kErrorBusy);
    m_owner.AddFoundHost(client);
    std::vector<uint8_t> answer(8);
    StoreLE32(answer.data(), id);
    StoreLE32(answer.data() + 4, secondHandle);
    return WireMessage::Success(std::move(answer));
}
