// The check of dropped file lists. Every block is copied into memory of
// exactly its size, so that a read past its end is caught (AddressSanitizer
// natively, a fault under Wine for the blocks at the end of a page).
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "runtime/gui/drop_file_list.h"
#include "tests/support/drop_blocks.h"

namespace {

class ExactBlock {
public:
    explicit ExactBlock(const Bytes& bytes) : size_(bytes.size()), data_(new unsigned char[bytes.size()]) {
        if (size_) std::memcpy(data_.get(), bytes.data(), size_);
    }
    const void* data() const { return data_.get(); }
    std::size_t size() const { return size_; }

private:
    std::size_t size_;
    std::unique_ptr<unsigned char[]> data_;
};

bool check(const Bytes& bytes, DropFileList* list) {
    ExactBlock block(bytes);
    return drop_file_list_check(block.data(), block.size(), list);
}

bool is_zero(const DropFileList& list) {
    return !list.wide && list.first == 0 && list.count == 0 && list.characters == 0;
}

// The names as the check sees them, by stepping through the list.
std::vector<std::u16string> names_of(const Bytes& bytes) {
    ExactBlock block(bytes);
    DropFileList list{};
    std::vector<std::u16string> names;
    if (!drop_file_list_check(block.data(), block.size(), &list)) return names;
    const auto* raw = static_cast<const unsigned char*>(block.data());
    std::size_t at = list.first;
    for (std::size_t i = 0; i < list.count; ++i) {
        const std::size_t start = at;
        const std::size_t length = drop_file_list_next(block.data(), block.size(), list, &at);
        std::u16string name;
        for (std::size_t c = 0; c < length; ++c) {
            name += list.wide ? static_cast<char16_t>(raw[start + 2 * c] | raw[start + 2 * c + 1] << 8)
                              : static_cast<char16_t>(raw[start + c]);
        }
        names.push_back(name);
    }
    return names;
}

TEST(DropFileListTest, ReadsWideAndNarrowNames) {
    const std::vector<std::u16string> wide{u"C:\\Music\\a.mp3", u"E:\\Ogg\\\u00e9t\u00e9 \u4e2d.ogg", u"x"};
    DropFileList list{};
    ASSERT_TRUE(check(wide_file_list(wide), &list));
    EXPECT_TRUE(list.wide);
    EXPECT_EQ(list.first, 20u);
    EXPECT_EQ(list.count, 3u);
    EXPECT_EQ(list.characters, wide[0].size() + wide[1].size() + wide[2].size());
    EXPECT_EQ(names_of(wide_file_list(wide)), wide);

    ASSERT_TRUE(check(narrow_file_list({"C:\\one.mp3", "D:\\two.wav"}), &list));
    EXPECT_FALSE(list.wide);
    EXPECT_EQ(list.count, 2u);
    EXPECT_EQ(list.characters, 20u);
    EXPECT_EQ(names_of(narrow_file_list({"C:\\one.mp3", "D:\\two.wav"})),
              (std::vector<std::u16string>{u"C:\\one.mp3", u"D:\\two.wav"}));
}

TEST(DropFileListTest, NamesMayStartAfterPaddingAndAnyNonZeroWideFlagMeansWide) {
    Bytes bytes = drop_header(28, false);
    put_u32(bytes, 16, 0xFF00);
    bytes.resize(28, 0xEE);  // padding the check must not look at
    put_wide(bytes, std::u16string(u"a\0bc\0\0", 6));
    DropFileList list{};
    ASSERT_TRUE(check(bytes, &list));
    EXPECT_TRUE(list.wide);
    EXPECT_EQ(list.first, 28u);
    EXPECT_EQ(names_of(bytes), (std::vector<std::u16string>{u"a", u"bc"}));
}

TEST(DropFileListTest, AnEmptyListIsValidWithNoNames) {
    DropFileList list{};
    ASSERT_TRUE(check(wide_file_list({}), &list));
    EXPECT_EQ(list.count, 0u);
    EXPECT_EQ(list.characters, 0u);
}

TEST(DropFileListTest, RefusesEveryBrokenListAndTellsNothingOfIt) {
    DropFileList list{};
    EXPECT_FALSE(drop_file_list_check(nullptr, 100, &list));
    EXPECT_FALSE(check(Bytes{}, &list));
    for (const BrokenBlock& broken : broken_file_lists()) {
        EXPECT_FALSE(check(broken.bytes, &list)) << broken.what;
        EXPECT_TRUE(is_zero(list)) << broken.what;
    }
}

TEST(DropFileListTest, RefusesNamesWithControlCharacters) {
    // No file is named so, and a line end would split the name where names
    // go joined by line feeds.
    DropFileList list{};
    for (const char16_t* name : {u"C:\\a\nb.mp3", u"C:\\a\rb.mp3", u"C:\\a\x01.mp3", u"C:\\a\x7F.mp3"}) {
        EXPECT_FALSE(check(wide_file_list({u"C:\\ok.mp3", name}), &list));
        EXPECT_TRUE(is_zero(list));
    }
    Bytes narrow = drop_header(20, false);
    for (const char c : std::string("C:\\a\nb.mp3\0\0", 12)) narrow.push_back(static_cast<unsigned char>(c));
    EXPECT_FALSE(check(narrow, &list));
    EXPECT_TRUE(check(wide_file_list({u"C:\\M\u00FCsik\\a b.mp3"}), &list));
}

TEST(DropFileListTest, EveryShortenedCopyOfAValidListIsRefused) {
    for (const Bytes& valid : {wide_file_list({u"C:\\a.mp3", u"D:\\bb.ogg"}), narrow_file_list({"C:\\a", "D:\\b"})}) {
        DropFileList list{};
        ASSERT_TRUE(check(valid, &list));
        for (std::size_t size = 0; size < valid.size(); ++size) {
            Bytes shortened(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(size));
            EXPECT_FALSE(check(shortened, &list)) << size << " of " << valid.size();
        }
    }
}

TEST(DropFileListTest, SteppingStopsAtTheEndOfTheBlock) {
    const Bytes bytes = wide_file_list({u"ab", u"c"});
    ExactBlock block(bytes);
    DropFileList list{};
    ASSERT_TRUE(drop_file_list_check(block.data(), block.size(), &list));
    std::size_t at = list.first;
    EXPECT_EQ(drop_file_list_next(block.data(), block.size(), list, &at), 2u);
    EXPECT_EQ(drop_file_list_next(block.data(), block.size(), list, &at), 1u);
    EXPECT_EQ(at, block.size() - 2);  // at the closing null
    EXPECT_EQ(drop_file_list_next(block.data(), block.size(), list, &at), 0u);
    at = block.size();
    EXPECT_EQ(drop_file_list_next(block.data(), block.size(), list, &at), 0u);
    EXPECT_EQ(at, block.size());
}

}  // namespace
