// Drops on a real list gadget under GTK, beside the behaviour every back end
// shares: dragged from another program (tests/support/gtk_file_source,
// standing in for the file manager) through the X drag protocol, the row
// under the files marked, and a list that names anything but files on this
// computer refused as a whole.
#include <gtk/gtk.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "runtime/gui/drop.h"
#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "tests/gui/drop_events.h"
#include "tests/gui/drop_suite.h"
#include "tests/gui/gtk/gadget_support.h"
#include "tests/support/gtk_file_drag.h"

namespace {

class DropTest : public DropBehaviourTest {
protected:
    void SetUp() override {
        DropBehaviourTest::SetUp();
        ASSERT_TRUE(wait_drawn(test_window()));
    }
    // The files' names as the other program is given them.
    std::vector<std::string> names() const {
        std::vector<std::string> names;
        for (const std::filesystem::path& file : files_) names.push_back(file.string());
        return names;
    }
    // The row the list shows marked as where a drop would go; -1 for none.
    static int marked_row() {
        GtkTreePath* marked = nullptr;
        gtk_tree_view_get_drag_dest_row(tree_view_of(LIST), &marked, nullptr);
        const int row = marked ? gtk_tree_path_get_indices(marked)[0] : -1;
        if (marked) gtk_tree_path_free(marked);
        return row;
    }
};

TEST_F(DropTest, TheRowUnderTheFilesIsMarkedUntilTheyAreDropped) {
    const ScreenPoint row = row_point(LIST, 1);
    HeldFiles held(person_desktop(), GTK_FILE_SOURCE, row.x, row.y, names());
    ASSERT_TRUE(held.ready());
    EXPECT_EQ(marked_row(), 1);
    held.let_go();
    ASSERT_EQ(next_drop(30), EVENT_GADGET_DROP);
    EXPECT_EQ(marked_row(), -1);
}

void count_call(GtkWidget*, GdkDragContext*, int, int, GtkSelectionData*, guint, guint, gpointer calls) {
    ++*static_cast<int*>(calls);
}

std::string uri_of(const std::string& file) {
    gchar* uri = g_filename_to_uri(file.c_str(), nullptr, nullptr);
    std::string result = uri;
    g_free(uri);
    return result;
}

// A list whose entries are not all files here (one entry among two good file
// URIs), dragged from another program onto the second row: its data reaches
// the list, which refuses it all. No event comes, so no row is added, nothing
// is selected and nothing is left.
TEST_F(DropTest, AListWithAnEntryThatIsNoFileHereIsRefusedAsAWhole) {
    for (const char* entry : {"http://host/a.mp3", "a line that is no URI", "file:///tmp/a%G1.mp3",
                              "file:///tmp/a.mp%3", "file://far-away-host/tmp/a.mp3"}) {
        SCOPED_TRACE(entry);
        int received = 0;
        const gulong watch =
            g_signal_connect_after(tree_view_of(LIST), "drag-data-received", G_CALLBACK(count_call), &received);
        const ScreenPoint row = row_point(LIST, 1);
        EXPECT_TRUE(drag_files_to(person_desktop(), GTK_FILE_SOURCE, row.x, row.y,
                                  {"--raw", uri_of(files_[0].string()) + "\r\n" + entry + "\r\n" + uri_of(files_[1].string()) + "\r\n"}));
        EXPECT_TRUE(run_until([&] { return received > 0; }, 3000)) << "the list's data never reached the list";
        g_signal_handler_disconnect(tree_view_of(LIST), watch);
        for (const SeenEvent& event : drain_events()) {
            EXPECT_NE(event.kind, EVENT_GADGET_DROP);
            EXPECT_NE(event.kind, EVENT_WINDOW_DROP);
        }
        EXPECT_EQ(gadget_item_count(LIST), 3);
        EXPECT_EQ(gadget_state_get(LIST), -1);
        EXPECT_EQ(marked_row(), -1);
        EXPECT_EQ(drop_record_live_count(), 0);
    }
}

}  // namespace
