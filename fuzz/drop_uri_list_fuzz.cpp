// Dropped URI lists from other programs: reading one must never read outside
// it, and a list it takes must give a file list block that passes the
// block's own check, with no more characters than the list has bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "runtime/gui/drop_file_list.h"
#include "runtime/gui/drop_uri_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly the input's size, so that any read past it is caught.
    std::unique_ptr<char[]> list(new char[size ? size : 1]);
    if (size) std::memcpy(list.get(), data, size);
    std::size_t block_size = 0;
    void* block = drop_uri_list_files(list.get(), size, "studio-pc", &block_size);
    if (!block) {
        if (block_size != 0) std::abort();
        return 0;
    }
    DropFileList files{};
    if (!drop_file_list_check(block, block_size, &files) || !files.wide || files.count == 0 ||
        files.characters + files.count > size)
        std::abort();
    std::free(block);
    return 0;
}
