// The person answering requesters under GTK: from inside the loop the
// requester runs, once a dialog is shown and drawn, they look at it and then
// click its button, or type the path into its name field and press Return,
// through the X server. A later dialog is refused with Escape.
#include "tests/support/person_requester.h"

#include <X11/keysym.h>
#include <gtk/gtk.h>

#include <set>
#include <utility>

#include "runtime/gui/window.h"
#include "tests/support/gtk_desktop.h"

namespace {

constexpr int MOST_WINDOWS = 16;

std::u16string utf16(const char* utf8) {
    if (!utf8) return u"";
    gunichar2* converted = g_utf8_to_utf16(utf8, -1, nullptr, nullptr, nullptr);
    std::u16string result(converted ? reinterpret_cast<char16_t*>(converted) : u"");
    g_free(converted);
    return result;
}

const char* label_of(Press button, GtkWidget* dialog) {
    const bool chooser = GTK_IS_FILE_CHOOSER(dialog);
    switch (button) {
        case Press::Ok:
            if (!chooser) return "_OK";
            return gtk_file_chooser_get_action(GTK_FILE_CHOOSER(dialog)) == GTK_FILE_CHOOSER_ACTION_SAVE ? "_Save"
                                                                                                          : "_Open";
        case Press::Cancel: return "_Cancel";
        case Press::Yes: return "_Yes";
        case Press::No: return "_No";
        default: return "";
    }
    return "_Cancel";
}

void click_on(GtkWidget* widget) {
    const ScreenBox box = screen_box(widget);
    person_desktop().click(box.x + box.width / 2, box.y + box.height / 2);
    run_for(100);
}

}  // namespace

struct RequesterAnswer::Watch {
    Act act;
    std::vector<std::pair<ObjectNumber, GtkWidget*>> windows;  // the runtime's, open when the person sat down
    SeenRequester seen;
    bool answered = false;
    gint64 answered_at = 0;  // microseconds, monotonic
    bool closed_by_force = false;
    std::set<GtkWidget*> met;
    GtkWidget* candidate = nullptr;
    guint source = 0;

