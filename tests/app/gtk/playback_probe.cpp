// The GStreamer playbin of movie 0 and the GTK toolbar's toggle buttons.
#include "tests/app/playback_probe.h"

#include <gtk/gtk.h>

#include <cmath>

#include "app/app_state.h"
#include "runtime/gui/toolbar.h"
#include "runtime/media/gst/movie_record.h"

namespace {

MovieRecord* song() {
    ObjectTable<MovieRecord>* movies = movie_table();
    return movies ? movies->find(0) : nullptr;
}

}  // namespace

EngineState engine_state() {
    MovieRecord* movie = song();
    if (!movie) return EngineState::none;
    GstState state = GST_STATE_NULL;
    if (gst_element_get_state(movie->playbin, &state, nullptr, 20 * GST_SECOND) == GST_STATE_CHANGE_FAILURE)
        return EngineState::none;
    if (state == GST_STATE_PLAYING) return EngineState::running;
    if (state == GST_STATE_PAUSED) return EngineState::paused;
    return EngineState::stopped;
}

std::u16string playing_path() {
    MovieRecord* movie = song();
    if (!movie) return u"";
    gchar* uri = nullptr;
    g_object_get(movie->playbin, "current-uri", &uri, nullptr);
    gchar* name = uri ? g_filename_from_uri(uri, nullptr, nullptr) : nullptr;
    gunichar2* text = name ? g_utf8_to_utf16(name, -1, nullptr, nullptr, nullptr) : nullptr;
    const std::u16string path = text ? reinterpret_cast<const char16_t*>(text) : u"";
    g_free(text);
    g_free(name);
    g_free(uri);
    return path;
}

// The playbin's linear volume as the level it stands for: 10^(level / 2000).
long song_level() {
    MovieRecord* movie = song();
    if (!movie) return 1;
    gdouble volume = 0;
    g_object_get(movie->playbin, "volume", &volume, nullptr);
    return volume > 0 ? std::lround(2000 * std::log10(volume)) : -10000;
}

const void* song_record() { return song(); }

const void* song_engine() {
    MovieRecord* movie = song();
    return movie ? movie->playbin : nullptr;
}

long long song_position() {
    MovieRecord* movie = song();
    gint64 position = -1;
    return movie && gst_element_query_position(movie->playbin, GST_FORMAT_TIME, &position) ? position : -1;
}

long long song_duration() {
    MovieRecord* movie = song();
    gint64 duration = -1;
    return movie && gst_element_query_duration(movie->playbin, GST_FORMAT_TIME, &duration) ? duration : -1;
}

bool pressed(int button) {
    auto* toolbar = GTK_TOOLBAR(reinterpret_cast<GtkWidget*>(toolbar_handle(MAIN_TOOLBAR)));
    for (int i = 0; i < gtk_toolbar_get_n_items(toolbar); ++i) {
        GtkToolItem* item = gtk_toolbar_get_nth_item(toolbar, i);
        if (GTK_IS_TOGGLE_TOOL_BUTTON(item) &&
            GPOINTER_TO_INT(g_object_get_data(G_OBJECT(item), "qx_button_id")) == button)
            return gtk_toggle_tool_button_get_active(GTK_TOGGLE_TOOL_BUTTON(item));
    }
    return false;
}
