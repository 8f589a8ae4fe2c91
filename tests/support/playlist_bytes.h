// The bytes a saved playlist holds, as the player reads them: each row in
// UTF-8 followed by CR LF, and the UTF-8 byte-order mark first when any row
// holds a character beyond ASCII.
#pragma once

#include <string>
#include <vector>

std::string saved_playlist_bytes(const std::vector<std::string>& utf8_rows);
