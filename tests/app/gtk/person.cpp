// The person under GTK: a dialog runs its own main loop on the test's
// thread, so the person looks in from a timer of that loop. Once a dialog is
// shown and drawn it is read, then answered through a second X client as a
// person would: a click on the button, or the chooser's location typed
// (Ctrl+L, Ctrl+A, the path, Return), or Escape.
#include "tests/app/app_support.h"

#include <gtk/gtk.h>

#include <X11/keysym.h>

#include <chrono>
#include <cstring>

#include "tests/app/gtk/app_gtk.h"
#include "tests/support/gtk_desktop.h"

namespace {

using namespace std::chrono_literals;

constexpr auto DIALOG_TIMEOUT = 15s;
constexpr const char* ANSWERED = "tunelathe-test-answered";

Desktop& desktop() {
    static Desktop person;
    return person;
}

const char* label_of(int button) {
    switch (button) {
    case ANSWER_YES: return "_Yes";
    case ANSWER_NO: return "_No";
    case ANSWER_CANCEL: return "_Cancel";
    default: return "_OK";
    }
}

void click_on(GtkWidget* widget) {
    const ScreenBox box = screen_box(widget);
    desktop().click(box.x + box.width / 2, box.y + box.height / 2);
}

void with_control(unsigned long keysym) {
    desktop().key_down(XK_Control_L);
    desktop().key(keysym);
    desktop().key_up(XK_Control_L);
}

// The chooser's location field once it has the focus and takes keys (not
// its search field, which also takes typing).
GtkEntry* focused_entry(GtkWidget* dialog) {
    GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(dialog));
    return focus && std::strcmp(G_OBJECT_TYPE_NAME(focus), "GtkFileChooserEntry") == 0 &&
                   gtk_widget_get_realized(focus) && gtk_widget_get_mapped(focus)
               ? GTK_ENTRY(focus)
               : nullptr;
}

// A person reads the chooser's folder before answering it. GTK reads the
// folder in the background and its reading must not outlive the chooser:
// when it ends after the chooser went, GTK reports a critical of its own.
void wait_folder_shown(GtkWidget* dialog) {
    auto* files = GTK_TREE_VIEW(dialog_part(dialog, GTK_TYPE_TREE_VIEW));
    run_until([files] {
        GtkTreeModel* model = files ? gtk_tree_view_get_model(files) : nullptr;
        return model && gtk_tree_model_iter_n_children(model, nullptr) > 0;
    }, 3000);
    run_for(200);
}

// The chooser's location field takes the whole path: Ctrl+L, Ctrl+A, the
// path. An open chooser's file list hands the first key to a search field
// it has not realized, which GTK reports as a critical of its own; that one
// key must not end the test.
void type_location(GtkWidget* dialog, const std::wstring& path) {
    const std::string typed = native_path(path);
    desktop().focus(dialog);
    run_until([dialog] { return gtk_window_is_active(GTK_WINDOW(dialog)); }, 2000);
    wait_folder_shown(dialog);
    const bool opening = gtk_file_chooser_get_action(GTK_FILE_CHOOSER(dialog)) == GTK_FILE_CHOOSER_ACTION_OPEN;
    const GLogLevelFlags fatal = opening ? g_log_set_always_fatal(static_cast<GLogLevelFlags>(G_LOG_FATAL_MASK))
                                         : GLogLevelFlags{};
    with_control(XK_l);
    run_until([dialog] { return focused_entry(dialog) != nullptr; }, 2000);
    if (opening) g_log_set_always_fatal(fatal);
    with_control(XK_a);
    desktop().type(typed.c_str());
    // The chooser completes a typed name from the folder's files; the
    // completion it proposes is selected text, which a person deletes.
    run_until([&] {
        GtkEntry* entry = focused_entry(dialog);
        return entry && std::strncmp(gtk_entry_get_text(entry), typed.c_str(), typed.size()) == 0;
    }, 3000);
    run_for(100);
    if (GtkEntry* entry = focused_entry(dialog);
        entry && gtk_editable_get_selection_bounds(GTK_EDITABLE(entry), nullptr, nullptr))
        desktop().key(XK_Delete);
    run_until([&] {
        GtkEntry* entry = focused_entry(dialog);
        return entry && typed == gtk_entry_get_text(entry);
    }, 2000);
    run_for(500);  // the chooser has looked the typed folder up
    // A list of completions, when the chooser shows one, takes the first
    // Return; a person presses it again while the chooser is still there.
    // No key may follow once it answered: it would reach the chooser as GTK
    // takes it apart.
    bool answered = false;
    const gulong handler = g_signal_connect_swapped(
        dialog, "response", G_CALLBACK(+[](bool* flag) { *flag = true; }), &answered);
    for (int presses = 0; presses < 2 && !answered; ++presses) {
        desktop().key(XK_Return);
        run_until([&] { return answered; }, 1500);
    }
    g_signal_handler_disconnect(dialog, handler);
}

