#include "runtime/gui/requester_pattern.h"

#include <algorithm>
#include <new>

#include "runtime/file/file.h"

namespace {

int length_of(const char16_t* text) {
    int length = 0;
    if (text)
        while (text[length]) ++length;
    return length;
}

// A zero-filled copy of count characters with room for extra terminators.
std::unique_ptr<char16_t[]> copy_of(const char16_t* text, int count, int terminators) {
    std::unique_ptr<char16_t[]> copy(new (std::nothrow) char16_t[count + terminators]());
    if (copy) std::copy(text, text + count, copy.get());
    return copy;
}

}  // namespace

std::unique_ptr<char16_t[]> requester_filter_list(const char16_t* pattern) {
    const int length = length_of(pattern);
    // The text's own terminator ends the last entry; two more end the list
    // even when the text ends in "|".
    std::unique_ptr<char16_t[]> list = copy_of(pattern, length, 3);
    if (list) std::replace(list.get(), list.get() + length, u'|', u'\0');
    return list;
}

RequesterDefault requester_default_split(const char16_t* default_file, char16_t* name) {
    RequesterDefault result;
    name[0] = 0;
    if (!default_file) return result;

    const int length = length_of(default_file);
    int cut = length - 1;
    while (cut >= 0 && default_file[cut] != u'\\') --cut;

    const char16_t* name_start = default_file;
    if (cut > 0) {
        // A bare drive ("C:") names the drive's current folder, not its root;
        // keeping the "\" opens the dialog where the default file lies.
        const bool bare_drive = cut == 2 && default_file[1] == u':';
        const int folder_length = bare_drive ? cut + 1 : cut;
        result.folder = copy_of(default_file, folder_length, 1);
        if (!result.folder) {
            result.ok = false;
            return result;
        }
        name_start = default_file + cut + 1;
    }
    const int name_length = std::min<int>(length_of(name_start), REQUESTER_PATH_CHARS - 1);
    std::copy(name_start, name_start + name_length, name);
    name[name_length] = 0;
    if (!file_name_valid(name)) name[0] = 0;
    return result;
}
