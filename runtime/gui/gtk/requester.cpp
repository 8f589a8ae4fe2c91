// Requesters on GTK: a GtkMessageDialog and the GtkFileChooserDialog for
// opening and saving, each modal over the active runtime window and between
// windows_suspend and windows_restore.
#include <gtk/gtk.h>

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/file/path_bytes.h"
#include "runtime/gui/gtk/gui_gtk.h"
#include "runtime/gui/requester.h"
#include "runtime/gui/requester_file.h"
#include "runtime/gui/requester_pattern.h"

namespace {

// The button sets of the message flags' low four bits, and the icons.
constexpr int BUTTONS_OK_CANCEL = 1;
constexpr int ICON_ERROR = 0x10;
constexpr int ICON_WARNING = 0x30;

struct MessageButton {
    const char* label;
    int answer;
};

std::vector<MessageButton> buttons_of(int flags) {
    switch (flags & 0xF) {
    case BUTTONS_OK_CANCEL: return {{"_OK", ANSWER_OK}, {"_Cancel", ANSWER_CANCEL}};
    case REQUESTER_YES_NO_CANCEL: return {{"_Yes", ANSWER_YES}, {"_No", ANSWER_NO}, {"_Cancel", ANSWER_CANCEL}};
    case REQUESTER_YES_NO: return {{"_Yes", ANSWER_YES}, {"_No", ANSWER_NO}};
    default: return {{"_OK", ANSWER_OK}};
    }
}

GtkMessageType icon_of(int flags) {
    switch (flags & 0xF0) {
    case ICON_ERROR: return GTK_MESSAGE_ERROR;
    case REQUESTER_ICON_QUESTION: return GTK_MESSAGE_QUESTION;
    case ICON_WARNING: return GTK_MESSAGE_WARNING;
    case REQUESTER_ICON_INFORMATION: return GTK_MESSAGE_INFO;
    default: return GTK_MESSAGE_OTHER;
    }
}

// The program's texts break lines with CR LF or a lone CR; GTK with LF.
std::string message_text(const char16_t* text) {
    std::string converted = utf8_of(text);
    std::string result;
    for (std::size_t i = 0; i < converted.size(); ++i) {
        if (converted[i] != '\r') result += converted[i];
        else if (i + 1 >= converted.size() || converted[i + 1] != '\n') result += '\n';
    }
    return result;
}

// What Ctrl+C in a message box copies, laid out as Windows' boxes copy
// theirs: title, text and buttons between lines of dashes.
std::string copied_message(const std::string& title, const std::string& text,
                           const std::vector<MessageButton>& buttons) {
    const std::string rule = "---------------------------\n";
    std::string labels;
    for (const MessageButton& button : buttons) {
        for (const char* c = button.label; *c; ++c)
            if (*c != '_') labels += *c;
        labels += "   ";
    }
    return rule + title + "\n" + rule + text + "\n" + rule + labels + "\n" + rule;
}

gboolean copy_on_ctrl_c(GtkWidget*, GdkEventKey* key, gpointer copy) {
    if (!(key->state & GDK_CONTROL_MASK) || (key->keyval != GDK_KEY_c && key->keyval != GDK_KEY_C &&
                                             key->keyval != GDK_KEY_Insert))
        return FALSE;
    gtk_clipboard_set_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), static_cast<const std::string*>(copy)->c_str(),
                           -1);
    return TRUE;
}

// The glob with each letter matching either case ("*.m3u" as "*.[mM]3[uU]"),
// as Windows' dialogs match: players formatted FAT often hold LIST.M3U.
std::string ignoring_case(const std::string& glob) {
    std::string any_case;
    for (const char c : glob) {
        const char lower = g_ascii_tolower(c), upper = g_ascii_toupper(c);
        if (lower == upper) {
            any_case += c;
        } else {
            ((any_case += '[') += lower) += upper;
            any_case += ']';
        }
    }
    return any_case;
}

// Every "description", "pattern" pair of the list as a filter; a pattern of
// several globs separated by ";" matches any of them.
std::vector<GtkFileFilter*> filters_of(const char16_t* list) {
    std::vector<GtkFileFilter*> filters;
    for (const char16_t* entry = list; *entry;) {
        const char16_t* pattern = entry + std::char_traits<char16_t>::length(entry) + 1;
        GtkFileFilter* filter = gtk_file_filter_new();
        gtk_file_filter_set_name(filter, utf8_of(entry).c_str());
        std::string globs = utf8_of(pattern);
        std::size_t start = 0;
        while (start <= globs.size()) {
            std::size_t end = globs.find(';', start);
            if (end == std::string::npos) end = globs.size();
            std::string glob = globs.substr(start, end - start);
            glob.erase(0, glob.find_first_not_of(' '));
            glob.erase(glob.find_last_not_of(' ') + 1);
            if (!glob.empty()) gtk_file_filter_add_pattern(filter, ignoring_case(glob).c_str());
            start = end + 1;
        }
        filters.push_back(filter);
        entry = *pattern ? pattern + std::char_traits<char16_t>::length(pattern) + 1 : pattern;
    }
    return filters;
}

}  // namespace

