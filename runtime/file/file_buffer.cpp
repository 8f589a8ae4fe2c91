// Buffered byte transfers: one buffer of FILE_BUFFER_SIZE bytes per file
// serves reading and writing in turn; transfers at least as large as the
// buffer bypass it.
#include <algorithm>
#include <cstring>

#include "runtime/file/file_record.h"

namespace {

std::size_t size_of(std::int32_t value) { return static_cast<std::size_t>(value); }

unsigned char* read_position(FileRecord& f) { return f.buffer + (f.filled - f.count); }
unsigned char* write_position(FileRecord& f) { return f.buffer + (f.buffer_size - f.count); }

}  // namespace

std::size_t file_read_raw(FileRecord& f, void* destination, std::size_t n) {
    if (f.read_error != 0) return 0;
    int error = 0;
    std::size_t got = file_handle_read(f.handle, destination, n, error);
    if (error != 0) f.read_error = error;
    return got;
}

bool file_flush(FileRecord& f) {
    if (f.writing != 0) return true;
    std::size_t pending = size_of(f.buffer_size - f.count);
    std::size_t written = pending ? file_handle_write(f.handle, f.buffer, pending) : 0;
    if (written < pending) {
        // Keep the rest for a later attempt, in order, so that the loss shows
        // (a short transfer now, a failed file_close at the latest).
        std::memmove(f.buffer, f.buffer + written, pending - written);
        f.count = f.buffer_size - static_cast<std::int32_t>(pending - written);
        return false;
    }
    f.count = f.buffer_size;
    return true;
}

std::size_t file_read_bytes(FileRecord& f, void* destination, std::size_t n) {
    if (f.writing == 0) {
        if (!file_flush(f)) return 0;
        f.writing = 1;
        f.count = 0;
    }
    auto* out = static_cast<unsigned char*>(destination);
    std::size_t have = size_of(f.count);
    if (have >= n) {
        std::memcpy(out, read_position(f), n);
        f.count -= static_cast<std::int32_t>(n);
        return n;
    }
    if (have) std::memcpy(out, read_position(f), have);
    f.count = 0;
    std::size_t rest = n - have;
    if (rest >= size_of(f.buffer_size)) return have + file_read_raw(f, out + have, rest);
    std::size_t got = file_read_raw(f, f.buffer, size_of(f.buffer_size));
    f.filled = f.count = static_cast<std::int32_t>(got);
    std::size_t taken = std::min(rest, got);
    std::memcpy(out + have, f.buffer, taken);
    f.count -= static_cast<std::int32_t>(taken);
    return have + taken;
}

std::size_t file_write_bytes(FileRecord& f, const void* source, std::size_t n) {
    if (f.writing != 0) {
        // The file position is past the read-ahead; output belongs where the
        // reader stopped.
        if (f.count > 0 && !file_handle_seek(f.handle, -std::int64_t{f.count}, FileOrigin::current))
            return 0;
        f.writing = 0;
        f.count = f.buffer_size;
    }
    if (size_of(f.count) > n) {
        std::memcpy(write_position(f), source, n);
        f.count -= static_cast<std::int32_t>(n);
        return n;
    }
    if (!file_flush(f)) return 0;
    if (n >= size_of(f.buffer_size)) return file_handle_write(f.handle, source, n);
    std::memcpy(write_position(f), source, n);
    f.count -= static_cast<std::int32_t>(n);
    return n;
}

void file_unread_byte(FileRecord& f) { f.count += 1; }
