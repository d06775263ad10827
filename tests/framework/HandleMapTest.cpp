// The handle map's temporary wrappers: every one made is deleted at idle
// time, also when its handle is removed from the map before then.
#include <gtest/gtest.h>

#include "framework/HandleMap.h"

namespace {

struct CountedWrapper {
    static int s_live;
    HANDLE m_handle = nullptr;
    CountedWrapper() { ++s_live; }
    ~CountedWrapper() { --s_live; }
};
int CountedWrapper::s_live = 0;

}  // namespace

template <> struct ZvHandleTraits<CountedWrapper> {
    using Handle = HANDLE;
    static HANDLE& Of(CountedWrapper& w) { return w.m_handle; }
};

namespace {

using Map = CHandleMap<CountedWrapper>;

HANDLE FakeHandle(uintptr_t n) { return reinterpret_cast<HANDLE>(n); }

TEST(HandleMap, TemporaryWrappersAreDeletedAtIdleEvenAfterTheirHandleWasRemoved)
{
    const int before = CountedWrapper::s_live;
    {
        // A wrapper of the program's takes a handle that had a temporary
        // wrapper, then lets it go again.
        CountedWrapper owner;
        CountedWrapper* temp = Map::FromHandle(FakeHandle(0x1001));
        ASSERT_NE(temp, nullptr);
        EXPECT_TRUE(Map::IsTemporary(temp));
        owner.m_handle = FakeHandle(0x1001);
        Map::SetPermanent(owner.m_handle, &owner);
        EXPECT_EQ(Map::FromHandle(FakeHandle(0x1001)), &owner);
        Map::RemoveHandle(owner.m_handle);
        owner.m_handle = nullptr;

        // A temporary wrapper detaching itself stays usable until idle time,
        // and the handle then gets a new one.
        CountedWrapper* self = Map::FromHandle(FakeHandle(0x1002));
        Map::RemoveHandle(self->m_handle);
        self->m_handle = nullptr;
        EXPECT_TRUE(Map::IsTemporary(self));
        CountedWrapper* again = Map::FromHandle(FakeHandle(0x1002));
        EXPECT_EQ(again->m_handle, FakeHandle(0x1002));
        EXPECT_EQ(CountedWrapper::s_live, before + 4);

        AfxDeleteTempMaps();
        EXPECT_EQ(CountedWrapper::s_live, before + 1) << "only the program's own wrapper is left";
    }
    EXPECT_EQ(CountedWrapper::s_live, before);
    EXPECT_EQ(Map::FromHandlePermanent(FakeHandle(0x1001)), nullptr);
}

}  // namespace
