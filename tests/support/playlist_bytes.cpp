#include "tests/support/playlist_bytes.h"

std::string saved_playlist_bytes(const std::vector<std::string>& utf8_rows) {
    std::string bytes;
    bool beyond_ascii = false;
    for (const std::string& row : utf8_rows) {
        for (unsigned char c : row) beyond_ascii = beyond_ascii || c > 0x7F;
        bytes += row + "\r\n";
    }
    return beyond_ascii ? "\xEF\xBB\xBF" + bytes : bytes;
}
