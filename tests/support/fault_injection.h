// Faults of the system, injected where the runtime's files meet it, so that
// tests see what a failing card or a pulled-out player does. On Linux the
// program's own calls of read and fsync are wrapped at link time (link with
// fault_injection); on Windows a read fails for real on a byte range that
// another handle holds locked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

// While it lives, reads of the file open as handle (at path) fail with an
// I/O error from byte offset `from` on.
class FailingReads {
public:
    FailingReads(std::intptr_t handle, const std::filesystem::path& path, std::uint64_t from);
    ~FailingReads();
    FailingReads(const FailingReads&) = delete;
    FailingReads& operator=(const FailingReads&) = delete;

private:
    std::intptr_t lock_ = 0;  // Windows: the handle that holds the lock
};

#if !defined(_WIN32)
// While it lives, every fsync of this program fails with EIO, as on a device
// that went away.
class FailingFlushes {
public:
    FailingFlushes();
    ~FailingFlushes();
    FailingFlushes(const FailingFlushes&) = delete;
    FailingFlushes& operator=(const FailingFlushes&) = delete;
};
#endif
