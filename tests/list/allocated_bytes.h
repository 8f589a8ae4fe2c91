// Bytes the process holds in its heaps right now. Texts live in the text
// heap, whose blocks stay reachable until the heap is destroyed, so a text
// that is never freed escapes leak checkers; comparing this count before and
// after an operation shows whether it released its texts.
#pragma once

#include <cstdint>

std::int64_t allocated_bytes();
