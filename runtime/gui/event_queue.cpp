#include "runtime/gui/event_queue.h"

#include <atomic>
#include <new>

namespace {

constexpr int NODES_PER_CHUNK = 64;

// Both take the queue's lock held.
EventNode* take_node(EventQueue& queue) {
    if (!queue.free_nodes) {
        std::unique_ptr<EventNode[]> chunk(new (std::nothrow) EventNode[NODES_PER_CHUNK]);
        if (!chunk) return nullptr;
        for (int i = 0; i < NODES_PER_CHUNK; ++i) {
            chunk[i].next = queue.free_nodes;
            queue.free_nodes = &chunk[i];
        }
        queue.chunks.push_back(std::move(chunk));
    }
    EventNode* node = queue.free_nodes;
    queue.free_nodes = node->next;
    return node;
}

void return_nodes(EventQueue& queue, EventNode* list) {
    while (list) {
        EventNode* next = list->next;
        list->next = queue.free_nodes;
        queue.free_nodes = list;
        list = next;
    }
}

void release_data(const QueuedEvent& event) {
    if (event.data && event.release) event.release(event.data);
}

// Releases the data of a detached list, outside the lock (a release function
// may itself post or purge), then gives the nodes back to the pool.
void dispose(EventQueue& queue, EventNode* list) {
    for (EventNode* node = list; node; node = node->next) release_data(node->event);
    std::lock_guard guard(queue.lock);
    return_nodes(queue, list);
}

bool matches(long long wanted, long long value) { return wanted == -1 || wanted == value; }

// A drop's data is its own, as is a moved row's: two are never one event. A
// menu event is a command the person gave (a button, a key, each repeat of a
// key held down): two are two commands.
bool may_collapse(const QueuedEvent& event) {
    return event.kind <= EVENT_COALESCE_LIMIT && event.kind != EVENT_WINDOW_DROP &&
           event.kind != EVENT_GADGET_DROP && event.kind != EVENT_MENU &&
           !(event.kind == EVENT_GADGET && event.subtype == GADGET_ITEM_MOVED);
}

std::atomic<void (*)()> waker{nullptr};

}  // namespace

EventQueue::~EventQueue() { event_queue_clear(*this); }

bool event_queue_post(EventQueue& queue, const QueuedEvent& event) {
    {
        std::lock_guard guard(queue.lock);
        const EventNode* last = queue.last;
        bool duplicate = last && may_collapse(event) && last->event.kind == event.kind &&
                         last->event.object == event.object && last->event.window == event.window &&
                         last->event.subtype == event.subtype;
        EventNode* node = duplicate ? nullptr : take_node(queue);
        if (node) {
            node->next = nullptr;
            node->event = event;
            if (queue.last) queue.last->next = node; else queue.first = node;
            queue.last = node;
            return true;
        }
    }
    release_data(event);
    return false;
}

bool event_queue_take(EventQueue& queue, QueuedEvent* event) {
    std::lock_guard guard(queue.lock);
    EventNode* node = queue.first;
    if (!node) return false;
    queue.first = node->next;
    if (!queue.first) queue.last = nullptr;
    *event = node->event;
    node->next = nullptr;
    return_nodes(queue, node);
    return true;
}

int event_queue_purge(EventQueue& queue, int kind, ObjectNumber object, ObjectNumber window) {
    EventNode* removed = nullptr;
    EventNode** removed_tail = &removed;
    int count = 0;
    {
        std::lock_guard guard(queue.lock);
        EventNode* kept_last = nullptr;
        for (EventNode** link = &queue.first; *link;) {
            EventNode* node = *link;
            if (matches(kind, node->event.kind) && matches(object, node->event.object) &&
                matches(window, node->event.window)) {
                *link = node->next;
                node->next = nullptr;
                *removed_tail = node;
                removed_tail = &node->next;
                ++count;
            } else {
                kept_last = node;
                link = &node->next;
            }
        }
        queue.last = kept_last;
    }
    dispose(queue, removed);
    return count;
}

void event_queue_clear(EventQueue& queue) {
    EventNode* removed;
    {
        std::lock_guard guard(queue.lock);
        removed = queue.first;
        queue.first = queue.last = nullptr;
    }
    dispose(queue, removed);
}

bool event_queue_empty(EventQueue& queue) {
    std::lock_guard guard(queue.lock);
    return queue.first == nullptr;
}

EventQueue& event_queue() {
    static EventQueue queue;
    return queue;
}

void event_queue_set_waker(void (*wake)()) { waker.store(wake); }

void event_post(int kind, ObjectNumber object, ObjectNumber window, int subtype, void* data,
                EventDataRelease release) {
    if (!event_queue_post(event_queue(), QueuedEvent{kind, object, window, subtype, data, release})) return;
    if (auto wake = waker.load()) wake();
}

void event_purge_window(ObjectNumber window) { event_queue_purge(event_queue(), -1, -1, window); }

void event_purge_gadget(int kind, ObjectNumber object) { event_queue_purge(event_queue(), kind, object, -1); }
