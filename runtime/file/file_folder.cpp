// A folder's listing: a listing is all of the folder or nothing.
#include "runtime/file/file_folder.h"

#include "runtime/file/file_handle.h"

int file_list_folder(const char16_t* folder, std::vector<FileFolderEntry>& entries) {
    entries.clear();
    const int error = file_folder_read(folder ? folder : u"", entries);
    if (error == 0) return 1;
    entries.clear();
    file_handle_keep_error(error);
    return 0;
}
