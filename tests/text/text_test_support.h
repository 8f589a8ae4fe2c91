// Shared by the text tests: the runtime's text service runs for the whole
// test program (see text_environment.cpp).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "runtime/text/text.h"

// Runs a text-returning operation at the current position and returns its
// result, checking that it was written at the mark and that the position
// ended behind it; the builder is rewound afterwards.
template <class Operation>
std::u16string result_of(Operation operation) {
    int mark = text_builder_mark();
    char16_t* result = operation(-1);
    std::u16string text(text_builder_address(mark));
    EXPECT_EQ(result, text_builder_address(mark));
    EXPECT_EQ(text_builder_mark(), mark + 2 * static_cast<int>(text.size()));
    text_builder_rewind(mark);
    return text;
}
