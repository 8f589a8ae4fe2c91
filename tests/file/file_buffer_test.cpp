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
    std::string bytes = pattern(20000);
    put("data.bin", bytes);
    ASSERT_NE(file_open(0, path("data.bin").c_str()), 0);
    FileLookup file = file_lookup(0);
    ASSERT_NE(file.record, nullptr);
    std::string got(20000, '\0');
    EXPECT_EQ(file_read_bytes(*file.record, got.data(), 3), 3u);                 // refills 4096
    EXPECT_EQ(file_read_bytes(*file.record, got.data() + 3, 9000), 9000u);       // 4093 + 4907 direct
    EXPECT_EQ(file.record->count, 0);
    EXPECT_EQ(file_read_bytes(*file.record, got.data() + 9003, 100), 100u);      // refills again
    EXPECT_EQ(file.record->filled, 4096);
    EXPECT_EQ(file_read_bytes(*file.record, got.data() + 9103, 20000), 10897u);  // to the end
    EXPECT_EQ(got, bytes);
    EXPECT_EQ(file_read_bytes(*file.record, got.data(), 1), 0u);
}

TEST_F(FileBuffer, WritesOfEverySizeKeepTheirOrder) {
    ASSERT_NE(file_create(0, path("out.bin").c_str()), 0);
    std::string bytes = pattern(30000);
    std::size_t sizes[] = {1, 4095, 1, 4096, 4094, 2, 8000, 3, 4097};
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
