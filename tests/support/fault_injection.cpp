#include "tests/support/fault_injection.h"

#include <algorithm>
#include <atomic>

#ifdef _WIN32
#include <windows.h>

#include <cstring>
#include <stdexcept>

namespace {

using ReadFileCall = BOOL(WINAPI*)(HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED);
ReadFileCall real_read_file = nullptr;

// The failing file, by its volume and index, and where it starts failing.
std::atomic<bool> armed{false};
BY_HANDLE_FILE_INFORMATION failing{};
std::uint64_t failing_from = 0;

bool is_failing_file(HANDLE h) {
    BY_HANDLE_FILE_INFORMATION about;
    return GetFileInformationByHandle(h, &about) && about.dwVolumeSerialNumber == failing.dwVolumeSerialNumber &&
           about.nFileIndexHigh == failing.nFileIndexHigh && about.nFileIndexLow == failing.nFileIndexLow;
}

BOOL WINAPI read_file_failing(HANDLE h, LPVOID buffer, DWORD n, LPDWORD got, LPOVERLAPPED overlapped) {
    LARGE_INTEGER zero{}, at{};
    if (!armed || overlapped || !is_failing_file(h) || !SetFilePointerEx(h, zero, &at, FILE_CURRENT))
        return real_read_file(h, buffer, n, got, overlapped);
    const auto position = static_cast<std::uint64_t>(at.QuadPart);
    if (position >= failing_from) {
        if (got) *got = 0;
        SetLastError(ERROR_CRC);  // what a failing card answers
        return FALSE;
    }
    const DWORD allowed = static_cast<DWORD>(std::min<std::uint64_t>(n, failing_from - position));
    return real_read_file(h, buffer, allowed, got, overlapped);
}

// The program's import slot of a function of a system library.
void** import_slot(const char* library, const char* function) {
    auto* base = reinterpret_cast<unsigned char*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); entry->Name;
         ++entry) {
        if (_stricmp(reinterpret_cast<const char*>(base + entry->Name), library) != 0) continue;
        auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* named = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(named->Name), function) == 0)
                return reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    return nullptr;
}

void put_slot(void** slot, void* value) {
    DWORD was;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &was);
    *slot = value;
    VirtualProtect(slot, sizeof *slot, was, &was);
}

}  // namespace

FailingReads::FailingReads(const std::filesystem::path& path, std::uint64_t from) {
    HANDLE file = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("no file to fail");
    const bool known = GetFileInformationByHandle(file, &failing);
    CloseHandle(file);
    void** slot = import_slot("kernel32.dll", "ReadFile");
    if (!known || !slot) throw std::runtime_error("ReadFile cannot be diverted");
    if (!real_read_file) real_read_file = reinterpret_cast<ReadFileCall>(*slot);
    failing_from = from;
    put_slot(slot, reinterpret_cast<void*>(&read_file_failing));
    armed = true;
}

FailingReads::~FailingReads() {
    armed = false;
    put_slot(import_slot("kernel32.dll", "ReadFile"), reinterpret_cast<void*>(real_read_file));
}

#else
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

extern "C" ssize_t __real_read(int fd, void* buffer, size_t n);
extern "C" int __real_fsync(int fd);

namespace {

// The failing file, by its device and inode, and where it starts failing.
std::atomic<bool> armed{false};
dev_t failing_device = 0;
ino_t failing_inode = 0;
std::uint64_t failing_from = 0;
std::atomic<bool> flushes_fail{false};

}  // namespace

extern "C" ssize_t __wrap_read(int fd, void* buffer, size_t n) {
    struct stat about;
    off_t position;
    if (!armed || fstat(fd, &about) != 0 || about.st_dev != failing_device || about.st_ino != failing_inode ||
        (position = lseek(fd, 0, SEEK_CUR)) < 0)
        return __real_read(fd, buffer, n);
    if (static_cast<std::uint64_t>(position) >= failing_from) {
        errno = EIO;
        return -1;
    }
    return __real_read(fd, buffer, std::min<std::uint64_t>(n, failing_from - static_cast<std::uint64_t>(position)));
}

extern "C" int __wrap_fsync(int fd) {
    if (flushes_fail) {
        errno = EIO;
        return -1;
    }
    return __real_fsync(fd);
}

FailingReads::FailingReads(const std::filesystem::path& path, std::uint64_t from) {
    struct stat about;
    if (stat(path.c_str(), &about) != 0) throw std::runtime_error("no file to fail");
    failing_device = about.st_dev;
    failing_inode = about.st_ino;
    failing_from = from;
    armed = true;
}

FailingReads::~FailingReads() { armed = false; }

FailingFlushes::FailingFlushes() { flushes_fail = true; }
FailingFlushes::~FailingFlushes() { flushes_fail = false; }
#endif
