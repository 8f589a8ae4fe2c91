// Faults of the system, injected where the runtime's files meet it, so that
// tests see what a failing card or a pulled-out player does: the program's
// own calls of the system are diverted, at link time on Linux (read and
// fsync; link with fault_injection), through the program's import of
// ReadFile on Windows.
#pragma once

#include <cstdint>
#include <filesystem>

// While it lives, every read of the file at path, through any handle, fails
// with an I/O error from byte offset `from` on; reads before it are cut
// short there.
class FailingReads {
public:
    FailingReads(const std::filesystem::path& path, std::uint64_t from);
    ~FailingReads();
    FailingReads(const FailingReads&) = delete;
    FailingReads& operator=(const FailingReads&) = delete;
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
