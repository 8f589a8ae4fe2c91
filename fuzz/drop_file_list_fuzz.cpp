// Dropped file lists from other programs: the check must never read outside
// the block, and a list it passes must step through exactly as counted.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "runtime/gui/drop_file_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly the input's size, so that any read past it is caught.
    std::unique_ptr<unsigned char[]> block(new unsigned char[size ? size : 1]);
    if (size) std::memcpy(block.get(), data, size);
    DropFileList list{};
    if (!drop_file_list_check(block.get(), size, &list)) return 0;
    std::size_t at = list.first;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < list.count; ++i) {
        const std::size_t length = drop_file_list_next(block.get(), size, list, &at);
        if (length == 0 || at > size) std::abort();
        characters += length;
    }
    // Only the closing null is left, inside the block.
    if (characters != list.characters || drop_file_list_next(block.get(), size, list, &at) != 0 || at > size)
        std::abort();
    return 0;
}
