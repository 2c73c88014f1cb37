#include "LoopbackServer.h"
#include "RequestPayload.h"
#include "foundation/ByteOrder.h"
#include "foundation/FileInfo.h"
#include "remote/LinkCodes.h"

#include <atomic>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace {

constexpr int kClients = 200;
constexpr uint64_t kSomeTime = 3600000000ull;

// One client's round: send its own file, ask about it, fetch it back.
bool ClientRound(const LoopbackServer& server, int index) {
    const auto client = server.Client();
    const std::string path = server.Music("Clients/" + std::to_string(index) + ".mp3");
    std::vector<uint8_t> song(2000 + index * 13);
    for (size_t i = 0; i < song.size(); ++i)
        song[i] = static_cast<uint8_t>(i * 7 + index);
    if (client->Connect(LoopbackServer::kServerText, 0) != 0)
        return false;
    std::vector<uint8_t> answer;
    const std::vector<uint8_t> sent =
        SendFilePayload(path, song, kSomeTime, static_cast<uint32_t>(song.size()));
    bool ok = client->Request(linkcodes::kCopyWithProgressRemote, sent.data(),
                              static_cast<uint32_t>(sent.size()), answer, false, nullptr, 3, 30, {}) == 0;
    const std::vector<uint8_t> asked = RequestPayload().Text(path).Get();
    ok = ok && client->Request(linkcodes::kGetRemoteFileInfo, asked.data(),
                               static_cast<uint32_t>(asked.size()), answer, false, nullptr, 3, 30, {}) == 0;
    ok = ok && answer.size() == 32 && LoadLE64(answer.data() + 16) == song.size();
    const std::vector<uint8_t> fetch = RequestPayload().Text(path).U32(0).Get();
    ok = ok && client->Request(linkcodes::kMoveRemoteFileLocal, fetch.data(),
                               static_cast<uint32_t>(fetch.size()), answer, false, nullptr, 3, 30, {}) == 0;
    ok = ok && answer.size() == 16 + song.size() && std::equal(song.begin(), song.end(), answer.begin() + 16);
    client->Disconnect();
    return ok;
}

} // namespace

TEST(ManyClientsTest, TwoHundredClientsAreServedAtOnce) {
    LoopbackServer server;
    std::filesystem::create_directories(server.Music("Clients"));
    std::atomic<int> served = 0;
    std::vector<std::thread> clients;
    for (int i = 0; i < kClients; ++i)
        clients.emplace_back([&, i] { served += ClientRound(server, i) ? 1 : 0; });
    for (std::thread& client : clients)
        client.join();
    EXPECT_EQ(served, kClients);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(server.Music("Clients")), {}), kClients);
}
