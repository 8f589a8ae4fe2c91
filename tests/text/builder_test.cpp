// The per-thread builder: marks, growth, nesting, sources that lie in the
// builder itself, clamped arguments, threads, and the end of the text heap.
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "runtime/text/text_builder.h"
#include "runtime/text/text_value.h"
#include "tests/text/text_test_support.h"

namespace {
std::u16string repeated(const std::u16string& piece, int times) {
    std::u16string text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

// Appends text at a fresh mark and returns the mark.
int build_long_text(const std::u16string& text) {
    int mark = text_builder_mark();
    text_builder_append(text.c_str());
    return mark;
}
}  // namespace

TEST(TextBuilder, AssignsTheExpressionAndReturnsToTheMark) {
    char16_t* version = nullptr;
    int mark = text_builder_mark();
    text_builder_append(u"V 0.");
    text_from_int(5, -1);
    text_builder_append(u".");
    text_from_int(206, -1);
    text_builder_assign(&version, mark);
    EXPECT_EQ(std::u16string(version), u"V 0.5.206");
    EXPECT_EQ(text_builder_mark(), mark);

    // Reassigning reuses the variable; a null piece appends nothing.
    text_builder_append(u"Volume: ");
    text_builder_append(nullptr);
    text_from_int(75, -1);
    text_builder_assign(&version, mark);
    EXPECT_EQ(std::u16string(version), u"Volume: 75");
    text_free(&version);
    EXPECT_EQ(version, nullptr);
}

TEST(TextBuilder, PassesABuiltTextOnAndRewinds) {
    int mark = text_builder_mark();
    text_builder_append(u"Volume: ");
    text_from_int(75, -1);
    *text_builder_reserve(1, -1) = 0;  // step over the null
    const char16_t* label = text_builder_address(mark);
    EXPECT_EQ(std::u16string(label), u"Volume: 75");
    text_builder_rewind(mark);
    EXPECT_EQ(text_builder_mark(), mark);
}

TEST(TextBuilder, GrowsPastEightThousandCharactersInOneExpression) {
    std::u16string expected;
    char16_t* text = nullptr;
    int mark = text_builder_mark();
    for (int i = 0; i < 1500; ++i) {
        text_builder_append(u"row ");
        text_from_int(i, -1);
        std::string digits = std::to_string(i);
        expected += u"row " + std::u16string(digits.begin(), digits.end());
    }
    ASSERT_GT(expected.size(), 8000u);
    EXPECT_GE(text_builder().capacity, 2 * static_cast<int>(expected.size()));
    text_builder_assign(&text, mark);
    EXPECT_EQ(std::u16string(text), expected);
    EXPECT_EQ(text_builder_mark(), mark);
    text_free(&text);
}

TEST(TextBuilder, InnerExpressionsDoNotDisturbTheOuterOne) {
    char16_t* outer = nullptr;
    int outer_mark = text_builder_mark();
    text_builder_append(u"Hello ");

    // An inner text built and consumed above the outer part; it is long
    // enough to make the buffer grow (and move) under the outer part.
    int inner_mark = text_builder_mark();
    std::u16string long_piece = repeated(u"inner ", 3000);
    text_builder_append(long_piece.c_str());
    text_from_int(42, -1);
    *text_builder_reserve(1, -1) = 0;
    EXPECT_EQ(std::u16string(text_builder_address(inner_mark)), long_piece + u"42");

    // A third level, while the inner text is still in use.
    int third_mark = text_builder_mark();
    text_builder_append(u"third");
    EXPECT_EQ(std::u16string(text_builder_address(third_mark)), u"third");
    text_builder_rewind(third_mark);
    EXPECT_EQ(std::u16string(text_builder_address(inner_mark)), long_piece + u"42");

    text_builder_rewind(inner_mark);
    text_builder_append(u"world");
    text_builder_assign(&outer, outer_mark);
    EXPECT_EQ(std::u16string(outer), u"Hello world");
    text_free(&outer);
}

TEST(TextBuilder, SourcesInsideTheBuilderSurviveGrowth) {
    // Each source is longer than the growth margin, so copying it in full
    // must grow the buffer, which may move it away from under the source.
    std::u16string name = repeated(u"abcdefgh", 1200) + u"\\song.mp3";
    std::u16string path = u"C:\\" + name;
    std::u16string list = u"first\n" + name + u"\nthird";
    std::u16string expected_name = name.substr(name.find(u'\\') + 1);

    struct Case {
        const char* what;
        std::u16string source;
        char16_t* (*operation)(const char16_t* source, int position);
        std::u16string expected;
    };
    const Case cases[] = {
        {"append", path, [](const char16_t* s, int) -> char16_t* { text_builder_append(s); return nullptr; }, path},
        {"text_right", path, [](const char16_t* s, int p) { return text_right(s, 100000, p); }, path},
        {"text_field", list, [](const char16_t* s, int p) { return text_field(s, 2, u"\n", p); }, name},
        {"text_replace", path,
         [](const char16_t* s, int p) { return text_replace(const_cast<char16_t*>(s), u"\\", u"//", 0, p); },
         u"C://" + name.substr(0, name.find(u'\\')) + u"//song.mp3"},
        {"path_file_part", path + u"\\" + name, path_file_part, u"song.mp3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // A fresh service gives a builder that has not grown yet.
        text_end();
        ASSERT_TRUE(text_init());
        int mark = build_long_text(c.source);
        int capacity = text_builder().capacity;
        int result_mark = text_builder_mark();
        c.operation(text_builder_address(mark), -1);
        if (c.expected.size() > 8192) {
            EXPECT_GT(text_builder().capacity, capacity);
        }
        EXPECT_EQ(std::u16string(text_builder_address(result_mark)), c.expected);
        EXPECT_EQ(std::u16string(text_builder_address(mark), c.source.size()), c.source);
        text_builder_rewind(mark);
    }
}

TEST(TextBuilder, ResultsMayOverwriteTheirOwnSource) {
    // Written at the source's own mark, over the source.
    int mark = build_long_text(u"C:\\Music\\a\\b.mp3");
    text_right(text_builder_address(mark), 5, mark);
    EXPECT_EQ(std::u16string(text_builder_address(mark)), u"b.mp3");
    EXPECT_EQ(text_builder_mark(), mark + 10);
    text_builder_rewind(mark);

    build_long_text(u"a-b-c-d");
    text_replace(text_builder_address(mark), u"-", u"--", 0, mark);
    EXPECT_EQ(std::u16string(text_builder_address(mark)), u"a--b--c--d");
    text_builder_rewind(mark);

    build_long_text(u"one\ntwo");
    text_field(text_builder_address(mark), 2, u"\n", mark);
    EXPECT_EQ(std::u16string(text_builder_address(mark)), u"two");
    text_builder_rewind(mark);
}

TEST(TextBuilder, ClampsMarksPositionsAndCounts) {
    int mark = text_builder_mark();
    text_builder_append(u"abc");
    int end = text_builder_mark();
    ASSERT_EQ(end, mark + 6);

    text_builder_rewind(end + 100);  // beyond the built text
    EXPECT_EQ(text_builder_mark(), end);
    text_builder_rewind(mark + 3);  // odd: back to a character boundary
    EXPECT_EQ(text_builder_mark(), mark + 2);
    EXPECT_EQ(text_builder_address(end + 1000), text_builder_address(text_builder_mark()));
    EXPECT_EQ(text_builder_address(-8), text_builder_address(0));

    text_builder_release(-3);
    EXPECT_EQ(text_builder_mark(), mark + 2);
    text_builder_release(1 << 30);
    EXPECT_EQ(text_builder_mark(), 0);

    // A negative count reserves nothing; a position beyond the text, or any
    // negative one, is the current position.
    EXPECT_EQ(text_builder_reserve(-5, -1), text_builder_address(0));
    EXPECT_EQ(text_builder_mark(), 0);
    text_builder_append(u"xy");
    EXPECT_EQ(text_builder_reserve(1, 500), text_builder_address(4));
    EXPECT_EQ(text_builder_reserve(1, -20), text_builder_address(6));
    text_builder_rewind(mark);

    // Assigning from a mark beyond the position assigns the empty text.
    char16_t* text = nullptr;
    text_builder_assign(&text, mark + 50);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::u16string(text), u"");
    text_free(&text);
    text_builder_assign(nullptr, mark);
    EXPECT_EQ(text_builder_mark(), mark);
}

TEST(TextBuilderDeathTest, EndsTheProcessRatherThanOverrunTheBuffer) {
    // Room beyond what a builder position can address cannot be given; the
    // caller would write past the buffer.
    EXPECT_DEATH(text_builder_reserve(1 << 30, -1), "");
}

// Small blocks taken and scribbled over at a thread's end, as any other
// code ending with the thread may do. Made after the builder, so ended
// before it.
std::vector<void*> scribbled;
struct Scribbler {
    void touch() {}
    ~Scribbler() {
        for (std::size_t size = 4; size <= 64; size += 4) {
            void* block = std::malloc(size);
            std::memset(block, 0xFF, size);
            scribbled.push_back(block);
        }
    }
};

TEST(TextBuilder, EveryThreadHasItsOwnBuilderAndFreesItAtItsEnd) {
    ASSERT_EQ(text_builder_live_count(), 1);
    int main_mark = text_builder_mark();
    text_builder_append(u"main part");

    std::atomic<bool> built{false};
    std::atomic<bool> may_end{false};
    std::u16string seen;
    int live_while_running = 0;
    std::thread worker([&] {
        int mark = text_builder_mark();
        EXPECT_EQ(mark, 0);
        text_builder_append(repeated(u"worker ", 5000).c_str());
        text_from_int(-7, -1);
        seen = text_builder_address(mark);
        static thread_local Scribbler scribbler;
        scribbler.touch();
        built = true;
        while (!may_end) std::this_thread::yield();
    });
    while (!built) std::this_thread::yield();
    live_while_running = text_builder_live_count();
    may_end = true;
    worker.join();

    for (void* block : scribbled) std::free(block);
    scribbled.clear();
    EXPECT_EQ(live_while_running, 2);
    EXPECT_EQ(text_builder_live_count(), 1) << "the worker's builder was not freed at its end";
    EXPECT_EQ(seen, repeated(u"worker ", 5000) + u"-7");
    EXPECT_EQ(std::u16string(text_builder_address(main_mark)), u"main part");
    text_builder_rewind(main_mark);
}

TEST(TextBuilder, NothingFromBeforeTheEndTouchesTheNextHeap) {
    Text survivor = u"before the end";
    char16_t* raw = nullptr;
    text_assign(&raw, u"raw");
    text_builder_append(u"half built");

    // A thread whose builder outlives the heap it was made in.
    std::atomic<int> stage{0};
    std::thread late([&] {
        text_builder_append(repeated(u"late ", 4000).c_str());
        stage = 1;
        while (stage != 2) std::this_thread::yield();
    });
    while (stage != 1) std::this_thread::yield();

    text_end();
    EXPECT_EQ(text_builder_live_count(), 0);
    EXPECT_EQ(std::u16string(survivor.c_str()), u"");
    text_free(&raw);  // the block went with the heap: only the variable is cleared
    EXPECT_EQ(raw, nullptr);

    ASSERT_TRUE(text_init());
    EXPECT_EQ(text_builder_mark(), 0);  // a fresh builder, not the old buffer
    EXPECT_EQ(text_builder_live_count(), 1);
    stage = 2;
    late.join();  // its builder belongs to the old heap: not freed into this one
    EXPECT_EQ(text_builder_live_count(), 1);

    survivor = u"after";
    EXPECT_TRUE(survivor == u"after");
    Text built = TextBuild(u"n=") + 3;
    EXPECT_TRUE(built == u"n=3");
}
