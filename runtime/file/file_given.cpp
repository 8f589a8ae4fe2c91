// The files the program was given when it started.
#include "runtime/file/file_given.h"

#include "runtime/file/file.h"
#include "runtime/text/text.h"

int file_given_count() { return static_cast<int>(file_given_paths().size()); }

char16_t* file_given_path(int index, int position) {
    const std::vector<std::u16string> given = file_given_paths();
    const std::u16string path = index >= 0 && index < static_cast<int>(given.size()) ? given[index] : u"";
    char16_t* out = text_builder_reserve(static_cast<int>(path.size()), position);
    path.copy(out, path.size());
    out[path.size()] = 0;
    return out;
}
