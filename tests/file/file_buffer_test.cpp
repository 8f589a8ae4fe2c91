// The buffered transfers under the line operations, used directly: what no
// line operation asks for (transfers of a buffer or more, mixed sizes).
#include <string>

#include "runtime/file/file.h"
#include "runtime/file/file_record.h"
#include "tests/file/file_test_support.h"

namespace {

using FileBuffer = FileTest;

std::string pattern(std::size_t n) {
    std::string bytes;
    for (std::size_t i = 0; i < n; ++i) bytes += static_cast<char>('a' + i % 26);
    return bytes;
}

TEST_F(FileBuffer, LargeReadsGoStraightAfterWhatIsBuffered) {
    constexpr std::size_t buffer = FILE_BUFFER_SIZE;
    const std::size_t total = 5 * buffer, large = 2 * buffer + 200;
    std::string bytes = pattern(total);
    put("data.bin", bytes);
    ASSERT_NE(file_open(0, path("data.bin").c_str()), 0);
    FileLookup file = file_lookup(0);
    ASSERT_NE(file.record, nullptr);
    std::string got(total, '\0');
    EXPECT_EQ(file_read_bytes(*file.record, got.data(), 3), 3u);  // refills a buffer
    // The buffer's rest, then the remainder (more than a buffer) directly.
    EXPECT_EQ(file_read_bytes(*file.record, got.data() + 3, large), large);
    EXPECT_EQ(file.record->count, 0);
    EXPECT_EQ(file_read_bytes(*file.record, got.data() + 3 + large, 100), 100u);  // refills again
    EXPECT_EQ(file.record->filled, FILE_BUFFER_SIZE);
    std::size_t done = 3 + large + 100;
    EXPECT_EQ(file_read_bytes(*file.record, got.data() + done, total), total - done);  // to the end
    EXPECT_EQ(got, bytes);
    EXPECT_EQ(file_read_bytes(*file.record, got.data(), 1), 0u);
}

TEST_F(FileBuffer, WritesOfEverySizeKeepTheirOrder) {
    constexpr std::size_t buffer = FILE_BUFFER_SIZE;
    ASSERT_NE(file_create(0, path("out.bin").c_str()), 0);
    std::string bytes = pattern(8 * buffer);
    std::size_t sizes[] = {1, buffer - 1, 1, buffer, buffer - 2, 2, 2 * buffer - 192, 3, buffer + 1};
    std::size_t at = 0;
    {
        FileLookup file = file_lookup(0);
        ASSERT_NE(file.record, nullptr);
        for (std::size_t n : sizes) {
            EXPECT_EQ(file_write_bytes(*file.record, bytes.data() + at, n), n);
            at += n;
        }
        EXPECT_TRUE(file_flush(*file.record));
    }
    EXPECT_EQ(get("out.bin"), bytes.substr(0, at));
    EXPECT_EQ(file_finish(0), 1);
}

}  // namespace
