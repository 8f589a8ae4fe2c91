// The file table: opening and creating numbered files, closing them.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <new>
#include <optional>

#include "runtime/file/file.h"
#include "runtime/file/file_record.h"

namespace {

std::optional<ObjectTable<FileRecord>> files;

// Every operation of the family holds this lock (but file_eof answering from
// a note, see file_record.h), and the table changes only under it. A plain
// mutex: it is taken for every line, and the table's own recursive lock
// costs about twice as much.
std::mutex family;

std::unique_lock<std::mutex> lock_family() {
    std::unique_lock guard(family);
    file_operations.store(file_operations.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
    return guard;
}

// The record found last, so that the calls of a run of lines on one file skip
// the table's search. Forgotten whenever a file starts or finishes.
ObjectNumber last_number = 0;
FileRecord* last_record = nullptr;

void forget_last() { last_record = nullptr; }

// A replacing file's last step: the new file takes the target's place when
// everything before went well, and is deleted otherwise, keeping the reason.
bool settle_replacement(const FileReplacement& replacement, bool commit) {
    if (commit && file_handle_replace(replacement.temporary.c_str(), replacement.target.c_str())) return true;
    int reason = file_handle_last_error();
    file_handle_delete(replacement.temporary.c_str());
    file_handle_keep_error(reason);
    return false;
}

// Flushes, frees and closes the live record of a number, with the family
// locked. 1 when everything reached the file and every read succeeded; a
// replacing file then replaces its target, if commit says so.
int finish_locked(ObjectNumber number, bool commit) {
    FileRecord* f = files->find(number);
    if (!f) return 0;
    forget_last();
    bool clean = f->lost == 0;
    if (f->buffer) {
        if (!file_flush(*f)) clean = false;
        delete[] f->buffer;
    }
    if (f->replacement && clean && commit && !file_handle_sync(f->handle)) clean = false;
    if (!file_handle_close(f->handle)) clean = false;
    if (f->read_error != 0) {
        file_handle_keep_error(f->read_error);
        clean = false;
    }
    if (f->replacement) {
        if (!settle_replacement(*f->replacement, clean && commit)) clean = false;
        delete f->replacement;
    }
    files->release(number);
    return clean ? 1 : 0;
}

// The table's release callback: a replacing file closed without file_finish
// leaves its target as it was.
void release_locked(ObjectNumber number) { finish_locked(number, false); }

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

// A new private file beside the target, with the target's attributes; its
// path goes into replacement. 0 when this user may not replace the target.
FileHandle open_replacing(const char16_t* path, FileReplacement& replacement) {
    replacement.target = file_handle_save_target(path);
    if (replacement.target.empty() || !file_handle_may_replace(replacement.target.c_str())) return 0;
    FileHandle handle = 0;
    // Another file of that name is never touched: a new name is tried instead.
    for (int attempt = 0; attempt < 64 && !handle; ++attempt) {
        replacement.temporary = file_temporary_name(replacement.target);
        handle = file_handle_open(replacement.temporary.c_str(), FILE_ACCESS_READ | FILE_ACCESS_WRITE, 0,
                                  FileDisposition::create_private);
    }
    if (handle && !file_handle_take_attributes(handle, replacement.target.c_str())) {
        int reason = file_handle_last_error();
        file_handle_close(handle);
        file_handle_delete(replacement.temporary.c_str());
        file_handle_keep_error(reason);
        return 0;
    }
    return handle;
}

std::intptr_t start_file(ObjectNumber number, const char16_t* path, const Opening& how, bool replacing = false) {
    auto guard = lock_family();
    if (!files) return 0;
    forget_last();
    FileRecord* f = files->acquire(number);  // closes a file still open under that number
    if (!f) return 0;
    FileReplacement* replacement = replacing ? new FileReplacement : nullptr;
    FileHandle handle = replacing ? open_replacing(path, *replacement) : open_handle(path, how);
    unsigned char* buffer = nullptr;
    if (handle && how.buffered) buffer = new (std::nothrow) unsigned char[FILE_BUFFER_SIZE];
    bool ready = handle && (buffer || !how.buffered) &&
                 (!how.at_end || file_handle_seek(handle, 0, FileOrigin::end));
    if (!ready) {
        delete[] buffer;
        if (handle) file_handle_close(handle);
        if (handle && replacing) file_handle_delete(replacement->temporary.c_str());
        delete replacement;
        // A dynamic entry goes; a numbered slot stays, empty.
        if (number == DYNAMIC_ID) files->release(files->number_of(f));
        return 0;
    }
    *f = FileRecord{handle, buffer, buffer ? FILE_BUFFER_SIZE : 0, 0, 0, 1, 0, 0, FILE_TEXT_UTF8, replacement};
    return number == DYNAMIC_ID ? files->number_of(f) : handle;
}

}  // namespace

FileLookup file_lookup(ObjectNumber number) {
    FileLookup lookup{lock_family(), nullptr};
    if (!files) return lookup;
    if (!last_record || number != last_number) {
        last_record = files->find(number);
        last_number = number;
    }
    lookup.record = last_record;
    return lookup;
}

bool file_init() {
    auto guard = lock_family();
    if (!files) files.emplace(16, release_locked);
    return true;
}

void file_close_all() {
    file_close(-1);
    auto guard = lock_family();
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
    default:
        return 0;  // an unknown mode leaves the number as it was
    }
    return start_file(number, path, how);
}

std::intptr_t file_create_replacing(ObjectNumber number, const char16_t* path) {
    Opening how{FILE_ACCESS_READ | FILE_ACCESS_WRITE, 0, FileDisposition::create_private, false, true, false};
    return start_file(number, path && *path ? path : nullptr, how, true);
}

void file_close(ObjectNumber number) {
    if (number != -1) {
        auto guard = lock_family();
        if (files) finish_locked(number, false);
        return;
    }
    auto guard = lock_family();
    // The table closes numbered files in increasing order, then dynamic ones
    // in order of creation.
    if (files) files->release_all();
}

int file_finish(ObjectNumber number) {
    auto guard = lock_family();
    return files ? finish_locked(number, true) : 0;
}
