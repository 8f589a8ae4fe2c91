// GTK requesters, beside the behaviour every back end shares: files chosen
// in the open dialog's list by a double click (a playlist named in capitals,
// a name that is not UTF-8).
#include <gtk/gtk.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "runtime/file/path_bytes.h"
#include "tests/gui/requester_suite.h"
#include "tests/support/gtk_desktop.h"

namespace {

constexpr char16_t PLAYLIST_PATTERN[] = u"Playlist (*.m3u)|*.m3u|All files|*";

class RequesterTest : public RequesterSuite {
protected:
    // Double-clicks the first file the dialog lists, once it has read the folder.
    std::function<void(GtkWidget*)> double_click_first_file() {
        return [this](GtkWidget* dialog) {
            GtkFileFilter* filter = gtk_file_chooser_get_filter(GTK_FILE_CHOOSER(dialog));
            filter_ = filter ? gtk_file_filter_get_name(filter) : "";
            desktop.focus(dialog);
            auto* files = GTK_TREE_VIEW(dialog_part(dialog, GTK_TYPE_TREE_VIEW));
            ASSERT_NE(files, nullptr);
            ASSERT_TRUE(run_until([&] {
                GtkTreeModel* model = gtk_tree_view_get_model(files);
                return model && gtk_tree_model_iter_n_children(model, nullptr) > 0;
            }));
            run_for(100);
            GdkRectangle cell;
            GtkTreePath* first = gtk_tree_path_new_first();
            gtk_tree_view_get_cell_area(files, first, nullptr, &cell);
            gtk_tree_path_free(first);
            int x = 0, y = 0;
            gtk_tree_view_convert_bin_window_to_widget_coords(files, cell.x + 30, cell.y + cell.height / 2, &x, &y);
            const ScreenBox box = screen_box(GTK_WIDGET(files));
            desktop.click(box.x + x, box.y + y, 2);
        };
    }

    Desktop desktop;
    std::string filter_;
};

// Playlists named in any case (as a FAT player holds them) are listed by the
// playlists' filter, which hides other files; a double click chooses one.
TEST_F(RequesterTest, AFileDoubleClickedInTheOpenDialogIsChosen) {
    for (const std::string name : {"songs.m3u", "LIST.M3U"}) {
        SCOPED_TRACE(name);
        const std::filesystem::path shelf = folder_ / ("shelf of " + name);
        std::filesystem::create_directory(shelf);
        std::ofstream(shelf / name) << "/Music/a.mp3\r\n";
        std::ofstream(shelf / "notes.txt") << "not a playlist\n";
        const std::u16string start = shelf.u16string() + u"\\Playlist";
        DialogAnswer answer(double_click_first_file());
        EXPECT_EQ(text(requester_open_file(u"Open M3U file", start.c_str(), PLAYLIST_PATTERN, 0)),
                  (shelf / name).u16string());
        EXPECT_EQ(filter_, "Playlist (*.m3u)");
    }
    // A name from an old card that is not UTF-8 comes back as the file it is
    // (among all files: the chooser's shown name of it does not end in .m3u).
    const std::filesystem::path card = folder_ / "card";
    std::filesystem::create_directory(card);
    const std::string latin1 = (card / "caf\xE9.m3u").string();
    std::ofstream(latin1) << "/Music/a.mp3\r\n";
    const std::u16string in_card = card.u16string() + u"\\Playlist";
    DialogAnswer answer(double_click_first_file());
    const std::u16string chosen = text(requester_open_file(u"Open M3U file", in_card.c_str(), PLAYLIST_PATTERN, 1));
    EXPECT_EQ(chosen, path_text_of(latin1));
    EXPECT_EQ(path_bytes_of(chosen.c_str()), latin1);
}

}  // namespace