    void look(GtkWidget* dialog) {
        seen.title = utf16(gtk_window_get_title(GTK_WINDOW(dialog)));
        GtkWidget* owner = GTK_WIDGET(gtk_window_get_transient_for(GTK_WINDOW(dialog)));
        for (const auto& [number, window] : windows) {
            seen.taking_input[number] = gtk_widget_get_sensitive(window);
            if (window == owner) seen.owner = number;
        }
        if (GTK_IS_MESSAGE_DIALOG(dialog)) {
            gchar* message = nullptr;
            GtkMessageType type = GTK_MESSAGE_OTHER;
            g_object_get(dialog, "text", &message, "message-type", &type, nullptr);
            seen.text = utf16(message);
            g_free(message);
            seen.icon = type == GTK_MESSAGE_QUESTION ? Icon::Question
                        : type == GTK_MESSAGE_INFO   ? Icon::Information
                                                     : Icon::None;
            for (Press b : {Press::Ok, Press::Cancel, Press::Yes, Press::No})
                if (dialog_button(dialog, label_of(b, dialog))) seen.buttons.push_back(b);
        }
        if (GTK_IS_FILE_CHOOSER(dialog)) {
            auto* chooser = GTK_FILE_CHOOSER(dialog);
            if (gtk_file_chooser_get_action(chooser) == GTK_FILE_CHOOSER_ACTION_SAVE) {
                gchar* name = gtk_file_chooser_get_current_name(chooser);
                seen.name = utf16(name);
                g_free(name);
            }
            gchar* folder = gtk_file_chooser_get_current_folder(chooser);
            seen.folder = folder ? folder : "";
            g_free(folder);
            GtkFileFilter* selected = gtk_file_chooser_get_filter(chooser);
            GSList* filters = gtk_file_chooser_list_filters(chooser);
            for (GSList* item = filters; item; item = item->next) {
                if (item->data == selected) seen.file_type = static_cast<int>(seen.file_types.size());
                seen.file_types.push_back(utf16(gtk_file_filter_get_name(GTK_FILE_FILTER(item->data))));
            }
            g_slist_free(filters);
        }
    }
    // Clicks into the name field (an open dialog shows it on Ctrl+L), types
    // the path over what it holds, and confirms.
    void type_path(GtkWidget* dialog) {
        if (gtk_file_chooser_get_action(GTK_FILE_CHOOSER(dialog)) == GTK_FILE_CHOOSER_ACTION_OPEN) {
            person_desktop().key_down(XK_Control_L);
            person_desktop().key(XK_l);
            person_desktop().key_up(XK_Control_L);
            run_for(200);
        }
        GtkWidget* entry = dialog_part(dialog, GTK_TYPE_ENTRY);
        if (!entry) return;
        click_on(entry);
        person_desktop().key_down(XK_Control_L);
        person_desktop().key(XK_a);
        person_desktop().key_up(XK_Control_L);
        person_desktop().type(act.typed->string().c_str());
        run_for(300);  // the dialog looks the typed folder up as it goes
        person_desktop().key(XK_Return);
    }
    void answer(GtkWidget* dialog) {
        answered = true;
        look(dialog);
        if (act.also_look) act.also_look();
        person_desktop().focus(dialog);
        if (act.typed) {
            type_path(dialog);
        } else if (act.button == Press::Close) {
            person_desktop().close_request(dialog);
        } else if (act.button == Press::Escape) {
            person_desktop().key(XK_Escape);
        } else if (GtkWidget* shown = dialog_button(dialog, label_of(act.button, dialog))) {
            click_on(shown);
        }
    }
    // A dialog is answered one tick after it was first seen mapped, so that
    // it has been drawn and laid out as a person would see it. One still
    // open long after the answer is closed, so that the test goes on.
    static gboolean tick(gpointer data) {
        auto* self = static_cast<Watch*>(data);
        const bool overdue = self->answered_at && g_get_monotonic_time() - self->answered_at > G_USEC_PER_SEC * 10;
        GtkWidget* fresh = nullptr;
        GList* toplevels = gtk_window_list_toplevels();
        for (GList* item = toplevels; item; item = item->next) {
            if (!GTK_IS_DIALOG(item->data) || !gtk_widget_get_mapped(GTK_WIDGET(item->data))) continue;
            if (overdue) {
                self->closed_by_force = true;
                gtk_dialog_response(GTK_DIALOG(item->data), GTK_RESPONSE_CANCEL);
            } else if (!fresh && !self->met.count(GTK_WIDGET(item->data))) {
                fresh = GTK_WIDGET(item->data);
            }
        }
        g_list_free(toplevels);
        if (!fresh || fresh != self->candidate) {
            self->candidate = fresh;
            return G_SOURCE_CONTINUE;
        }
        self->met.insert(fresh);
        if (self->met.size() == 1) {
            self->answer(fresh);
            self->answered_at = g_get_monotonic_time();
        } else {
            person_desktop().focus(fresh);
            person_desktop().key(XK_Escape);
        }
        return G_SOURCE_CONTINUE;
    }
};

RequesterAnswer::RequesterAnswer(Press button, std::function<void()> also_look) : watch_(new Watch) {
    watch_->act = {button, std::move(also_look), {}};
    for (ObjectNumber number = 0; number < MOST_WINDOWS; ++number)
        if (auto* window = reinterpret_cast<GtkWidget*>(window_handle(number))) watch_->windows.emplace_back(number, window);
    watch_->source = g_timeout_add(30, Watch::tick, watch_.get());
}

RequesterAnswer::RequesterAnswer(std::filesystem::path typed) : RequesterAnswer(Press::Ok) {
    watch_->act.typed = std::move(typed);
}

RequesterAnswer::~RequesterAnswer() { g_source_remove(watch_->source); }

bool RequesterAnswer::answered() const { return watch_->answered && !watch_->closed_by_force; }

int RequesterAnswer::requesters_shown() const { return static_cast<int>(watch_->met.size()); }

const SeenRequester& RequesterAnswer::seen() const { return watch_->seen; }

bool window_takes_input(ObjectNumber window) {
    return gtk_widget_get_sensitive(reinterpret_cast<GtkWidget*>(window_handle(window)));
}

void disable_window(ObjectNumber window) {
    gtk_widget_set_sensitive(reinterpret_cast<GtkWidget*>(window_handle(window)), FALSE);
}

void bring_to_front(ObjectNumber window) {
    auto* widget = reinterpret_cast<GtkWidget*>(window_handle(window));
    wait_drawn(widget);
    person_desktop().focus(widget);
    run_until([&] { return gtk_window_is_active(GTK_WINDOW(widget)); });
}
