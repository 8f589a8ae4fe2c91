#include "runtime/core/object_table.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

struct Thing {
    std::intptr_t handle;
    int payload;
};

// What the release callback saw, in order.
std::vector<ObjectNumber> released;
ObjectTable<Thing>* table = nullptr;

void release_thing(ObjectNumber number) {
    released.push_back(number);
    table->release(number);
}

class ObjectTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        released.clear();
        table = &things;
    }
    ObjectTable<Thing> things{4, release_thing};

    Thing* make(ObjectNumber number, int payload) {
        Thing* t = things.acquire(number);
        t->handle = 0x100 + payload;
        t->payload = payload;
        return t;
    }
};

TEST_F(ObjectTableTest, GrowsByStepBeyondTheAskedNumber) {
    EXPECT_EQ(things.capacity(), 4);
    make(3, 1);
    EXPECT_EQ(things.capacity(), 4);
    make(4, 2);
    EXPECT_EQ(things.capacity(), 8);  // n + step
    make(20, 3);
    EXPECT_EQ(things.capacity(), 24);
    // Records made before the growth are still where they were.
    EXPECT_EQ(things.find(3)->payload, 1);
    EXPECT_EQ(things.find(4)->payload, 2);
}

TEST_F(ObjectTableTest, NewRecordsAreZeroAndOnlyLiveHandlesAreFound) {
    Thing* t = things.acquire(2);
    EXPECT_EQ(t->handle, 0);
    EXPECT_EQ(t->payload, 0);
    EXPECT_EQ(things.find(2), nullptr);  // no handle yet
    t->handle = 7;
    EXPECT_EQ(things.find(2), t);
    EXPECT_EQ(things.find(3), nullptr);
    EXPECT_EQ(things.find(1000), nullptr);
    EXPECT_EQ(things.find(-5), nullptr);
    EXPECT_EQ(things.acquire(-5), nullptr);
}

TEST_F(ObjectTableTest, ANumberBeyondTheLargestIsRefusedNotGrownTo) {
    Thing* dynamic = make(DYNAMIC_ID, 1);
    ObjectNumber id = things.number_of(dynamic);
    EXPECT_EQ(things.acquire(id), nullptr);
    EXPECT_EQ(things.acquire(LARGEST_OBJECT_NUMBER + 1), nullptr);
    EXPECT_EQ(things.capacity(), 4);
    EXPECT_NE(things.acquire(LARGEST_OBJECT_NUMBER), nullptr);
}

TEST_F(ObjectTableTest, ReusingANumberReleasesTheOldObjectOnce) {
    make(1, 10);
    Thing* again = make(1, 11);
    ASSERT_EQ(released, std::vector<ObjectNumber>{1});
    EXPECT_EQ(again->payload, 11);
    // A number that held nothing releases nothing.
    make(2, 12);
    EXPECT_EQ(released.size(), 1u);
}

TEST_F(ObjectTableTest, ReleaseZeroesTheRecordAndKeepsTheSlot) {
    Thing* t = make(3, 5);
    things.release(3);
    EXPECT_EQ(things.find(3), nullptr);
    EXPECT_EQ(t->payload, 0);
    EXPECT_EQ(things.capacity(), 4);
    things.release(3);  // a dead number is harmless
    EXPECT_EQ(things.find(3), nullptr);
}

TEST_F(ObjectTableTest, DynamicRecordsAreNumberedByTheirAddress) {
    Thing* t = make(DYNAMIC_ID, 1);
    ObjectNumber id = things.number_of(t);
    EXPECT_EQ(id, reinterpret_cast<ObjectNumber>(t));
    EXPECT_GE(id, things.capacity());
    EXPECT_EQ(things.find(id), t);
    // A value that merely looks like a handle is not trusted.
    EXPECT_EQ(things.find(id + 1), nullptr);
    things.release(id);
    EXPECT_EQ(things.find(id), nullptr);
    EXPECT_EQ(things.number_of(make(2, 2)), 2);
}

TEST_F(ObjectTableTest, ReleaseAllGoesNumberedAscendingThenDynamicInCreationOrder) {
    Thing* d1 = make(DYNAMIC_ID, 1);
    make(5, 2);
    Thing* d2 = make(DYNAMIC_ID, 3);
    make(0, 4);
    make(2, 5);
    ObjectNumber id1 = things.number_of(d1), id2 = things.number_of(d2);
    things.release_all();
    EXPECT_EQ(released, (std::vector<ObjectNumber>{0, 2, 5, id1, id2}));
    EXPECT_EQ(things.find(0), nullptr);
    EXPECT_EQ(things.find(id1), nullptr);
    released.clear();
    things.release_all();
    EXPECT_TRUE(released.empty());
}

TEST_F(ObjectTableTest, AReservedNumberIsRefusedUntilItsReservationEnds) {
    Thing* old = make(3, 1);
    ASSERT_EQ(things.reserve(3), std::optional<ObjectNumber>(3));
    EXPECT_EQ(things.find(3), old) << "the live object stays until the family takes it out";
    EXPECT_EQ(things.reserve(3), std::nullopt);
    EXPECT_EQ(things.acquire(3), nullptr);
    EXPECT_TRUE(released.empty());
    things.release(3);  // the family took the old object out
    Thing* fresh = things.fulfil(3);
    ASSERT_EQ(fresh, old) << "the same slot";
    EXPECT_EQ(fresh->payload, 0);
    fresh->handle = 1;
    EXPECT_EQ(things.find(3), fresh);
    EXPECT_NE(things.acquire(3), nullptr) << "no longer reserved";

    ASSERT_EQ(things.reserve(9), std::optional<ObjectNumber>(9));
    EXPECT_EQ(things.capacity(), 13) << "grown as acquire grows";
    things.cancel(9);
    EXPECT_NE(things.acquire(9), nullptr);
    EXPECT_EQ(things.reserve(-5), std::nullopt);
    EXPECT_EQ(things.reserve(LARGEST_OBJECT_NUMBER + 1), std::nullopt);
}

TEST_F(ObjectTableTest, AReservedDynamicRecordOutlivesReleaseAllAndGoesWhenCancelled) {
    const std::optional<ObjectNumber> made = things.reserve(DYNAMIC_ID);
    const std::optional<ObjectNumber> dropped = things.reserve(DYNAMIC_ID);
    ASSERT_TRUE(made && dropped);
    EXPECT_NE(*made, *dropped);
    EXPECT_GE(*made, things.capacity());
    EXPECT_EQ(things.find(*made), nullptr) << "not live while reserved";
    things.release_all();
    things.release(*made);
    Thing* record = things.fulfil(*made);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(things.number_of(record), *made);
    record->handle = 1;
    EXPECT_EQ(things.find(*made), record);

    things.cancel(*dropped);
    EXPECT_EQ(things.reserve(*dropped), std::nullopt) << "its record is gone";
    // A live dynamic record can be reserved by its number, and stays when cancelled.
    ASSERT_EQ(things.reserve(*made), made);
    things.cancel(*made);
    EXPECT_EQ(things.find(*made), record);
}

TEST_F(ObjectTableTest, TheLockIsRecursive) {
    std::lock_guard outer(things.lock());
    make(1, 1);  // takes the lock again inside
    EXPECT_NE(things.find(1), nullptr);
}

}  // namespace
