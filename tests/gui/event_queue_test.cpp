#include "runtime/gui/event_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

std::vector<int> released;  // payloads handed to release_payload, in order

void release_payload(void* data) {
    released.push_back(*static_cast<int*>(data));
    delete static_cast<int*>(data);
}

QueuedEvent make(int kind, ObjectNumber object, ObjectNumber window, int subtype, int* payload = nullptr) {
    return QueuedEvent{kind, object, window, subtype, payload, payload ? release_payload : nullptr};
}

std::vector<QueuedEvent> drain(EventQueue& queue) {
    std::vector<QueuedEvent> events;
    QueuedEvent event;
    while (event_queue_take(queue, &event)) events.push_back(event);
    return events;
}

class EventQueueTest : public ::testing::Test {
protected:
    void SetUp() override { released.clear(); }
    EventQueue queue;
};

TEST_F(EventQueueTest, KeepsFirstInFirstOutOrder) {
    for (int i = 0; i < 200; ++i) event_queue_post(queue, make(EVENT_GADGET, i, 0, 0));
    auto events = drain(queue);
    ASSERT_EQ(events.size(), 200u);
    for (int i = 0; i < 200; ++i) EXPECT_EQ(events[i].object, i);
    EXPECT_TRUE(event_queue_empty(queue));
    QueuedEvent none;
    EXPECT_FALSE(event_queue_take(queue, &none));
}

TEST_F(EventQueueTest, IdenticalConsecutiveEventsCollapseAndTheDroppedDataIsReleased) {
    EXPECT_TRUE(event_queue_post(queue, make(EVENT_SIZE_WINDOW, 0, 3, 0, new int(1))));
    EXPECT_FALSE(event_queue_post(queue, make(EVENT_SIZE_WINDOW, 0, 3, 0, new int(2))));
    EXPECT_FALSE(event_queue_post(queue, make(EVENT_SIZE_WINDOW, 0, 3, 0)));
    EXPECT_EQ(released, std::vector<int>{2});  // the newcomer's data, not the queued one's
    auto events = drain(queue);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(*static_cast<int*>(events[0].data), 1);
    release_payload(events[0].data);
}

TEST_F(EventQueueTest, EventsThatDifferInAnyFieldAreAllKept) {
    event_queue_post(queue, make(EVENT_GADGET, 1, 0, 0));
    event_queue_post(queue, make(EVENT_SIZE_WINDOW, 1, 0, 0));  // kind
    event_queue_post(queue, make(EVENT_SIZE_WINDOW, 2, 0, 0));  // object
    event_queue_post(queue, make(EVENT_SIZE_WINDOW, 2, 1, 0));  // window
    event_queue_post(queue, make(EVENT_SIZE_WINDOW, 2, 1, 7));  // subtype
    event_queue_post(queue, make(EVENT_GADGET, 1, 0, 0));       // equal to an earlier, not the last
    EXPECT_EQ(drain(queue).size(), 6u);
}

TEST_F(EventQueueTest, KindsAboveTheLimitAreNeverCollapsed) {
    event_queue_post(queue, make(EVENT_COALESCE_LIMIT, 0, 0, 0));
    event_queue_post(queue, make(EVENT_COALESCE_LIMIT, 0, 0, 0));
    event_queue_post(queue, make(EVENT_COALESCE_LIMIT + 1, 0, 0, 0));
    event_queue_post(queue, make(EVENT_COALESCE_LIMIT + 1, 0, 0, 0));
    auto events = drain(queue);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].kind, EVENT_COALESCE_LIMIT);
    EXPECT_EQ(events[2].kind, EVENT_COALESCE_LIMIT + 1);
}

// Drops and moved rows each carry data of their own: none is collapsed.
TEST_F(EventQueueTest, DropsAndMovedRowsAreNeverCollapsedEachKeepsItsOwnData) {
    const struct {
        const char* name;
        int kind;
        int subtype;
    } cases[] = {{"gadget drop", EVENT_GADGET_DROP, -1},
                 {"window drop", EVENT_WINDOW_DROP, -1},
                 {"moved row", EVENT_GADGET, GADGET_ITEM_MOVED}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(event_queue_post(queue, make(c.kind, 0, 3, c.subtype, new int(1))));
        EXPECT_TRUE(event_queue_post(queue, make(c.kind, 0, 3, c.subtype, new int(2))));
        auto events = drain(queue);
        ASSERT_EQ(events.size(), 2u);
        EXPECT_EQ(*static_cast<int*>(events[0].data), 1);
        EXPECT_EQ(*static_cast<int*>(events[1].data), 2);
        EXPECT_TRUE(released.empty());
        for (const QueuedEvent& event : events) release_payload(event.data);
        released.clear();
    }
}

// Each menu event is a command (a key held down repeats one): none is lost.
TEST_F(EventQueueTest, MenuEventsAreNeverCollapsed) {
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(event_queue_post(queue, make(EVENT_MENU, 4, 0, -1)));
    EXPECT_EQ(drain(queue).size(), 3u);
}

