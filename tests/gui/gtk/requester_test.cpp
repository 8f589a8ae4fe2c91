// GTK requesters answered as a person would: the test finds the dialog the
// program shows, clicks its buttons or types a file name through the X
// server, and looks at what the program got back and at the other windows.
#include <X11/keysym.h>
#include <gtk/gtk.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "runtime/file/path_bytes.h"
#include "runtime/gui/gtk/gui_gtk.h"
#include "runtime/gui/requester.h"
#include "runtime/gui/window.h"
#include "runtime/gui/event.h"
#include "runtime/text/text.h"
#include "tests/support/gtk_desktop.h"

namespace {

constexpr char16_t PLAYLIST_PATTERN[] = u"Playlist (*.m3u)|*.m3u|All files|*";

std::u16string text(const char16_t* runtime_text) { return runtime_text ? runtime_text : u""; }

std::u16string utf16(const std::string& utf8) {
    gunichar2* converted = g_utf8_to_utf16(utf8.c_str(), -1, nullptr, nullptr, nullptr);
    std::u16string result(reinterpret_cast<char16_t*>(converted));
    g_free(converted);
    return result;
}

// What the dialog showed when it was answered.
struct Seen {
    std::string title;
    std::string text;
    GtkMessageType icon = GTK_MESSAGE_OTHER;
    GtkWidget* owner = nullptr;
    std::vector<std::string> buttons;
    std::string current_name;
    std::string current_folder;
    std::string filter;
    int filters = 0;
    bool window_1_sensitive = true;
    bool window_3_sensitive = true;
};

class RequesterTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(text_init());
        ASSERT_TRUE(event_init());
        ASSERT_TRUE(window_init());
        requester_init();
    }
    static void TearDownTestSuite() {
        requester_end();
        window_end();
        event_end();
        text_end();
    }
    void SetUp() override {
        owner_ = reinterpret_cast<GtkWidget*>(window_open(0, 0, 0, 400, 300, u"Owner", 0xCF0000));
        ASSERT_TRUE(wait_drawn(owner_));
        desktop.focus(owner_);
        ASSERT_TRUE(run_until([&] { return gtk_window_is_active(GTK_WINDOW(owner_)); }));
        folder_ = std::filesystem::temp_directory_path() / ("requester_test_" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override {
        window_close(-1);
        std::filesystem::remove_all(folder_);
    }

    // Records what the dialog shows, then does what a person would.
    std::function<void(GtkWidget*)> look_then(std::function<void(GtkWidget*)> act) {
        return [this, act](GtkWidget* dialog) {
            seen_.title = gtk_window_get_title(GTK_WINDOW(dialog));
            seen_.owner = GTK_WIDGET(gtk_window_get_transient_for(GTK_WINDOW(dialog)));
            if (GTK_IS_MESSAGE_DIALOG(dialog)) {
                gchar* message = nullptr;
                g_object_get(dialog, "text", &message, "message-type", &seen_.icon, nullptr);
                seen_.text = message ? message : "";
                g_free(message);
                for (const char* label : {"_OK", "_Cancel", "_Yes", "_No"})
                    if (dialog_button(dialog, label)) seen_.buttons.push_back(label);
            }
            if (GTK_IS_FILE_CHOOSER(dialog)) {
                auto* chooser = GTK_FILE_CHOOSER(dialog);
                if (gtk_file_chooser_get_action(chooser) == GTK_FILE_CHOOSER_ACTION_SAVE) {
                    gchar* name = gtk_file_chooser_get_current_name(chooser);
                    seen_.current_name = name ? name : "";
                    g_free(name);
                }
                gchar* folder = gtk_file_chooser_get_current_folder(chooser);
                seen_.current_folder = folder ? folder : "";
                g_free(folder);
                GtkFileFilter* filter = gtk_file_chooser_get_filter(chooser);
                seen_.filter = filter ? gtk_file_filter_get_name(filter) : "";
                GSList* filters = gtk_file_chooser_list_filters(chooser);
                seen_.filters = static_cast<int>(g_slist_length(filters));
                g_slist_free(filters);
            }
            if (GtkWidget* other = reinterpret_cast<GtkWidget*>(window_handle(1)))
                seen_.window_1_sensitive = gtk_widget_get_sensitive(other);
            if (GtkWidget* other = reinterpret_cast<GtkWidget*>(window_handle(3)))
                seen_.window_3_sensitive = gtk_widget_get_sensitive(other);
            desktop.focus(dialog);
            act(dialog);
        };
    }
    std::function<void(GtkWidget*)> click(const char* label) {
        return look_then([this, label](GtkWidget* dialog) {
            GtkWidget* button = dialog_button(dialog, label);
            ASSERT_NE(button, nullptr) << label;
            click_on(button);
        });
    }
    void click_on(GtkWidget* widget) {
        const ScreenBox box = screen_box(widget);
        desktop.click(box.x + box.width / 2, box.y + box.height / 2);
        run_for(100);
    }
    // Clicks into the dialog's name field, types the path over what it
    // holds, and confirms.
    std::function<void(GtkWidget*)> type_path(std::string path) {
        return look_then([this, path](GtkWidget* dialog) {
            GtkWidget* entry = dialog_part(dialog, GTK_TYPE_ENTRY);
            ASSERT_NE(entry, nullptr);
            click_on(entry);
            desktop.key_down(XK_Control_L);
            desktop.key(XK_a);
            desktop.key_up(XK_Control_L);
            desktop.type(path.c_str());
            run_for(300);  // the dialog looks the typed folder up as it goes
            desktop.key(XK_Return);
        });
    }
    // Double-clicks the first file the dialog lists, once it has read the folder.
    std::function<void(GtkWidget*)> double_click_first_file() {
        return look_then([this](GtkWidget* dialog) {
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
        });
    }
    std::function<void(GtkWidget*)> press_escape() {
        return look_then([this](GtkWidget*) { desktop.key(XK_Escape); });
    }

    GtkWidget* owner_ = nullptr;
    Desktop desktop;
    Seen seen_;
    std::filesystem::path folder_;
};

TEST_F(RequesterTest, MessageBoxesShowTitleTextButtonsAndIconAndAnswerTheButtonsCode) {
    {
        DialogAnswer answer(click("_OK"));
        EXPECT_EQ(requester_message(u"Help", u"First line\r\nsecond line\rthird \u266b", 0), ANSWER_OK);
        EXPECT_TRUE(answer.answered());
    }
    EXPECT_EQ(seen_.title, "Help");
    EXPECT_EQ(seen_.text, "First line\nsecond line\nthird \xe2\x99\xab");
    EXPECT_EQ(seen_.buttons, std::vector<std::string>{"_OK"});
    EXPECT_EQ(seen_.icon, GTK_MESSAGE_OTHER);
    EXPECT_EQ(seen_.owner, owner_);

    seen_ = {};
    {
        DialogAnswer answer(click("_No"));
        EXPECT_EQ(
            requester_message(u"Unsaved Data!", u"Save first?", REQUESTER_YES_NO_CANCEL | REQUESTER_ICON_QUESTION),
            ANSWER_NO);
    }
    EXPECT_EQ(seen_.buttons, (std::vector<std::string>{"_Cancel", "_Yes", "_No"}));
    EXPECT_EQ(seen_.icon, GTK_MESSAGE_QUESTION);

    seen_ = {};
    {
        DialogAnswer answer(click("_Yes"));
        EXPECT_EQ(requester_message(u"Quit", nullptr, REQUESTER_YES_NO | REQUESTER_ICON_QUESTION), ANSWER_YES);
    }
    EXPECT_EQ(seen_.buttons, (std::vector<std::string>{"_Yes", "_No"}));
    EXPECT_EQ(seen_.text, "");

    seen_ = {};
    {
        DialogAnswer answer(click("_OK"));
        EXPECT_EQ(requester_message(nullptr, u"No sound", REQUESTER_ICON_INFORMATION), ANSWER_OK);
    }
    EXPECT_EQ(seen_.icon, GTK_MESSAGE_INFO);
    EXPECT_EQ(seen_.title, "");
}

TEST_F(RequesterTest, ClosingAMessageBoxIsCancelOrTheOnlyOk) {
    {
        DialogAnswer answer(look_then([this](GtkWidget* dialog) { desktop.close_request(dialog); }));
        EXPECT_EQ(requester_message(u"Unsaved Data!", u"Save?", REQUESTER_YES_NO_CANCEL), ANSWER_CANCEL);
    }
    {
        DialogAnswer answer(press_escape());
        EXPECT_EQ(requester_message(u"Note", u"Read me", REQUESTER_OK), ANSWER_OK);
    }
}

TEST_F(RequesterTest, OtherWindowsTakeNoInputWhileARequesterIsOpen) {
    GtkWidget* other = reinterpret_cast<GtkWidget*>(window_open(1, 450, 0, 200, 100, u"Other", 0x80000000));
    GtkWidget* hidden = reinterpret_cast<GtkWidget*>(window_open(2, 450, 150, 200, 100, u"Hidden", WINDOW_HIDDEN));
    GtkWidget* disabled = reinterpret_cast<GtkWidget*>(window_open(3, 450, 300, 200, 100, u"Off", 0x80000000));
    gtk_widget_set_sensitive(disabled, FALSE);
    desktop.focus(owner_);
    ASSERT_TRUE(run_until([&] { return gtk_window_is_active(GTK_WINDOW(owner_)); }));
    {
        DialogAnswer answer(click("_OK"));
        requester_message(u"Wait", u"A moment", 0);
    }
    EXPECT_FALSE(seen_.window_1_sensitive);
    EXPECT_FALSE(seen_.window_3_sensitive);
    EXPECT_TRUE(gtk_widget_get_sensitive(other));
    EXPECT_TRUE(gtk_widget_get_sensitive(hidden));
    EXPECT_FALSE(gtk_widget_get_sensitive(disabled));  // it was so before
    EXPECT_TRUE(gtk_widget_get_sensitive(owner_));
    EXPECT_EQ(seen_.owner, owner_);
}

TEST_F(RequesterTest, SaveDialogProposesTheNameAndReturnsThePathTyped) {
    const std::string path = (folder_ / "chosen list.m3u").string();
    {
        DialogAnswer answer(type_path(path));
        EXPECT_EQ(text(requester_save_file(u"Save file", u"Playlist.m3u", PLAYLIST_PATTERN, 0)), utf16(path));
        EXPECT_TRUE(answer.answered());
    }
    EXPECT_EQ(seen_.title, "Save file");
    EXPECT_EQ(seen_.current_name, "Playlist.m3u");
    EXPECT_EQ(seen_.filters, 2);
    EXPECT_EQ(seen_.filter, "Playlist (*.m3u)");
    EXPECT_EQ(seen_.owner, owner_);

    // An existing file is replaced without a question.
    std::ofstream(folder_ / "old.m3u") << "x\r\n";
    seen_ = {};
    {
        DialogAnswer answer(type_path((folder_ / "old.m3u").string()));
        EXPECT_EQ(text(requester_save_file(u"Save file as", u"*.m3u", PLAYLIST_PATTERN, 1)),
                  utf16((folder_ / "old.m3u").string()));
    }
    EXPECT_EQ(seen_.current_name, "");  // "*.m3u" is no file name
    EXPECT_EQ(seen_.filter, "All files");
}

TEST_F(RequesterTest, ADefaultFileWithAFolderStartsInThatFolder) {
    const std::u16string default_file = utf16(folder_.string()) + u"\\list.m3u";
    {
        DialogAnswer answer(press_escape());
        EXPECT_EQ(text(requester_save_file(u"Save file", default_file.c_str(), PLAYLIST_PATTERN, 0)), u"");
    }
    EXPECT_EQ(seen_.current_folder, folder_.string());
    EXPECT_EQ(seen_.current_name, "list.m3u");
}

TEST_F(RequesterTest, OpenDialogReturnsTheFileTypedOrNothingWhenCancelled) {
    const std::filesystem::path file = folder_ / "songs.m3u";
    std::ofstream(file) << "/Music/a.mp3\r\n";
    std::ofstream(folder_ / "notes.txt") << "not a playlist\n";  // hidden by the first filter
    const std::u16string default_file = utf16(folder_.string()) + u"\\Playlist";
    {
        DialogAnswer answer(double_click_first_file());
        EXPECT_EQ(text(requester_open_file(u"Open M3U file", default_file.c_str(), PLAYLIST_PATTERN, 0)),
                  utf16(file.string()));
    }
    EXPECT_EQ(seen_.title, "Open M3U file");
    EXPECT_EQ(seen_.filter, "Playlist (*.m3u)");
    EXPECT_EQ(seen_.current_folder, folder_.string());
    {
        DialogAnswer answer(click("_Cancel"));
        EXPECT_EQ(text(requester_open_file(u"Open M3U file", u"Playlist", PLAYLIST_PATTERN, 0)), u"");
    }
    // A name from an old card that is not UTF-8 comes back as the file it is
    // (among all files: the chooser's shown name of it does not end in .m3u).
    const std::filesystem::path card = folder_ / "card";
    std::filesystem::create_directory(card);
    const std::string latin1 = (card / "caf\xE9.m3u").string();
    std::ofstream(latin1) << "/Music/a.mp3\r\n";
    const std::u16string in_card = utf16(card.string()) + u"\\Playlist";
    {
        DialogAnswer answer(double_click_first_file());
        const std::u16string chosen = text(requester_open_file(u"Open M3U file", in_card.c_str(), PLAYLIST_PATTERN, 1));
        EXPECT_EQ(chosen, path_text_of(latin1));
        EXPECT_EQ(path_bytes_of(chosen.c_str()), latin1);
    }
}

TEST_F(RequesterTest, PlaylistsAreListedWhateverTheCaseOfTheirNames) {
    // As a FAT player holds them; the filter is the playlists' one.
    const std::filesystem::path upper = folder_ / "LIST.M3U";
    std::ofstream(upper) << "/MUSIC/A.MP3\r\n";
    std::ofstream(folder_ / "notes.txt") << "not a playlist\n";
    const std::u16string default_file = utf16(folder_.string()) + u"\\Playlist";
    DialogAnswer answer(double_click_first_file());
    EXPECT_EQ(text(requester_open_file(u"Open M3U file", default_file.c_str(), PLAYLIST_PATTERN, 0)),
              utf16(upper.string()));
    EXPECT_EQ(seen_.filter, "Playlist (*.m3u)");
}

}  // namespace
