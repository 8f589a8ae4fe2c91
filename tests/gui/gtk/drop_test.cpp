// Drops on a real list gadget under GTK, beside the behaviour every back end
// shares: dragged from another program (tests/support/gtk_file_source,
// standing in for the file manager) through the X drag protocol, the row
// under the files marked, and a list that names anything but files on this
// computer refused as a whole.
#include <gtk/gtk.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "runtime/gui/drop.h"
#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "tests/gui/drop_events.h"
#include "tests/gui/gtk/gadget_support.h"
#include "tests/support/file_source_process.h"

namespace {

constexpr ObjectNumber LIST = 0;
constexpr int SOURCE_X = 700;
constexpr int SOURCE_Y = 100;

// The file manager stand-in, running until the test ends: it offers the
// files, or with "--raw" and a list, that list byte for byte.
class FileSource : public FileSourceProcess {
public:
    explicit FileSource(const std::vector<std::string>& offered)
        : FileSourceProcess(GTK_FILE_SOURCE, SOURCE_X, SOURCE_Y, offered) {}
};

class DropTest : public GadgetWindowTest {
protected:
    void SetUp() override {
        GadgetWindowTest::SetUp();
        ASSERT_TRUE(drop_init());
        ASSERT_NE(gadget_list_view(LIST, 10, 10, 300, 200), 0);
        for (const char16_t* row : {u"first", u"second", u"third"}) gadget_item_add(LIST, -1, row);
        folder_ = std::filesystem::temp_directory_path() / ("drop_test_" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_);
        for (const char* name : {"one.mp3", "zwei \xc3\xa4\xc3\xb6.ogg"}) {
            std::ofstream(folder_ / name) << "x";
            files_.push_back((folder_ / name).string());
        }
        ASSERT_TRUE(wait_drawn(window_));
    }
    void TearDown() override {
        GadgetWindowTest::TearDown();
        drop_end();
        std::filesystem::remove_all(folder_);
    }
    // Press on the source, move onto the row in steps, release.
    void drag_to_row(int row) {
        move_onto_row(row);
        desktop.release();
    }
    void move_onto_row(int row) {
        const ScreenPoint target = row_point(LIST, row);
        desktop.pointer_to(SOURCE_X + 60, SOURCE_Y + 30);
        run_for(50);
        desktop.press();
        run_for(50);
        for (int step = 1; step <= 10; ++step) {
            desktop.pointer_to(SOURCE_X + 60 + (target.x - SOURCE_X - 60) * step / 10,
                               SOURCE_Y + 30 + (target.y - SOURCE_Y - 30) * step / 10);
            run_for(40);
        }
        run_for(100);
    }
    std::filesystem::path folder_;
    std::vector<std::string> files_;
};

void count_call(GtkWidget*, GdkDragContext*, int, int, GtkSelectionData*, guint, guint, gpointer calls) {
    ++*static_cast<int*>(calls);
}

// A list whose entries are not all files here, dragged from another program
// onto the second row: its data reaches the list, which refuses it all. No
// event comes, so no row is added, nothing is selected and nothing is left.
class RefusedDropTest : public DropTest {
protected:
    void expect_refused(const std::string& list) {
        gadget_drop_enable(LIST, DROP_FORMAT_FILES, DROP_ACTION_COPY | DROP_ACTION_LINK);
        FileSource source({"--raw", list});
        ASSERT_TRUE(source.ready());
        int received = 0;
        const gulong watch =
            g_signal_connect_after(tree_view_of(LIST), "drag-data-received", G_CALLBACK(count_call), &received);
        drag_to_row(1);
        EXPECT_TRUE(run_until([&] { return received > 0; }, 3000)) << "the list's data never reached the list";
        g_signal_handler_disconnect(tree_view_of(LIST), watch);
        for (const SeenEvent& event : drain_events()) {
            EXPECT_NE(event.kind, EVENT_GADGET_DROP);
            EXPECT_NE(event.kind, EVENT_WINDOW_DROP);
        }
        EXPECT_EQ(gadget_item_count(LIST), 3);
        EXPECT_EQ(gadget_state_get(LIST), -1);
        GtkTreePath* marked = nullptr;
        gtk_tree_view_get_drag_dest_row(tree_view_of(LIST), &marked, nullptr);
        EXPECT_EQ(marked, nullptr);
        EXPECT_EQ(drop_record_live_count(), 0);
    }
    std::string uri_of(const std::string& file) {
        gchar* uri = g_filename_to_uri(file.c_str(), nullptr, nullptr);
        std::string result = uri;
        g_free(uri);
        return result;
    }
};

struct BrokenList {
    const char* what;
    const char* entry;  // between two good file URIs
};

void PrintTo(const BrokenList& list, std::ostream* out) { *out << list.entry; }

class BrokenListTest : public RefusedDropTest, public testing::WithParamInterface<BrokenList> {};

TEST_F(DropTest, TheRowUnderTheFilesIsMarkedUntilTheyAreDropped) {
    gadget_drop_enable(LIST, DROP_FORMAT_FILES, DROP_ACTION_COPY | DROP_ACTION_LINK);
    FileSource source(files_);
    ASSERT_TRUE(source.ready());
    move_onto_row(1);
    GtkTreePath* marked = nullptr;
    gtk_tree_view_get_drag_dest_row(tree_view_of(LIST), &marked, nullptr);
    ASSERT_NE(marked, nullptr);
    EXPECT_EQ(gtk_tree_path_get_indices(marked)[0], 1);
    gtk_tree_path_free(marked);
    desktop.release();
    ASSERT_EQ(next_drop(30), EVENT_GADGET_DROP);
    gtk_tree_view_get_drag_dest_row(tree_view_of(LIST), &marked, nullptr);
    EXPECT_EQ(marked, nullptr);
}

TEST_F(RefusedDropTest, AWebAddressAmongFilesRefusesTheDrop) {
    expect_refused(uri_of(files_[0]) + "\r\nhttp://host/a.mp3\r\n" + uri_of(files_[1]) + "\r\n");
}

TEST_P(BrokenListTest, IsRefusedAsAWhole) {
    expect_refused(uri_of(files_[0]) + "\r\n" + GetParam().entry + "\r\n" + uri_of(files_[1]) + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(Entries, BrokenListTest,
                         testing::Values(BrokenList{"NotAUri", "a line that is no URI"},
                                         BrokenList{"BadEscape", "file:///tmp/a%G1.mp3"},
                                         BrokenList{"EscapeCutShort", "file:///tmp/a.mp%3"},
                                         BrokenList{"AnotherComputersFile", "file://far-away-host/tmp/a.mp3"}),
                         [](const testing::TestParamInfo<BrokenList>& info) { return info.param.what; });

}  // namespace