void act(const Answer& answer, GtkWidget* dialog) {
    switch (answer.act) {
    case Answer::Act::press:
        if (GtkWidget* button = dialog_button(dialog, label_of(answer.button))) click_on(button);
        break;
    case Answer::Act::choose:
        type_location(dialog, answer.path);
        break;
    case Answer::Act::cancel:
        wait_folder_shown(dialog);
        desktop().focus(dialog);
        run_until([dialog] { return gtk_window_is_active(GTK_WINDOW(dialog)); }, 2000);
        desktop().key(XK_Escape);
        break;
    }
}

// Shown and not yet answered.
GtkWidget* new_dialog() {
    GtkWidget* found = nullptr;
    GList* toplevels = gtk_window_list_toplevels();
    for (GList* item = toplevels; item && !found; item = item->next)
        if (GTK_IS_DIALOG(item->data) && gtk_widget_get_mapped(GTK_WIDGET(item->data)) &&
            !g_object_get_data(G_OBJECT(item->data), ANSWERED))
            found = GTK_WIDGET(item->data);
    g_list_free(toplevels);
    return found;
}

// Closes a dialog that no answer closed, so that the program goes on.
void close_unanswered(GtkWidget* dialog) {
    if (GTK_IS_FILE_CHOOSER(dialog)) {
        gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_CANCEL);
        return;
    }
    for (int button : {ANSWER_CANCEL, ANSWER_OK, ANSWER_NO})
        if (dialog_button(dialog, label_of(button))) {
            gtk_dialog_response(GTK_DIALOG(dialog), button);
            return;
        }
}

}  // namespace

struct Person::State {
    std::vector<Answer> answers;
    std::size_t next = 0;
    std::vector<SeenDialog> seen;
    GtkWidget* pending = nullptr;  // seen mapped once: answered on the next tick, once drawn
    guint source = 0;
    std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::now() + DIALOG_TIMEOUT;

    static gboolean tick(gpointer data) {
        static_cast<State*>(data)->look();
        return G_SOURCE_CONTINUE;
    }

    void look() {
        GtkWidget* dialog = new_dialog();
        if (!dialog || dialog != pending) {
            pending = dialog;
            if (std::chrono::steady_clock::now() > deadline) close_stuck();
            return;
        }
        pending = nullptr;
        g_object_set_data(G_OBJECT(dialog), ANSWERED, dialog);
        SeenDialog view{wide_of(gtk_window_get_title(GTK_WINDOW(dialog))), {}};
        if (GTK_IS_MESSAGE_DIALOG(dialog)) {
            gchar* text = nullptr;
            g_object_get(dialog, "text", &text, nullptr);
            view.text = wide_of(text);
            g_free(text);
        }
        seen.push_back(view);
        if (next < answers.size()) {
            act(answers[next++], dialog);
        } else {
            close_unanswered(dialog);
        }
        deadline = std::chrono::steady_clock::now() + DIALOG_TIMEOUT;
    }

    // A dialog answered but still open long after: the answer did not take.
    void close_stuck() {
        GList* toplevels = gtk_window_list_toplevels();
        for (GList* item = toplevels; item; item = item->next)
            if (GTK_IS_DIALOG(item->data) && gtk_widget_get_mapped(GTK_WIDGET(item->data)) &&
                g_object_get_data(G_OBJECT(item->data), ANSWERED))
                close_unanswered(GTK_WIDGET(item->data));
        g_list_free(toplevels);
        deadline = std::chrono::steady_clock::now() + DIALOG_TIMEOUT;
    }
};

Person::Person(std::vector<Answer> answers) : state_(new State) {
    state_->answers = std::move(answers);
    state_->source = g_timeout_add(30, State::tick, state_);
}

Person::~Person() {
    done();
    delete state_;
}

std::vector<SeenDialog> Person::done() {
    if (state_->source) g_source_remove(state_->source);
    state_->source = 0;
    return state_->seen;
}

std::wstring as_shown(const std::wstring& text) {
    std::wstring shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'\r') shown += text[i];
        else if (i + 1 >= text.size() || text[i + 1] != L'\n') shown += L'\n';
    }
    return shown;
}
