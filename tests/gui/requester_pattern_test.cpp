// The file requesters' pattern list and default-file rules.
#include "runtime/gui/requester_pattern.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

// The entries of a list of null-terminated texts that ends in an empty one,
// and the number of characters up to and including that final terminator.
struct Entries {
    std::vector<std::u16string> texts;
    size_t used = 0;
};

Entries entries_of(const char16_t* list) {
    Entries result;
    const char16_t* entry = list;
    while (*entry) {
        result.texts.emplace_back(entry);
        entry += result.texts.back().size() + 1;
    }
    result.used = static_cast<size_t>(entry - list) + 1;
    return result;
}

using Texts = std::vector<std::u16string>;

TEST(RequesterFilterList, SplitsAtEveryBarWithoutTrimming) {
    const auto list = requester_filter_list(u"Playlist (*.m3u) | *.m3u");
    ASSERT_TRUE(list);
    EXPECT_EQ(entries_of(list.get()).texts, (Texts{u"Playlist (*.m3u) ", u" *.m3u"}));

    const auto pairs = requester_filter_list(u"Playlist (*.m3u)|*.m3u|All files (*.*)|*.*");
    ASSERT_TRUE(pairs);
    EXPECT_EQ(entries_of(pairs.get()).texts,
              (Texts{u"Playlist (*.m3u)", u"*.m3u", u"All files (*.*)", u"*.*"}));
}

TEST(RequesterFilterList, EndsInTwoTerminators) {
    const std::u16string pattern = u"Text|*.txt";
    const auto list = requester_filter_list(pattern.c_str());
    ASSERT_TRUE(list);
    // The block is the text, its terminator and two more; all three are null.
    for (size_t i = pattern.size(); i < pattern.size() + 3; ++i) EXPECT_EQ(list[i], 0) << i;
    EXPECT_EQ(entries_of(list.get()).used, pattern.size() + 2);
}

TEST(RequesterFilterList, TextWithoutBarIsOneDescription) {
    const auto list = requester_filter_list(u"Playlists");
    ASSERT_TRUE(list);
    EXPECT_EQ(entries_of(list.get()).texts, (Texts{u"Playlists"}));
}

TEST(RequesterFilterList, TrailingBarStillEndsTheList) {
    const auto list = requester_filter_list(u"Any|");
    ASSERT_TRUE(list);
    EXPECT_EQ(entries_of(list.get()).texts, (Texts{u"Any"}));
    EXPECT_EQ(list[4], 0);
    EXPECT_EQ(list[5], 0);
}

TEST(RequesterFilterList, AbsentOrEmptyPatternGivesEmptyList) {
    for (const char16_t* pattern : {static_cast<const char16_t*>(nullptr), u""}) {
        const auto list = requester_filter_list(pattern);
        ASSERT_TRUE(list);
        EXPECT_TRUE(entries_of(list.get()).texts.empty());
        EXPECT_EQ(list[1], 0);
        EXPECT_EQ(list[2], 0);
    }
}

struct Split {
    std::u16string folder;
    bool has_folder;
    std::u16string name;
};

Split split(const char16_t* default_file) {
    char16_t name[REQUESTER_PATH_CHARS];
    for (char16_t& c : name) c = u'#';  // anything not written stays visible
    const RequesterDefault start = requester_default_split(default_file, name);
    EXPECT_TRUE(start.ok);
    return {start.folder ? std::u16string(start.folder.get()) : u"", start.folder != nullptr, name};
}

struct SplitCase {
    const char16_t* default_file;
    Split split;
};

void PrintTo(const SplitCase& c, std::ostream* out) {
    const std::u16string file = c.default_file ? c.default_file : u"(none)";
    *out << std::string(file.begin(), file.end());
}

class RequesterDefaultSplit : public testing::TestWithParam<SplitCase> {};

// The folder and name at the last backslash; a name that no file could have
// is dropped and its folder kept.
TEST_P(RequesterDefaultSplit, GivesTheFolderAndTheUsableName) {
    const Split got = split(GetParam().default_file);
    EXPECT_EQ(got.has_folder, GetParam().split.has_folder);
    EXPECT_EQ(got.folder, GetParam().split.folder);
    EXPECT_EQ(got.name, GetParam().split.name);
}

const std::u16string LONG_NAME(300, u'a');
const std::u16string LONG_IN_FOLDER = u"C:\\Music\\" + LONG_NAME;
const std::u16string LONG_CUT = LONG_NAME.substr(0, REQUESTER_PATH_CHARS - 1);

INSTANTIATE_TEST_SUITE_P(
    Files, RequesterDefaultSplit,
    testing::Values(SplitCase{u"C:\\Music\\list.m3u", {u"C:\\Music", true, u"list.m3u"}},
                    SplitCase{u"E:\\Player\\Lists\\road trip.m3u", {u"E:\\Player\\Lists", true, u"road trip.m3u"}},
                    SplitCase{u"Playlist.m3u", {u"", false, u"Playlist.m3u"}},
                    // A leading backslash only: taken whole as the name, then dropped.
                    SplitCase{u"\\list.m3u", {u"", false, u""}},
                    SplitCase{u"*.m3u", {u"", false, u""}}, SplitCase{u"a?b", {u"", false, u""}},
                    SplitCase{u"list<1>.m3u", {u"", false, u""}}, SplitCase{u"x|y", {u"", false, u""}},
                    SplitCase{u"say \"hi\"", {u"", false, u""}}, SplitCase{u"C:list.m3u", {u"", false, u""}},
                    SplitCase{u"a/b.m3u", {u"", false, u""}}, SplitCase{u"tab\there", {u"", false, u""}},
                    SplitCase{u"C:\\Music\\*.m3u", {u"C:\\Music", true, u""}},
                    SplitCase{u"C:\\Music\\", {u"C:\\Music", true, u""}},
                    // "E:" alone would mean the drive's current folder, not its root.
                    SplitCase{u"E:\\Playlist.m3u", {u"E:\\", true, u"Playlist.m3u"}},
                    // Long names are cut to the buffer.
                    SplitCase{LONG_NAME.c_str(), {u"", false, LONG_CUT}},
                    SplitCase{LONG_IN_FOLDER.c_str(), {u"C:\\Music", true, LONG_CUT}},
                    SplitCase{nullptr, {u"", false, u""}}, SplitCase{u"", {u"", false, u""}}));

}  // namespace
