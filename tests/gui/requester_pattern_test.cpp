// The file requesters' pattern list and default-file rules.
#include "runtime/gui/requester_pattern.h"

#include <gtest/gtest.h>

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

TEST(RequesterDefaultSplit, FolderAndNameAtLastBackslash) {
    const Split music = split(u"C:\\Music\\list.m3u");
    EXPECT_TRUE(music.has_folder);
    EXPECT_EQ(music.folder, u"C:\\Music");
    EXPECT_EQ(music.name, u"list.m3u");

    const Split deep = split(u"E:\\Player\\Lists\\road trip.m3u");
    EXPECT_EQ(deep.folder, u"E:\\Player\\Lists");
    EXPECT_EQ(deep.name, u"road trip.m3u");
}

TEST(RequesterDefaultSplit, PlainNameHasNoFolder) {
    const Split plain = split(u"Playlist.m3u");
    EXPECT_FALSE(plain.has_folder);
    EXPECT_EQ(plain.name, u"Playlist.m3u");
}

TEST(RequesterDefaultSplit, LeadingBackslashOnlyIsTakenWholeThenDropped) {
    const Split leading = split(u"\\list.m3u");
    EXPECT_FALSE(leading.has_folder);
    EXPECT_EQ(leading.name, u"");
}

TEST(RequesterDefaultSplit, InvalidNamesAreDropped) {
    for (const char16_t* invalid :
         {u"*.m3u", u"a?b", u"list<1>.m3u", u"x|y", u"say \"hi\"", u"C:list.m3u", u"a/b.m3u", u"tab\there"}) {
        const Split dropped = split(invalid);
        EXPECT_EQ(dropped.name, u"") << std::string(dropped.name.begin(), dropped.name.end());
    }
    // The folder survives when only its name is unusable.
    const Split folder_kept = split(u"C:\\Music\\*.m3u");
    EXPECT_EQ(folder_kept.folder, u"C:\\Music");
    EXPECT_EQ(folder_kept.name, u"");
}

TEST(RequesterDefaultSplit, FolderPathWithoutNameGivesEmptyName) {
    const Split trailing = split(u"C:\\Music\\");
    EXPECT_EQ(trailing.folder, u"C:\\Music");
    EXPECT_EQ(trailing.name, u"");
}

TEST(RequesterDefaultSplit, DriveRootKeepsItsBackslash) {
    // "E:" alone would mean the drive's current folder, not its root.
    const Split root = split(u"E:\\Playlist.m3u");
    EXPECT_EQ(root.folder, u"E:\\");
    EXPECT_EQ(root.name, u"Playlist.m3u");
}

TEST(RequesterDefaultSplit, LongNamesAreCutToTheBuffer) {
    const std::u16string long_name(300, u'a');
    const Split whole = split(long_name.c_str());
    EXPECT_FALSE(whole.has_folder);
    EXPECT_EQ(whole.name, long_name.substr(0, REQUESTER_PATH_CHARS - 1));

    const std::u16string in_folder = u"C:\\Music\\" + long_name;
    const Split cut = split(in_folder.c_str());
    EXPECT_EQ(cut.folder, u"C:\\Music");
    EXPECT_EQ(cut.name, long_name.substr(0, REQUESTER_PATH_CHARS - 1));
}

TEST(RequesterDefaultSplit, NoDefaultGivesNothing) {
    const Split none = split(nullptr);
    EXPECT_FALSE(none.has_folder);
    EXPECT_EQ(none.name, u"");

    const Split empty = split(u"");
    EXPECT_FALSE(empty.has_folder);
    EXPECT_EQ(empty.name, u"");
}

}  // namespace
