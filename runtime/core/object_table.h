// ObjectTable: the numbered objects of one runtime family (windows, gadgets,
// files, ...). Callers name objects by small numbers of their own choosing, or
// ask for DYNAMIC_ID and get back a number the table made up.
//
// Contract:
// - The first field of every Record is its platform handle; a record counts as
//   live only while that field is non-zero.
// - The first capacity equals the growth step; asking for number n at or beyond
//   the capacity grows the table to n + step slots. New records are zero-filled.
// - acquire(n) on a live number first hands the old object to the release
//   callback (which normally ends in release(n)).
// - DYNAMIC_ID records live outside the numbered slots; their number is the
//   record's address, so it never collides with a small number. A lookup of
//   such a number is checked against the records actually made, never trusted.
// - release_all() releases numbered objects in increasing order, then dynamic
//   ones in order of creation.
// - A reserved number (see reserve) is refused by acquire and reserve until
//   its reservation ends; a reserved dynamic record outlives release and
//   release_all.
// - Every operation holds the table's own recursive lock, which the family may
//   also take around longer sequences.
#pragma once

#include <cstdint>
#include <deque>
#include <list>
#include <mutex>
#include <optional>
#include <type_traits>
#include <vector>

using ObjectNumber = std::intptr_t;

inline constexpr ObjectNumber DYNAMIC_ID = -1;
inline constexpr int IGNORE_VALUE = -65535;  // bit pattern 0xFFFF0001
// Numbered objects go up to here; a larger number (a dynamic one passed where
// a numbered one belongs) is refused rather than grown to.
inline constexpr ObjectNumber LARGEST_OBJECT_NUMBER = 0xFFFFF;

template <class Record>
class ObjectTable {
    static_assert(std::is_trivially_copyable_v<Record>, "records are plain data");

public:
    using ReleaseFn = void (*)(ObjectNumber number);

    ObjectTable(int step, ReleaseFn release) : step_(step > 0 ? step : 1), release_(release) {
        slots_.resize(static_cast<std::size_t>(step_));
    }
    ObjectTable(const ObjectTable&) = delete;
    ObjectTable& operator=(const ObjectTable&) = delete;

    // Get or create the record for a number (0 or more, or DYNAMIC_ID). A live
    // object under that number is released first. Returns a zero-filled record,
    // or nullptr for a negative number other than DYNAMIC_ID, one beyond
    // LARGEST_OBJECT_NUMBER, or a reserved one.
    Record* acquire(ObjectNumber number) {
        std::lock_guard guard(lock_);
        if (is_reserved(number)) return nullptr;
        if (number == DYNAMIC_ID) {
            dynamic_.emplace_back();
            return &dynamic_.back();
        }
        if (number < 0 || number > LARGEST_OBJECT_NUMBER) return nullptr;
        if (number >= capacity()) slots_.resize(static_cast<std::size_t>(number + step_));
        Record* record = &slots_[static_cast<std::size_t>(number)];
        if (handle_of(*record) != 0 && release_) release_(number);
        *record = Record{};
        return record;
    }

    // The live record for a number, or nullptr.
    Record* find(ObjectNumber number) {
        std::lock_guard guard(lock_);
        Record* record = slot(number);
        return record && handle_of(*record) != 0 ? record : nullptr;
    }

    // As find, for a caller that already holds lock() around a longer
    // sequence: saves taking the lock a second time on hot paths.
    Record* find_locked(ObjectNumber number) {
        Record* record = slot(number);
        return record && handle_of(*record) != 0 ? record : nullptr;
    }

    // The number a caller uses for a record: its slot index, or for a dynamic
    // record its address.
    ObjectNumber number_of(const Record* record) {
        std::lock_guard guard(lock_);
        for (std::size_t i = 0; i < slots_.size(); ++i)
            if (&slots_[i] == record) return static_cast<ObjectNumber>(i);
        return reinterpret_cast<ObjectNumber>(record);
    }

    // Forget an object: a numbered record is zeroed (its slot stays), a dynamic
    // record is removed (zeroed while reserved). The family has already freed
    // what the record held.
    void release(ObjectNumber number) {
        std::lock_guard guard(lock_);
        if (number >= 0 && number < capacity()) {
            slots_[static_cast<std::size_t>(number)] = Record{};
            return;
        }
        for (auto it = dynamic_.begin(); it != dynamic_.end(); ++it) {
            if (reinterpret_cast<ObjectNumber>(&*it) == number) {
                if (is_reserved(number)) *it = Record{};
                else dynamic_.erase(it);
                return;
            }
        }
    }

