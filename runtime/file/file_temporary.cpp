// Names for the new file a save writes beside the file it replaces.
#include <chrono>
#include <cstdint>

#include "runtime/file/file_record.h"

namespace {

// xorshift64*, seeded once from the clock and an address, so that two
// programs saving beside each other soon try different names.
std::uint64_t next_random() {
    static std::uint64_t state = 0;
    if (state == 0) {
        state = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                reinterpret_cast<std::uintptr_t>(&state) ^ 0x9E3779B97F4A7C15u;
        if (state == 0) state = 1;
    }
    state ^= state >> 12;
    state ^= state << 25;
    state ^= state >> 27;
    return state * 0x2545F4914F6CDD1Du;
}

bool is_separator(char16_t c) { return c == u'/' || c == u'\\'; }

}  // namespace

std::u16string file_temporary_name(std::u16string_view target) {
    std::size_t name = target.size();
    while (name > 0 && !is_separator(target[name - 1])) --name;
    std::u16string temporary(target.substr(0, name));
    const std::size_t length = target.size() - name > 1 ? target.size() - name : 1;
    // "~" marks it as a file of the moment, where the name has room for it.
    if (length > 1) temporary += u'~';
    constexpr char16_t digits[] = u"0123456789abcdefghijklmnopqrstuvwxyz";
    while (temporary.size() < name + length) temporary += digits[next_random() % 36];
    return temporary;
}
