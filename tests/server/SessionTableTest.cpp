#include "server/requests/SessionTable.h"

#include "library/songlists/ADirTunes.h"
#include "server/requests/RemoteSession.h"

#include <chrono>
#include <gtest/gtest.h>
#include <set>
#include <thread>

using namespace std::chrono_literals;

namespace {

std::unique_ptr<RemoteSession> NewSession() {
    return std::make_unique<RemoteSession>();
}

} // namespace

TEST(SessionTableTest, IdsAreRandomAndTheTableHoldsOnlySoMany) {
    SessionTable table(50);
    std::set<uint32_t> ids;
    for (int i = 0; i < 50; ++i)
        ids.insert(table.Add(NewSession()));
    EXPECT_EQ(ids.size(), 50u);
    EXPECT_EQ(ids.count(0), 0u);
    // Not handed out in order: a client cannot take its neighbour's session for its own plus one.
    const std::vector<uint32_t> sorted(ids.begin(), ids.end());
    int consecutive = 0;
    for (size_t i = 1; i < sorted.size(); ++i)
        consecutive += sorted[i] == sorted[i - 1] + 1 ? 1 : 0;
    EXPECT_LT(consecutive, 3);
    EXPECT_EQ(table.Add(NewSession()), 0u) << "full";
    EXPECT_EQ(table.Count(), 50u);
}

TEST(SessionTableTest, ASessionServesOneRequestAtATimeAndEndsWhenItsLastRequestEnds) {
    SessionTable table;
    const uint32_t id = table.Add(NewSession());
    {
        const SessionTable::Lease first = table.Acquire(id);
        ASSERT_TRUE(first);
        EXPECT_FALSE(table.Acquire(id)) << "in use by another request";
        table.Release(id);
        EXPECT_TRUE(table.Has(id)) << "goes when the request that uses it ends";
    }
    EXPECT_FALSE(table.Has(id));
    EXPECT_FALSE(table.Acquire(id));

    const uint32_t idle = table.Add(NewSession());
    { const SessionTable::Lease used = table.Acquire(idle); }
    EXPECT_TRUE(table.Acquire(idle)) << "given back when its lease ended";
    table.Release(idle);
    EXPECT_FALSE(table.Has(idle)) << "an idle session goes at once";
    table.Release(12345);
    EXPECT_FALSE(table.Acquire(0));
}

TEST(SessionTableTest, SessionsLeftIdleTooLongMakeRoomForNewOnes) {
    SessionTable table(2, 50ms);
    const uint32_t busy = table.Add(NewSession());
    const uint32_t idle = table.Add(NewSession());
    const SessionTable::Lease inUse = table.Acquire(busy);
    EXPECT_EQ(table.Add(NewSession()), 0u);
    std::this_thread::sleep_for(100ms);
    const uint32_t fresh = table.Add(NewSession());
    EXPECT_NE(fresh, 0u);
    EXPECT_FALSE(table.Has(idle));
    EXPECT_TRUE(table.Has(busy)) << "a session in use never expires";
    EXPECT_TRUE(table.Has(fresh));
}