char16_t* requester_file(FileDialog kind, const char16_t* title, const char16_t* default_file,
                         const char16_t* pattern, int pattern_position) {
    const std::unique_ptr<char16_t[]> list = requester_filter_list(pattern);
    char16_t name[REQUESTER_PATH_CHARS] = {};
    const RequesterDefault start = requester_default_split(default_file, name);
    if (!list || !start.ok) return requester_result(nullptr);

    const bool save = kind == FileDialog::save;
    GtkWidget* dialog = gtk_file_chooser_dialog_new(
        utf8_of(title).c_str(), GTK_WINDOW(reinterpret_cast<GtkWidget*>(requester_owner())),
        save ? GTK_FILE_CHOOSER_ACTION_SAVE : GTK_FILE_CHOOSER_ACTION_OPEN, "_Cancel", GTK_RESPONSE_CANCEL,
        save ? "_Save" : "_Open", GTK_RESPONSE_ACCEPT, nullptr);
    auto* chooser = GTK_FILE_CHOOSER(dialog);
    gtk_file_chooser_set_do_overwrite_confirmation(chooser, FALSE);
    const std::vector<GtkFileFilter*> filters = filters_of(list.get());
    for (GtkFileFilter* filter : filters) gtk_file_chooser_add_filter(chooser, filter);
    if (!filters.empty())
        gtk_file_chooser_set_filter(chooser, filters[std::clamp<std::size_t>(std::max(pattern_position, 0), 0,
                                                                             filters.size() - 1)]);
    if (start.folder) gtk_file_chooser_set_current_folder(chooser, utf8_of(start.folder.get()).c_str());
    if (save && name[0]) gtk_file_chooser_set_current_name(chooser, utf8_of(name).c_str());

    windows_suspend();
    const int response = gtk_dialog_run(GTK_DIALOG(dialog));
    windows_restore();

    gchar* chosen = response == GTK_RESPONSE_ACCEPT ? gtk_file_chooser_get_filename(chooser) : nullptr;
    gtk_widget_destroy(dialog);
    // The name's own bytes, whatever they are, so that the file chosen is the file opened.
    const bool picked = chosen != nullptr;
    const std::u16string path = picked ? path_text_of(chosen) : std::u16string();
    g_free(chosen);
    return requester_result(picked ? path.c_str() : nullptr);
}

// GTK needs nothing before the first window, nor after the last.
void requester_init() {}
void requester_end() {}

std::intptr_t requester_owner() {
    GtkWidget* owner = nullptr;
    GList* toplevels = gtk_window_list_toplevels();
    for (GList* item = toplevels; item && !owner; item = item->next) {
        auto* window = GTK_WIDGET(item->data);
        if (gtk_window_is_active(GTK_WINDOW(window)) && window_number_of(window) >= 0) owner = window;
    }
    g_list_free(toplevels);
    return reinterpret_cast<std::intptr_t>(owner);
}

int requester_message(const char16_t* title, const char16_t* text, int flags) {
    const std::string shown_text = message_text(text), shown_title = utf8_of(title);
    GtkWidget* dialog =
        gtk_message_dialog_new(GTK_WINDOW(reinterpret_cast<GtkWidget*>(requester_owner())), GTK_DIALOG_MODAL,
                               icon_of(flags), GTK_BUTTONS_NONE, "%s", shown_text.c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), shown_title.c_str());
    const std::vector<MessageButton> buttons = buttons_of(flags);
    bool has_cancel = false;
    for (const MessageButton& button : buttons) {
        gtk_dialog_add_button(GTK_DIALOG(dialog), button.label, button.answer);
        has_cancel = has_cancel || button.answer == ANSWER_CANCEL;
    }
    // A person can copy what a box says, to quote it in a report.
    const std::string copy = copied_message(shown_title, shown_text, buttons);
    g_signal_connect(dialog, "key-press-event", G_CALLBACK(copy_on_ctrl_c), const_cast<std::string*>(&copy));
    windows_suspend();
    // Closing the box counts as Cancel, or as OK where OK is the only button;
    // a Yes / No box waits for one of its buttons.
    int answer = 0;
    do {
        answer = gtk_dialog_run(GTK_DIALOG(dialog));
        if (answer == GTK_RESPONSE_DELETE_EVENT && has_cancel) answer = ANSWER_CANCEL;
        else if (answer == GTK_RESPONSE_DELETE_EVENT && buttons.size() == 1) answer = ANSWER_OK;
    } while (answer == GTK_RESPONSE_DELETE_EVENT);
    windows_restore();
    gtk_widget_destroy(dialog);
    return answer;
}
