#include <gtest/gtest.h>

#include "runtime/text/text.h"

namespace {
class TextEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(text_init()); }
    void TearDown() override { text_end(); }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new TextEnvironment);
}  // namespace
