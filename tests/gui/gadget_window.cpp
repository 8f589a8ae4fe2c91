#include "tests/gui/gadget_window.h"

#include "runtime/gui/window.h"
#include "runtime/text/text.h"

namespace {

class GadgetEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ASSERT_TRUE(text_init());
        ASSERT_TRUE(event_init());
        ASSERT_TRUE(window_init());
        ASSERT_TRUE(gadget_init());
    }
    void TearDown() override {
        gadget_end();
        window_end();
        event_end();
        text_end();
    }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new GadgetEnvironment);

}  // namespace
