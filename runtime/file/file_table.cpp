// The file table: opening and creating numbered files, closing them.
#include <new>
#include <optional>

#include "runtime/file/file.h"
#include "runtime/file/file_record.h"

namespace {

std::optional<ObjectTable<FileRecord>> files;

struct Opening {
    int access;
    int share;
    FileDisposition disposition;
    bool retry_truncating;  // the fallback of create: write access to an existing file
    bool buffered;
    bool at_end;
};

FileHandle open_handle(const char16_t* path, const Opening& how) {
    FileHandle handle = file_handle_open(path, how.access, how.share, how.disposition);
    if (!handle && how.retry_truncating)
        handle = file_handle_open(path, FILE_ACCESS_WRITE, how.share, FileDisposition::truncate_existing);
    return handle;
}

std::intptr_t start_file(ObjectNumber number, const char16_t* path, const Opening& how) {
    if (!files) return 0;
    std::lock_guard guard(files->lock());
    FileRecord* f = files->acquire(number);  // closes a file still open under that number
    if (!f) return 0;
    FileHandle handle = open_handle(path, how);
    unsigned char* buffer = nullptr;
    if (handle && how.buffered) buffer = new (std::nothrow) unsigned char[FILE_BUFFER_SIZE];
    bool ready = handle && (buffer || !how.buffered) &&
                 (!how.at_end || file_handle_seek(handle, 0, FileOrigin::end));
    if (!ready) {
        delete[] buffer;
        if (handle) file_handle_close(handle);
        // A dynamic entry goes; a numbered slot stays, empty.
        if (number == DYNAMIC_ID) files->release(files->number_of(f));
        return 0;
    }
    *f = FileRecord{handle, buffer, buffer ? FILE_BUFFER_SIZE : 0, 0, 0, 1, 0};
    return number == DYNAMIC_ID ? files->number_of(f) : handle;
}

}  // namespace

FileLookup file_lookup(ObjectNumber number) {
    if (!files) return {};
    FileLookup lookup{std::unique_lock(files->lock()), nullptr};
    lookup.record = files->find_locked(number);
    return lookup;
}

bool file_init() {
    if (!files) files.emplace(16, file_close);
    return true;
}

void file_close_all() {
    if (!files) return;
    file_close(-1);
    files.reset();
}

std::intptr_t file_create(ObjectNumber number, const char16_t* path) {
    Opening how{FILE_ACCESS_READ | FILE_ACCESS_WRITE, FILE_SHARE_READ_ACCESS,
                FileDisposition::create_always, true, true, false};
    return start_file(number, path, how);
}

std::intptr_t file_open(ObjectNumber number, const char16_t* path) {
    Opening how{FILE_ACCESS_READ | FILE_ACCESS_WRITE, FILE_SHARE_READ_ACCESS,
                FileDisposition::open_always, false, true, false};
    return start_file(number, path, how);
}

std::intptr_t file_open_mode(ObjectNumber number, const char16_t* path, int mode, int flags) {
    Opening how{FILE_ACCESS_READ | FILE_ACCESS_WRITE, 0, FileDisposition::open_always, false,
                (flags & FILE_UNBUFFERED) == 0, false};
    if (flags & FILE_SHARE_READING) how.share |= FILE_SHARE_READ_ACCESS;
    if (flags & FILE_SHARE_WRITING) how.share |= FILE_SHARE_WRITE_ACCESS;
    switch (mode) {
    case FILE_MODE_READ:
        how.access = FILE_ACCESS_READ;
        how.disposition = FileDisposition::open_existing;
        break;
    case FILE_MODE_OPEN:
        how.at_end = (flags & FILE_AT_END) != 0;
        break;
    case FILE_MODE_CREATE:
        how.disposition = FileDisposition::create_always;
        how.retry_truncating = true;
        break;
    case FILE_MODE_CREATE_NEW:
        how.disposition = FileDisposition::create_new;
        break;
    default:
        return 0;  // an unknown mode leaves the number as it was
    }
    return start_file(number, path, how);
}

void file_close(ObjectNumber number) {
    if (!files) return;
    // The table closes numbered files in increasing order, then dynamic ones
    // in order of creation.
    if (number == -1) files->release_all();
    else file_finish(number);
}

int file_finish(ObjectNumber number) {
    if (!files) return 0;
    std::lock_guard guard(files->lock());
    FileRecord* f = files->find_locked(number);
    if (!f) return 0;
    bool clean = f->lost == 0;
    if (f->buffer) {
        if (!file_flush(*f)) clean = false;
        delete[] f->buffer;
    }
    if (!file_handle_close(f->handle)) clean = false;
    files->release(number);
    return clean ? 1 : 0;
}
