// CProcessWide: the first use from many threads at once makes exactly one
// object, everyone gets that one, and replacing it never pulls an object
// from under a thread that still holds it.
#include "core/os/ProcessWide.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "core/store/MasterPwdMgr.h"
#include "tests/support/ScopedReplace.h"

namespace {

constexpr int kThreads = 8;

struct Counted {
    explicit Counted(int serial) : serial(serial) {}
    int serial;
    int value = 42;
};

std::atomic<int> g_made{0};

// Slow on purpose: every thread arrives while the first one is still making.
std::shared_ptr<Counted> MakeCountedSlowly()
{
    const int serial = ++g_made;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return std::make_shared<Counted>(serial);
}

// A process-wide object of the test, held as the program holds its own.
CProcessWide<Counted>& ScratchSlot()
{
    static CProcessWide<Counted> slot([] { return std::make_shared<Counted>(0); });
    return slot;
}
std::shared_ptr<Counted> GetScratchInstance() { return ScratchSlot().Get(); }
std::shared_ptr<Counted> ReplaceScratchInstance(std::shared_ptr<Counted> object)
{
    return ScratchSlot().Replace(std::move(object));
}

// Runs body on kThreads threads released together.
template <typename Body> void RunTogether(Body body)
{
    std::atomic<int> ready{0};
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i)
        threads.emplace_back([&, i] {
            ++ready;
            while (!go) std::this_thread::yield();
            body(i);
        });
    while (ready < kThreads) std::this_thread::yield();
    go = true;
    for (std::thread& t : threads) t.join();
}

}  // namespace

TEST(ProcessWide, FirstUseFromManyThreadsMakesExactlyOne)
{
    for (int round = 0; round < 20; ++round) {
        g_made = 0;
        CProcessWide<Counted> slot(&MakeCountedSlowly);
        std::vector<std::shared_ptr<Counted>> got(kThreads);
        RunTogether([&](int i) { got[i] = slot.Get(); });
        EXPECT_EQ(g_made.load(), 1) << "round " << round;
        for (const auto& object : got) {
            ASSERT_NE(object, nullptr);
            EXPECT_EQ(object, got[0]);
        }
    }
}

TEST(ProcessWide, ReplaceReturnsTheOldOneAndNullMakesAFreshOne)
{
    g_made = 0;
    CProcessWide<Counted> slot(&MakeCountedSlowly);
    const std::shared_ptr<Counted> first = slot.Get();
    EXPECT_EQ(slot.Get(), first);
    EXPECT_EQ(g_made.load(), 1);

    auto mine = std::make_shared<Counted>(100);
    EXPECT_EQ(slot.Replace(mine), first);
    EXPECT_EQ(slot.Get(), mine);

    EXPECT_EQ(slot.Replace(nullptr), mine);
    const std::shared_ptr<Counted> fresh = slot.Get();
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->serial, 2);
    EXPECT_EQ(g_made.load(), 2);
}

TEST(ProcessWide, AnObjectOutlivesItsReplacementWhileAThreadHoldsIt)
{
    CProcessWide<Counted> slot([] { return std::make_shared<Counted>(0); });
    std::atomic<bool> stop{false};
    std::atomic<long> sum{0};
    // Thread 0 keeps replacing the object while the others use theirs.
    RunTogether([&](int i) {
        if (i == 0) {
            for (int n = 1; n <= 2000; ++n) slot.Replace(std::make_shared<Counted>(n));
            stop = true;
            return;
        }
        do {
            std::shared_ptr<Counted> held = slot.Get();
            std::this_thread::yield();
            sum += held->value;  // freed memory here would trip the sanitizers
        } while (!stop);
    });
    EXPECT_GT(sum.load(), 0);
}

TEST(ProcessWide, ScopedReplacePutsThePreviousObjectBack)
{
    const std::shared_ptr<Counted> original = GetScratchInstance();
    {
        zvtest::ScopedReplace scope(&ReplaceScratchInstance, std::make_shared<Counted>(7));
        EXPECT_EQ(GetScratchInstance()->serial, 7);
        EXPECT_EQ(scope.Previous(), original);
    }
    EXPECT_EQ(GetScratchInstance(), original);
}

TEST(ProcessWide, TheMasterPasswordManagerIsOneForEveryThread)
{
    std::vector<std::shared_ptr<CMasterPwdMgr>> got(kThreads);
    RunTogether([&](int i) { got[i] = GetMasterPwdMgr(); });
    for (const auto& manager : got) {
        ASSERT_NE(manager, nullptr);
        EXPECT_EQ(manager, got[0]);
    }
    EXPECT_EQ(GetMasterPwdMgr(), got[0]);
}
