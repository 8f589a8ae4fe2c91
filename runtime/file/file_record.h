// The file family's records and the buffered byte transfers under the line
// operations. Private to runtime/file.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "runtime/core/object_table.h"
#include "runtime/file/file_handle.h"

struct FileRecord {
    FileHandle handle;
    unsigned char* buffer;     // nullptr for a file opened unbuffered
    std::int32_t buffer_size;  // FILE_BUFFER_SIZE when opened; 0 without a buffer
    std::int32_t count;        // reading: bytes not yet consumed; writing: free room
    std::int32_t filled;       // reading: bytes the last refill put into the buffer
    std::int32_t writing;      // 0 while the buffer holds output not yet written, else 1
    std::int32_t lost;         // 1 once a line could not be written whole: no more lines go out
};

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

// A thread's note, made with the family locked, that a number's file has a
// byte waiting in its buffer. It holds until the next operation of the
// family in any thread, so that file_eof between two lines needs no lock.
struct FileWaitingNote {
    ObjectNumber number;
    std::uint64_t operations;  // the count it holds for; 0 for none
};
inline constinit thread_local FileWaitingNote file_waiting_note{0, 0};

inline void file_note_waiting(ObjectNumber number) {
    file_waiting_note = {number, file_operations.load(std::memory_order_relaxed)};
}

inline bool file_noted_waiting(ObjectNumber number) {
    // Relaxed is enough: an operation that happened before this call has
    // moved the count on, and this thread sees that; one that did not may be
    // taken as coming after this call.
    return file_waiting_note.number == number &&
           file_waiting_note.operations == file_operations.load(std::memory_order_relaxed);
}

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
