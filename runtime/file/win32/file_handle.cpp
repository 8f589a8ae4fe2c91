// File handles on CreateFileW, ReadFile, WriteFile, SetFilePointerEx and
// CloseHandle; replacing and deleting on MoveFileExW and DeleteFileW.
#include "runtime/file/file_handle.h"

#include <windows.h>

#include <algorithm>

namespace {

// Keeps the reason of a failure for file_error_text, before a later call
// overwrites the platform's own.
template <class T>
T failed(T result) {
    file_handle_keep_error(static_cast<int>(GetLastError()));
    return result;
}

HANDLE native(FileHandle handle) { return reinterpret_cast<HANDLE>(handle); }

const wchar_t* wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

DWORD creation_of(FileDisposition disposition) {
    switch (disposition) {
    case FileDisposition::create_always: return CREATE_ALWAYS;
    case FileDisposition::truncate_existing: return TRUNCATE_EXISTING;
    case FileDisposition::open_always: return OPEN_ALWAYS;
    case FileDisposition::create_private: return CREATE_NEW;
    case FileDisposition::open_existing: break;
    }
    return OPEN_EXISTING;
}

// ReadFile and WriteFile take 32-bit counts; larger transfers go in pieces.
constexpr std::size_t max_piece = 1u << 30;

}  // namespace

FileHandle file_handle_open(const char16_t* path, int access, int share, FileDisposition disposition) {
    if (!path) {
        file_handle_keep_error(ERROR_INVALID_PARAMETER);
        return 0;
    }
    DWORD desired = 0;
    if (access & FILE_ACCESS_READ) desired |= GENERIC_READ;
    if (access & FILE_ACCESS_WRITE) desired |= GENERIC_WRITE;
    DWORD share_mode = 0;
    if (share & FILE_SHARE_READ_ACCESS) share_mode |= FILE_SHARE_READ;
    if (share & FILE_SHARE_WRITE_ACCESS) share_mode |= FILE_SHARE_WRITE;
    // The truncating retry passes no attributes: with FILE_ATTRIBUTE_NORMAL
    // Windows refuses to replace a hidden or system file, which is the case
    // the retry is for.
    DWORD attributes =
        disposition == FileDisposition::truncate_existing ? 0 : FILE_ATTRIBUTE_NORMAL;
    HANDLE h = CreateFileW(wide(path), desired, share_mode, nullptr, creation_of(disposition),
                           attributes, nullptr);
    if (h == INVALID_HANDLE_VALUE || !h) return failed(FileHandle{0});
    // A device (NUL, CON, COM1) or a pipe opens too; neither is a playlist,
    // and reading one may never end.
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        file_handle_keep_error(FILE_ERROR_NOT_A_FILE);
        return 0;
    }
    return reinterpret_cast<FileHandle>(h);
}

std::size_t file_handle_read(FileHandle handle, void* destination, std::size_t n, int& error) {
    auto* out = static_cast<unsigned char*>(destination);
    std::size_t total = 0;
    error = 0;
    while (total < n) {
        DWORD piece = static_cast<DWORD>(std::min(n - total, max_piece));
        DWORD got = 0;
        if (!ReadFile(native(handle), out + total, piece, &got, nullptr)) {
            error = static_cast<int>(GetLastError());
            return failed(total);
        }
        if (got == 0) break;
        total += got;
    }
    return total;
}

std::size_t file_handle_write(FileHandle handle, const void* source, std::size_t n) {
    auto* in = static_cast<const unsigned char*>(source);
    std::size_t total = 0;
    while (total < n) {
        DWORD piece = static_cast<DWORD>(std::min(n - total, max_piece));
        DWORD put = 0;
        if (!WriteFile(native(handle), in + total, piece, &put, nullptr)) return failed(total);
        if (put == 0) {
            file_handle_keep_error(ERROR_WRITE_FAULT);
            break;
        }
        total += put;
    }
    return total;
}

bool file_handle_seek(FileHandle handle, std::int64_t offset, FileOrigin origin) {
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    DWORD method = origin == FileOrigin::end ? FILE_END : FILE_CURRENT;
    return SetFilePointerEx(native(handle), distance, nullptr, method) || failed(false);
}

bool file_handle_sync(FileHandle handle) { return FlushFileBuffers(native(handle)) || failed(false); }

bool file_handle_close(FileHandle handle) { return CloseHandle(native(handle)) || failed(false); }

// Windows has no symbolic links that a save would turn into files, and a
// file's attributes go with it through file_handle_replace. But names ignore
// case, and a file replaced under a name typed in another case would take on
// that spelling: the save goes to the name the file is stored under.
std::u16string file_handle_save_target(const char16_t* path) {
    std::u16string target = path ? path : u"";
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(wide(target.c_str()), &found);
    if (search == INVALID_HANDLE_VALUE) return target;
    FindClose(search);
    const std::size_t start = target.find_last_of(u"\\/:") + 1;
    const std::u16string stored(reinterpret_cast<const char16_t*>(found.cFileName));
    // A short (8.3) name or a pattern character finds a file of another name.
    if (lstrcmpiW(wide(stored.c_str()), wide(target.c_str() + start)) == 0)
        target.replace(start, std::u16string::npos, stored);
    return target;
}

bool file_handle_may_replace(const char16_t* target) {
    DWORD attributes = GetFileAttributesW(wide(target));
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || failed(false);
    }
    // What the move would answer, before a new file is made for nothing.
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
        file_handle_keep_error(ERROR_ACCESS_DENIED);
        return false;
    }
    return true;
}

bool file_handle_take_attributes(FileHandle, const char16_t*) { return true; }

bool file_handle_replace(const char16_t* from, const char16_t* to) {
    if (!from || !to) return false;
    // The file there keeps its attributes (hidden, archive...), which the
    // move would take from the new file. ReplaceFileW would keep them too, but
    // where it fails it can leave a backup file of its own behind.
    DWORD attributes = GetFileAttributesW(wide(to));
    if (!MoveFileExW(wide(from), wide(to), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return failed(false);
    if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(wide(to), attributes);
    return true;
}

bool file_handle_delete(const char16_t* path) {
    if (!path) return false;
    return DeleteFileW(wide(path)) || failed(false);
}

std::size_t file_handle_describe(int code, char16_t* out, std::size_t room) {
    if (room == 0) return 0;
    // MAX_WIDTH_MASK: one line, without the line end the message table adds.
    DWORD length = FormatMessageW(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(out),
        static_cast<DWORD>(std::min<std::size_t>(room, 0xFFFF)), nullptr);
    while (length > 0 && (out[length - 1] == u' ' || out[length - 1] == u'\r' || out[length - 1] == u'\n'))
        --length;
    return length;
}