TEST_F(EventQueueTest, PurgeByWindowRemovesOnlyThatWindowAndReleasesItsData) {
    event_queue_post(queue, make(EVENT_SIZE_WINDOW, 0, 1, 0, new int(10)));
    event_queue_post(queue, make(EVENT_GADGET, 4, 2, 0));
    event_queue_post(queue, make(EVENT_MOVE_WINDOW, 1, 1, 0, new int(11)));
    event_queue_post(queue, make(EVENT_GADGET, 5, 2, 0));
    event_queue_post(queue, make(EVENT_REPAINT, 0, 1, 0));
    EXPECT_EQ(event_queue_purge(queue, -1, -1, 1), 3);
    EXPECT_EQ(released, (std::vector<int>{10, 11}));
    auto events = drain(queue);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].object, 4);
    EXPECT_EQ(events[1].object, 5);
}

TEST_F(EventQueueTest, PurgeByKindAndObjectWithWildcards) {
    event_queue_post(queue, make(EVENT_GADGET, 1, 0, 0));
    event_queue_post(queue, make(EVENT_GADGET, 2, 0, 0));
    event_queue_post(queue, make(EVENT_MENU, 1, 0, 0));
    event_queue_post(queue, make(EVENT_GADGET, 1, 5, 2));
    EXPECT_EQ(event_queue_purge(queue, EVENT_GADGET, 1, -1), 2);
    auto events = drain(queue);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].object, 2);
    EXPECT_EQ(events[1].kind, EVENT_MENU);

    event_queue_post(queue, make(EVENT_GADGET, 1, 0, 0));
    event_queue_post(queue, make(EVENT_GADGET, 2, 0, 0));
    event_queue_post(queue, make(EVENT_MENU, 2, 0, 0));
    EXPECT_EQ(event_queue_purge(queue, EVENT_GADGET, -1, -1), 2);
    EXPECT_EQ(event_queue_purge(queue, -1, 2, -1), 1);
    EXPECT_TRUE(event_queue_empty(queue));
}

TEST_F(EventQueueTest, PostingAfterPurgingTheLastEntryAppendsAtTheEnd) {
    // The tail must follow a purge of the last entry, or later posts get lost.
    event_queue_post(queue, make(EVENT_GADGET, 1, 0, 0));
    event_queue_post(queue, make(EVENT_GADGET, 2, 0, 0));
    event_queue_purge(queue, EVENT_GADGET, 2, -1);
    event_queue_post(queue, make(EVENT_GADGET, 3, 0, 0));
    // Equal to the purged last entry, but not to the current last one.
    event_queue_post(queue, make(EVENT_GADGET, 2, 0, 0));
    auto events = drain(queue);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[1].object, 3);
    EXPECT_EQ(events[2].object, 2);
}

TEST_F(EventQueueTest, ClearingAndDestroyingReleaseWhatIsStillQueued) {
    event_queue_post(queue, make(EVENT_GADGET, 1, 0, 0, new int(1)));
    event_queue_clear(queue);
    EXPECT_EQ(released, std::vector<int>{1});
    {
        EventQueue scoped;
        event_queue_post(scoped, make(EVENT_GADGET, 1, 0, 0, new int(2)));
        event_queue_post(scoped, make(EVENT_GADGET, 2, 0, 0, new int(3)));
    }
    EXPECT_EQ(released, (std::vector<int>{1, 2, 3}));
}

TEST_F(EventQueueTest, TwoThreadsPostingLoseNothingAndKeepEachThreadsOrder) {
    constexpr int per_thread = 5000;
    std::atomic<bool> go{false};
    auto poster = [&](ObjectNumber window) {
        while (!go.load()) std::this_thread::yield();
        for (int i = 0; i < per_thread; ++i) event_queue_post(queue, make(EVENT_GADGET, i, window, 0));
    };
    std::thread a(poster, 1), b(poster, 2);
    go = true;
    // Consume while they post, as the waiting thread would.
    std::vector<int> next(3, 0);
    int taken = 0;
    while (taken < 2 * per_thread) {
        QueuedEvent event;
        if (!event_queue_take(queue, &event)) {
            std::this_thread::yield();
            continue;
        }
        ASSERT_EQ(event.object, next[event.window]) << "window " << event.window;
        ++next[event.window];
        ++taken;
    }
    a.join();
    b.join();
    EXPECT_TRUE(event_queue_empty(queue));
}

TEST_F(EventQueueTest, ProcessQueueWakesTheWaiterOnlyWhenSomethingWasAppended) {
    static std::atomic<int> wakes;
    wakes = 0;
    event_queue_set_waker([] { ++wakes; });
    event_post(EVENT_SIZE_WINDOW, 0, 9, 0);
    event_post(EVENT_SIZE_WINDOW, 0, 9, 0);  // collapsed: nothing new to wake for
    event_post(EVENT_MOVE_WINDOW, 9, 9, 0);
    event_queue_set_waker(nullptr);
    EXPECT_EQ(wakes.load(), 2);
    event_purge_gadget(EVENT_MOVE_WINDOW, 9);
    QueuedEvent event;
    ASSERT_TRUE(event_queue_take(event_queue(), &event));
    EXPECT_EQ(event.kind, EVENT_SIZE_WINDOW);
    event_post(EVENT_REPAINT, 0, 9, 0);
    event_purge_window(9);
    EXPECT_TRUE(event_queue_empty(event_queue()));
}

}  // namespace
