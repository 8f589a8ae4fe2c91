#include "tests/support/fault_injection.h"

#ifdef _WIN32
#include <windows.h>

#include <stdexcept>

FailingReads::FailingReads(std::intptr_t, const std::filesystem::path& path, std::uint64_t from) {
    HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (lock == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open the file to lock");
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(from);
    at.OffsetHigh = static_cast<DWORD>(from >> 32);
    // An exclusive lock: any other handle's read of the range fails.
    if (!LockFileEx(lock, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &at)) {
        CloseHandle(lock);
        throw std::runtime_error("cannot lock the file");
    }
    lock_ = reinterpret_cast<std::intptr_t>(lock);
}

FailingReads::~FailingReads() { CloseHandle(reinterpret_cast<HANDLE>(lock_)); }

#else
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>

extern "C" ssize_t __real_read(int fd, void* buffer, size_t n);
extern "C" int __real_fsync(int fd);

namespace {

std::atomic<int> failing_fd{-1};
std::atomic<std::uint64_t> readable{0};  // bytes the file still gives before it fails
std::atomic<bool> flushes_fail{false};

}  // namespace

extern "C" ssize_t __wrap_read(int fd, void* buffer, size_t n) {
    if (fd != failing_fd.load()) return __real_read(fd, buffer, n);
    const std::uint64_t left = readable.load();
    if (left == 0) {
        errno = EIO;
        return -1;
    }
    const ssize_t got = __real_read(fd, buffer, static_cast<size_t>(std::min<std::uint64_t>(n, left)));
    if (got > 0) readable -= static_cast<std::uint64_t>(got);
    return got;
}

extern "C" int __wrap_fsync(int fd) {
    if (flushes_fail.load()) {
        errno = EIO;
        return -1;
    }
    return __real_fsync(fd);
}

FailingReads::FailingReads(std::intptr_t handle, const std::filesystem::path&, std::uint64_t from) {
    const off_t position = lseek(static_cast<int>(handle), 0, SEEK_CUR);
    readable = from > static_cast<std::uint64_t>(position) ? from - static_cast<std::uint64_t>(position) : 0;
    failing_fd = static_cast<int>(handle);
}

FailingReads::~FailingReads() { failing_fd = -1; }

FailingFlushes::FailingFlushes() { flushes_fail = true; }
FailingFlushes::~FailingFlushes() { flushes_fail = false; }
#endif
