// The file family's records and the buffered byte transfers under the line
// operations. Private to runtime/file.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

#include "runtime/core/object_table.h"
#include "runtime/file/file_handle.h"

// A new file that is to replace another once it is complete.
struct FileReplacement {
    std::u16string temporary;  // the new file, beside the target
    std::u16string target;     // the file it replaces (links followed)
};

struct FileRecord {
    FileHandle handle;
    unsigned char* buffer;     // nullptr for a file opened unbuffered
    std::int32_t buffer_size;  // FILE_BUFFER_SIZE when opened; 0 without a buffer
    std::int32_t count;        // reading: bytes not yet consumed; writing: free room
    std::int32_t filled;       // reading: bytes the last refill put into the buffer
    std::int32_t writing;      // 0 while the buffer holds output not yet written, else 1
    std::int32_t lost;         // 1 once a line could not be written whole: no more lines go out
    std::int32_t read_error;   // the platform's code once a read failed: nothing more is read
    std::int32_t text_form;    // FILE_TEXT_UTF8 or FILE_TEXT_LATIN1: how lines are decoded
    FileReplacement* replacement;  // for file_create_replacing, else nullptr
};

// A name for a new file beside target, as long as target's own name (so that
// a target the system can name can be saved), different at every call.
std::u16string file_temporary_name(std::u16string_view target);

// The live record of a number, with the family locked until the lookup goes
// out of scope (no other file operation may be called meanwhile). record is
// nullptr when the number holds no open file (or the family is not started).
struct FileLookup {
    std::unique_lock<std::mutex> lock;
    FileRecord* record = nullptr;
};
FileLookup file_lookup(ObjectNumber number);

// Moves on with every operation that takes the family's lock (so only under it).
inline std::atomic<std::uint64_t> file_operations{1};

// A note, made with the family locked after a line is read, that a number's
// file has a byte waiting in its buffer. It holds until the next operation of
// the family in any thread, so that file_eof between two lines needs no lock.
// Not thread-local: Windows builds emulate thread-local storage, and freeing
// it when a thread ended corrupted the heap.
inline std::atomic<ObjectNumber> file_waiting_number{0};
inline std::atomic<std::uint64_t> file_waiting_at{0};  // the count it holds for; 0 for none

inline void file_note_waiting(ObjectNumber number) {
    file_waiting_number.store(number, std::memory_order_release);
    file_waiting_at.store(file_operations.load(std::memory_order_relaxed), std::memory_order_release);
}

inline bool file_noted_waiting(ObjectNumber number) {
    // The count is looked at last: a later note's number, once seen, comes
    // with that later operation's count, so a note never mixes two readings.
    // An operation started but not yet seen may be taken as coming after.
    std::uint64_t at = file_waiting_at.load(std::memory_order_acquire);
    if (file_waiting_number.load(std::memory_order_acquire) != number) return false;
    return at == file_operations.load(std::memory_order_relaxed);
}

// Reads from the file's handle; a failure is kept on the record, and from
// then on nothing more is read, as at the end of the file.
std::size_t file_read_raw(FileRecord& file, void* destination, std::size_t n);

// Buffered transfers; each returns the bytes moved. A record switches between
// reading and writing on demand; when pending output cannot be written it
// stays in the buffer (so nothing later overtakes it) and the transfer that
// needed the room moves nothing.
std::size_t file_read_bytes(FileRecord& file, void* destination, std::size_t n);
std::size_t file_write_bytes(FileRecord& file, const void* source, std::size_t n);
// Writes pending output; false if some of it could not be written.
bool file_flush(FileRecord& file);
// Gives back the byte that the last one-byte file_read_bytes took.
void file_unread_byte(FileRecord& file);
