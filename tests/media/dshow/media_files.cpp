// Where the media tests find their files under Windows: MEDIA_TEST_DIR as a
// Wine path. The runtime's texts are started for the whole run.
#include "tests/media/media_files.h"

#include <gtest/gtest.h>

#include "runtime/text/text.h"
#include "tests/support/wine_path.h"

namespace {

class MediaEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(text_init()); }
    void TearDown() override { text_end(); }
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new MediaEnvironment);

}  // namespace

std::u16string media_test_folder() {
    std::wstring folder = wine_folder_from("MEDIA_TEST_DIR");
    return {folder.begin(), folder.end()};
}

std::u16string media_file(const char16_t* name) { return media_test_folder() + u"\\" + name; }