    // Reservations serve families whose platform objects must be made or
    // destroyed without the lock held (the platform's calls send messages
    // whose handlers take table locks): the number stays theirs meanwhile.
    // Reserves a number 0 or more, an existing dynamic record's number, or a
    // new dynamic record for DYNAMIC_ID. A live object under the number stays
    // as it is: the family takes it out. Returns the number reserved, nothing
    // when the number is invalid or already reserved.
    std::optional<ObjectNumber> reserve(ObjectNumber number) {
        std::lock_guard guard(lock_);
        if (number == DYNAMIC_ID) {
            dynamic_.emplace_back();
            number = reinterpret_cast<ObjectNumber>(&dynamic_.back());
        } else if (number >= 0 && number <= LARGEST_OBJECT_NUMBER) {
            if (number >= capacity()) slots_.resize(static_cast<std::size_t>(number + step_));
        } else if (!slot(number)) {
            return std::nullopt;
        }
        if (is_reserved(number)) return std::nullopt;
        reserved_.push_back(number);
        return number;
    }

    // Ends a reservation with the number's record, zero-filled, for the new
    // object; the family has taken the old one out.
    Record* fulfil(ObjectNumber number) {
        std::lock_guard guard(lock_);
        unreserve(number);
        Record* record = slot(number);
        if (record) *record = Record{};
        return record;
    }

    // Ends a reservation unused: a dynamic record without a live object goes.
    void cancel(ObjectNumber number) {
        std::lock_guard guard(lock_);
        unreserve(number);
        const bool numbered = number >= 0 && number < capacity();
        Record* record = slot(number);
        if (!numbered && record && handle_of(*record) == 0) release(number);
    }

    // Release every live object through the callback; dynamic records that the
    // callback did not remove are removed afterwards, unless reserved.
    void release_all() {
        std::lock_guard guard(lock_);
        for (ObjectNumber n = 0; n < capacity(); ++n)
            if (handle_of(slots_[static_cast<std::size_t>(n)]) != 0 && release_) release_(n);
        std::vector<ObjectNumber> dynamic_numbers;
        for (Record& record : dynamic_)
            if (handle_of(record) != 0) dynamic_numbers.push_back(reinterpret_cast<ObjectNumber>(&record));
        for (ObjectNumber n : dynamic_numbers)
            if (release_ && slot(n)) release_(n);
        dynamic_.remove_if([this](Record& record) { return !is_reserved(reinterpret_cast<ObjectNumber>(&record)); });
    }

    // Calls fn(number, record) for every live record, numbered first.
    template <class Fn>
    void for_each_live(Fn fn) {
        std::lock_guard guard(lock_);
        for (std::size_t i = 0; i < slots_.size(); ++i)
            if (handle_of(slots_[i]) != 0) fn(static_cast<ObjectNumber>(i), slots_[i]);
        for (Record& record : dynamic_)
            if (handle_of(record) != 0) fn(reinterpret_cast<ObjectNumber>(&record), record);
    }

    ObjectNumber capacity() const { return static_cast<ObjectNumber>(slots_.size()); }
    std::recursive_mutex& lock() { return lock_; }

private:
    static std::uintptr_t handle_of(const Record& record) {
        // The handle is the record's first field, whatever its pointer-sized type.
        std::uintptr_t handle = 0;
        static_assert(sizeof(Record) >= sizeof(handle), "a record starts with its handle");
        __builtin_memcpy(&handle, &record, sizeof(handle));
        return handle;
    }

    bool is_reserved(ObjectNumber number) const {
        for (ObjectNumber reserved : reserved_)
            if (reserved == number) return true;
        return false;
    }

    void unreserve(ObjectNumber number) {
        for (auto it = reserved_.begin(); it != reserved_.end(); ++it) {
            if (*it == number) {
                reserved_.erase(it);
                return;
            }
        }
    }

    Record* slot(ObjectNumber number) {
        if (number >= 0 && number < capacity()) return &slots_[static_cast<std::size_t>(number)];
        for (Record& record : dynamic_)
            if (reinterpret_cast<ObjectNumber>(&record) == number) return &record;
        return nullptr;
    }

    int step_;
    ReleaseFn release_;
    std::deque<Record> slots_;   // references stay valid as the table grows
    std::list<Record> dynamic_;  // in order of creation
    std::vector<ObjectNumber> reserved_;  // few at a time: one per object being made or destroyed
    std::recursive_mutex lock_;
};
