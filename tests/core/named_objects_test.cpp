// The named shared block and the named automatic-reset events: two processes
// exchange the 1300-byte record, and pulses release waiting threads only.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "core/link/NamedEvent.h"
#include "core/link/SharedMemory.h"
#include "tests/core/NamedObjectsPattern.h"
#include "tests/support/ChildProcess.h"

namespace {

// Names unique to this run, so parallel runs do not meet.
std::string UniqueName(const char* what)
{
    static int counter = 0;
    return std::string("ZvTest-") + what + "-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(++counter);
}

std::string PeerPath() { return zvtest::SiblingExe("named_objects_peer.exe"); }

// A thread that waits once on its own event object of the given name.
struct Waiter {
    std::atomic<bool> released{false};
    std::thread thread;
    explicit Waiter(const std::string& name)
    {
        thread = std::thread([this, name] {
            CNamedEvent event(name.c_str());
            event.Wait();
            released = true;
        });
    }
    ~Waiter()
    {
        if (thread.joinable()) thread.join();
    }
};

// Pulses until the condition holds; a pulse is lost while nobody waits yet,
// so one pulse alone would race the waiter's start.
template <typename Cond> bool PulseUntil(CNamedEvent& event, Cond cond, int attempts = 1500)
{
    for (int i = 0; i < attempts && !cond(); ++i) {
        event.Pulse();
        Sleep(20);
    }
    return cond();
}

TEST(SharedMemory, TwoProcessesExchangeTheRecord)
{
    std::string sectionName = UniqueName("section"), eventName = UniqueName("added");
    CSharedMemory section(sectionName.c_str());
    ASSERT_TRUE(section.IsValid());
    CNamedEvent added(eventName.c_str());
    ASSERT_TRUE(added.IsValid());

    // The writer fills the whole record first, then wakes the reader.
    unsigned char record[CSharedMemory::kSize];
    zvtest::FillPattern(record, zvtest::kRequestSeed);
    section.Write(record);

    zvtest::ChildProcess peer(PeerPath(), "echo " + sectionName + " " + eventName);
    ASSERT_TRUE(peer.Started()) << PeerPath();
    ASSERT_TRUE(PulseUntil(added, [&] { return peer.Finished(0); }));
    EXPECT_EQ(peer.ExitCode(), 0u) << "the peer did not read the record written here";

    unsigned char reply[CSharedMemory::kSize] = {};
    section.Read(reply);
    EXPECT_TRUE(zvtest::HoldsPattern(reply, zvtest::kReplySeed));
}

TEST(SharedMemory, AnotherProcessOpensTheSameBlock)
{
    std::string name = UniqueName("section");
    CSharedMemory section(name.c_str());
    ASSERT_TRUE(section.IsValid());
    zvtest::ChildProcess peer(PeerPath(), "write " + name);
    ASSERT_TRUE(peer.Started());
    ASSERT_TRUE(peer.Finished(60000));
    ASSERT_EQ(peer.ExitCode(), 0u);
    unsigned char record[CSharedMemory::kSize] = {};
    section.Read(record);
    EXPECT_TRUE(zvtest::HoldsPattern(record, zvtest::kReplySeed));

    // A second object of the same name in this process sees it too, and the
    // view stays readable after the mapping handle is closed.
    CSharedMemory again(name.c_str());
    again.Close();
    unsigned char copy[CSharedMemory::kSize] = {};
    again.Read(copy);
    EXPECT_TRUE(zvtest::HoldsPattern(copy, zvtest::kReplySeed));
    again.Close();  // twice is harmless
}

TEST(SharedMemory, NullBufferAndFailedMappingChangeNothing)
{
    std::string name = UniqueName("section");
    CSharedMemory section(name.c_str());
    ASSERT_TRUE(section.IsValid());
    unsigned char record[CSharedMemory::kSize];
    zvtest::FillPattern(record, zvtest::kRequestSeed);
    section.Write(record);
    section.Read(nullptr);
    section.Write(nullptr);
    unsigned char back[CSharedMemory::kSize] = {};
    section.Read(back);
    EXPECT_TRUE(zvtest::HoldsPattern(back, zvtest::kRequestSeed));

    // A name in a namespace that does not exist cannot be mapped.
    CSharedMemory failed("NoSuchNamespace\\ZvTest\\section");
    ASSERT_FALSE(failed.IsValid());
    unsigned char untouched[CSharedMemory::kSize];
    zvtest::FillPattern(untouched, zvtest::kReplySeed);
    failed.Read(untouched);
    EXPECT_TRUE(zvtest::HoldsPattern(untouched, zvtest::kReplySeed));
    failed.Write(untouched);
    failed.Close();
}

TEST(NamedEvent, PulseReleasesTheOneWaiter)
{
    std::string name = UniqueName("event");
    CNamedEvent pulser(name.c_str());
    Waiter waiter(name);
    EXPECT_TRUE(PulseUntil(pulser, [&] { return waiter.released.load(); }));
}

TEST(NamedEvent, PulseWithoutWaiterIsLost)
{
    std::string name = UniqueName("event");
    CNamedEvent pulser(name.c_str());
    pulser.Pulse();
    pulser.Pulse();
    Waiter waiter(name);
    Sleep(300);
    EXPECT_FALSE(waiter.released.load()) << "a pulse before the wait was remembered";
    EXPECT_TRUE(PulseUntil(pulser, [&] { return waiter.released.load(); }));
}

TEST(NamedEvent, OnePulseReleasesExactlyOneOfTwoWaiters)
{
    std::string name = UniqueName("event");
    CNamedEvent pulser(name.c_str());
    Waiter first(name), second(name);
    Sleep(300);  // let both block; a pulse before that is simply retried
    auto count = [&] { return (first.released ? 1 : 0) + (second.released ? 1 : 0); };
    ASSERT_TRUE(PulseUntil(
        pulser, [&] { return count() >= 1; }, 250));
    Sleep(300);
    EXPECT_EQ(count(), 1);
    EXPECT_TRUE(PulseUntil(pulser, [&] { return count() == 2; }));
}

TEST(NamedEvent, DestructionResetsTheEvent)
{
    std::string name = UniqueName("event");
    CNamedEvent kept(name.c_str());
    {
        CNamedEvent other(name.c_str());
        ASSERT_TRUE(other.SetEvent());
    }
    EXPECT_FALSE(kept.Lock(0)) << "the event stayed signalled after an object of it was destroyed";
    // Automatic reset: a set event releases one wait and is reset by it.
    kept.SetEvent();
    EXPECT_TRUE(kept.Lock(0));
    EXPECT_FALSE(kept.Lock(0));
}

}  // namespace
