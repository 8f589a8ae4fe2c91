// The floor of the native start-up benchmark: the platform work the
// program's start must do, with none of its runtime. It starts GTK, checks
// sound and media as the program does (GStreamer started, its sound sink
// made ready, then the playback element looked up), shows the program's
// boxes (the no-sound box only when that check fails, then the testing
// notice), and shows one window of the program's size and colours with a
// toolbar of 15 image buttons, separators where the program has them and
// tooltips, over a tree view of one text column. The pictures are plain
// 16 x 16 pixbufs drawn here, not the program's PNG icons: decoding those is
// the program's own work. Closing the window ends it with exit code 0.
#include <gst/gst.h>
#include <gtk/gtk.h>

#include "bench/gtk/bare_list.h"

namespace {

constexpr char no_sound_title[] = "No sound available!";
constexpr char no_sound_text[] =
    "Unfortunately your sound environment is not present or a codec is missing!\n"
    "You'll need a working audio device to play sound as well as correct codecs.";
constexpr char notice_title[] = "Information on TESTING version";
constexpr char notice_text[] =
    "Please keep in mind: this is a testing version. \n"
    "Some functionality may not work as you might expect.\n\n"
    "Known issues:\n"
    "Songs in Tunelathe can only be played, if the songs are dropped onto a newly created playlist.\n"
    "Loaded playlists can not be played at the moment - please be patient. I'm working on it!"
    "Thank you for testing and using Tunelathe!";

constexpr int IMAGE_SIZE = 16;
constexpr int SEPARATOR = -1;
// The program's toolbar: image per place, separators where it has them.
constexpr int toolbar_images[] = {0, 1, 2, 3, SEPARATOR, 4, 5, 6, 8, SEPARATOR, 9, 10, 11, 13, 12, SEPARATOR,
                                  14, SEPARATOR, 7};
constexpr char COLOURS[] =
    "window { background-color: #708090; }"
    " treeview.view:not(:selected) { color: #fffaf0; background-color: #454545; }";

bool sound_available() {
    if (!gst_init_check(nullptr, nullptr, nullptr)) return false;
    GstElement* sink = gst_element_factory_make("pulsesink", nullptr);
    if (!sink) return false;
    const bool usable = gst_element_set_state(sink, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE;
    gst_element_set_state(sink, GST_STATE_NULL);
    gst_object_unref(sink);
    return usable;
}

bool media_available() {
    GstElementFactory* playbin = gst_element_factory_find("playbin");
    if (playbin) gst_object_unref(playbin);
    return playbin != nullptr;
}

void box(const char* title, const char* text, GtkMessageType icon) {
    GtkWidget* dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, icon, GTK_BUTTONS_NONE, "%s", text);
    gtk_window_set_title(GTK_WINDOW(dialog), title);
    gtk_dialog_add_button(GTK_DIALOG(dialog), "_OK", GTK_RESPONSE_OK);
    gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
}

// A frame and a filled square, each picture in its own colour.
GtkWidget* picture(int image) {
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, IMAGE_SIZE, IMAGE_SIZE);
    guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    for (int y = 0; y < IMAGE_SIZE; ++y) {
        for (int x = 0; x < IMAGE_SIZE; ++x) {
            guchar* p = pixels + y * stride + x * 4;
            const bool frame = x == 0 || x == IMAGE_SIZE - 1 || y == 0 || y == IMAGE_SIZE - 1;
            const bool inside = x >= 4 && x < 12 && y >= 4 && y < 12;
            p[0] = frame ? 0x20 : inside ? static_cast<guchar>(image * 17) : 0xF0;
            p[1] = frame ? 0x20 : inside ? static_cast<guchar>(255 - image * 17) : 0xF0;
            p[2] = frame ? 0x20 : inside ? 0x80 : 0xF0;
            p[3] = 0xFF;
        }
    }
    GtkWidget* widget = gtk_image_new_from_pixbuf(pixbuf);
    g_object_unref(pixbuf);
    return widget;
}

GtkWidget* toolbar() {
    GtkWidget* bar = gtk_toolbar_new();
    gtk_toolbar_set_style(GTK_TOOLBAR(bar), GTK_TOOLBAR_ICONS);
    for (int image : toolbar_images) {
        GtkToolItem* item = image == SEPARATOR ? gtk_separator_tool_item_new()
                                               : gtk_tool_button_new(picture(image), nullptr);
        if (image != SEPARATOR) gtk_tool_item_set_tooltip_text(item, "Tool tip");
        gtk_toolbar_insert(GTK_TOOLBAR(bar), item, -1);
    }
    return bar;
}

void open_window() {
    GtkCssProvider* colours = gtk_css_provider_new();
    gtk_css_provider_load_from_data(colours, COLOURS, -1, nullptr);
    gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(colours),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(colours);

    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), "Start-up floor");
    gtk_window_set_default_size(GTK_WINDOW(window), 830, 620);
    gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
    GtkWidget* layout = gtk_layout_new(nullptr, nullptr);
    GtkWidget* bar = toolbar();
    gtk_widget_set_size_request(bar, 830, -1);
    gtk_layout_put(GTK_LAYOUT(layout), bar, 0, 0);
    GtkListStore* store = nullptr;
    gtk_layout_put(GTK_LAYOUT(layout), bare_list_new(&store), 5, 30);
    gtk_container_add(GTK_CONTAINER(window), layout);
    g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
    gtk_widget_show_all(window);
}

}  // namespace

int main(int argc, char** argv) {
    if (!gtk_init_check(&argc, &argv)) return 1;
    // As in the program: media are checked only once sound works.
    if (!sound_available() || !media_available()) box(no_sound_title, no_sound_text, GTK_MESSAGE_INFO);
    box(notice_title, notice_text, GTK_MESSAGE_OTHER);
    open_window();
    gtk_main();
    return 0;
}
