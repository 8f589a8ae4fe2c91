// EventQueue: the first-in first-out list of events waiting for event_wait.
// Nodes come from a pool owned by the queue, so a burst of events does not
// allocate once per event. One lock guards it: any thread may post.
//
// Coalescing: an event identical to the last queued one (same kind, object,
// window and subtype, kind at most 65536) is not appended; its data is
// released at once instead, so nothing leaks. Drop events and moved list rows
// (GADGET_ITEM_MOVED) are never collapsed: each carries its own data; nor are
// menu events: each is a command.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "runtime/gui/event.h"

inline constexpr int EVENT_COALESCE_LIMIT = 65536;  // kinds above it are always queued

struct QueuedEvent {
    int kind;
    ObjectNumber object;
    ObjectNumber window;
    int subtype;
    void* data;
    EventDataRelease release;
};

struct EventNode {
    EventNode* next;
    QueuedEvent event;
};

struct EventQueue {
    std::mutex lock;
    EventNode* first = nullptr;
    EventNode* last = nullptr;
    EventNode* free_nodes = nullptr;
    std::vector<std::unique_ptr<EventNode[]>> chunks;  // the pool's storage

    EventQueue() = default;
    EventQueue(const EventQueue&) = delete;
    EventQueue& operator=(const EventQueue&) = delete;
    ~EventQueue();  // releases the data of events still queued
};

// False only when no node could be allocated (the event's data is released).
bool event_queue_post(EventQueue& queue, const QueuedEvent& event);
// Takes the first event; false when the queue is empty.
bool event_queue_take(EventQueue& queue, QueuedEvent* event);
// Removes the entries whose kind, object and window match (-1 matches any
// value) and releases their data. Returns how many were removed.
int event_queue_purge(EventQueue& queue, int kind, ObjectNumber object, ObjectNumber window);
// Removes every entry, releasing its data.
void event_queue_clear(EventQueue& queue);
bool event_queue_empty(EventQueue& queue);

// The process-wide queue behind event_post, event_purge_* and event_wait.
EventQueue& event_queue();
// Each back end's part: releases the data of the calling thread's current
// event (the previous wait's result).
void event_release_current();
// The back end's way to wake a thread blocked in event_wait when another
// thread posts; called after every event_post that appended an entry.
void event_queue_set_waker(void (*wake)());
