// The requesters of the desktop edition, on GTK 3 (X11 or Wayland): the input window with the
// Windows edition's caption, prompt, one-line field and "Ok", and the notes as message dialogs.
// GTK starts at the first request; each request runs a nested main loop until the user answers.
// The program's texts are windows-1252 bytes and GTK's are UTF-8: both ways convert here.
#include "runtime/strings.h"
#include "ui/requesters.h"

#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>

namespace {

// --- windows-1252 and UTF-8 ---------------------------------------------------------------------

// The bytes 0x80 to 0x9F of windows-1252; the five it leaves out stand for themselves, as the
// web edition reads them. Every other byte is its Latin-1 character.
constexpr gunichar AnsiHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// `text` as UTF-8, in a string the caller frees with g_free.
gchar* AnsiToUtf8(const char* text) {
    GString* utf8 = g_string_new(nullptr);
    for (const char* at = text; *at; ++at) {
        const auto byte = static_cast<unsigned char>(*at);
        g_string_append_unichar(utf8, byte >= 0x80 && byte < 0xA0 ? AnsiHigh[byte - 0x80] : byte);
    }
    return g_string_free(utf8, FALSE);
}

// The windows-1252 byte of `character`; "?" where it has none, as Windows converts the text of
// an ANSI window.
char AnsiByte(gunichar character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return static_cast<char>(character);
    for (unsigned index = 0; index < G_N_ELEMENTS(AnsiHigh); ++index)
        if (AnsiHigh[index] == character) return static_cast<char>(0x80 + index);
    return '?';
}

// --- GTK -------------------------------------------------------------------------------------

// Starts GTK on the first request. Without a display the program cannot ask at all: it says so
// and ends, before anything is computed.
void GtkStart() {
    static bool started = false;
    if (started) return;
    started = true;
    g_set_prgname("primteiler-gtk"); // the desktop entry's name: the windows' class and app id
    if (!gtk_init_check(nullptr, nullptr)) {
        const char* display = g_getenv("WAYLAND_DISPLAY");
        if (!display) display = g_getenv("DISPLAY");
        std::fprintf(stderr, "primteiler-gtk: cannot open display: %s\n",
                     display ? display : "neither DISPLAY nor WAYLAND_DISPLAY is set");
        std::exit(static_cast<int>(ExitNoDisplay));
    }
}

// Destroys `window` and lets the display take it down now, not when the program next waits:
// the computations that follow may take seconds.
void WindowGone(GtkWidget* window) {
    gtk_widget_destroy(window);
    while (gtk_events_pending())
        gtk_main_iteration_do(FALSE);
    gdk_display_flush(gdk_display_get_default());
}

// The input window's state while its loop runs.
struct InputWindow {
    GtkWidget* field;
    GMainLoop* loop;
    char* result;       // the workspace position where the entry goes
    std::size_t limit;  // bytes of the entry kept, its NUL not counted
    std::size_t length; // bytes kept: 0 after a cancel
};

// Confirmed: the field's text, as windows-1252, cut to the limit.
void InputConfirmed(InputWindow& input) {
    const gchar* text = gtk_entry_get_text(GTK_ENTRY(input.field));
    for (const gchar* at = text; *at && input.length < input.limit; at = g_utf8_next_char(at))
        input.result[input.length++] = AnsiByte(g_utf8_get_char(at));
    g_main_loop_quit(input.loop);
}

void InputCancelled(InputWindow& input) {
    input.length = 0;
    g_main_loop_quit(input.loop);
}

void OnOk(GtkButton*, gpointer input) {
    InputConfirmed(*static_cast<InputWindow*>(input));
}

// Escape cancels, wherever the focus is; every other key goes on to the focused control.
gboolean OnKey(GtkWidget*, GdkEventKey* event, gpointer input) {
    if (event->keyval != GDK_KEY_Escape) return FALSE;
    InputCancelled(*static_cast<InputWindow*>(input));
    return TRUE;
}

// The window's close button cancels; the window goes once the loop has ended.
gboolean OnClose(GtkWidget*, GdkEvent*, gpointer input) {
    InputCancelled(*static_cast<InputWindow*>(input));
    return TRUE;
}

// The largest height a note's text may take: the work area less room for the caption and OK.
int NoteTextHeight() {
    GdkDisplay* display = gdk_display_get_default();
    GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
    if (!monitor) monitor = gdk_display_get_monitor(display, 0);
    GdkRectangle area = {0, 0, 800, 600}; // a monitor that cannot be asked
    if (monitor) gdk_monitor_get_workarea(monitor, &area);
    return area.height > 400 ? area.height - 200 : area.height / 2;
}

} // namespace

void RequesterStart(void* /*instance: no window class here*/) {}

char* InputRequester(const char* caption, const char* prompt, const char* presetText) {
    char* result = WorkspacePosition();
    GtkStart();
    const std::size_t room = WorkspaceRoom();
    InputWindow input = {nullptr, g_main_loop_new(nullptr, FALSE), result,
                         (room < InputLimit ? room : InputLimit) - 1, 0};

    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gchar* title = AnsiToUtf8(caption);
    gtk_window_set_title(GTK_WINDOW(window), title);
    g_free(title);
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
    gtk_window_set_default_size(GTK_WINDOW(window), 300, -1);

    GtkWidget* client = gtk_box_new(GTK_ORIENTATION_VERTICAL, 6);
    gtk_container_set_border_width(GTK_CONTAINER(client), 10);
    gtk_container_add(GTK_CONTAINER(window), client);
    gchar* promptText = AnsiToUtf8(prompt);
    GtkWidget* label = gtk_label_new(promptText);
    gtk_label_set_xalign(GTK_LABEL(label), 0);
    gtk_box_pack_start(GTK_BOX(client), label, FALSE, FALSE, 0);
    input.field = gtk_entry_new();
    gtk_entry_set_activates_default(GTK_ENTRY(input.field), TRUE);
    // The prompt labels the field, for a screen reader as for the eye: GTK 3 relates the two
    // but leaves the field's accessible name empty.
    gtk_label_set_mnemonic_widget(GTK_LABEL(label), input.field);
    atk_object_set_name(gtk_widget_get_accessible(input.field), promptText);
    g_free(promptText);
    gtk_box_pack_start(GTK_BOX(client), input.field, FALSE, FALSE, 0);
    GtkWidget* ok = gtk_button_new_with_label("Ok");
    gtk_widget_set_halign(ok, GTK_ALIGN_CENTER);
    gtk_widget_set_size_request(ok, 80, -1);
    gtk_widget_set_margin_top(ok, 8);
    gtk_widget_set_can_default(ok, TRUE);
    gtk_box_pack_start(GTK_BOX(client), ok, FALSE, FALSE, 0);

    g_signal_connect(ok, "clicked", G_CALLBACK(OnOk), &input);
    g_signal_connect(window, "key-press-event", G_CALLBACK(OnKey), &input);
    g_signal_connect(window, "delete-event", G_CALLBACK(OnClose), &input);
    gtk_widget_grab_default(ok); // Enter in the field presses Ok
    gtk_widget_grab_focus(input.field);
    if (presetText) {
        gchar* preset = AnsiToUtf8(presetText);
        gtk_entry_set_text(GTK_ENTRY(input.field), preset);
        g_free(preset);
        gtk_editable_select_region(GTK_EDITABLE(input.field), -1, -1); // caret at the end
    }
    gtk_widget_show_all(window);
    gtk_window_present(GTK_WINDOW(window));

    g_main_loop_run(input.loop);
    g_main_loop_unref(input.loop);
    WindowGone(window);
    result[input.length] = '\0';
    WorkspaceAdvance(input.length);
    return result;
}

int NoteRequester(const char* caption, const char* text, ULong /*flags: 0, one OK button*/) {
    GtkStart();
    GtkWidget* dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_OTHER,
                                               GTK_BUTTONS_NONE, "%s", "");
    gchar* title = AnsiToUtf8(caption);
    gtk_window_set_title(GTK_WINDOW(dialog), title);
    g_free(title);
    gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
    gtk_dialog_add_button(GTK_DIALOG(dialog), "OK", GTK_RESPONSE_OK);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);

    // The text in the dialog's own label, moved into a pane that scrolls when the text is taller
    // than the screen allows: OK stays in view below it.
    GtkWidget* area = gtk_message_dialog_get_message_area(GTK_MESSAGE_DIALOG(dialog));
    GList* labels = gtk_container_get_children(GTK_CONTAINER(area));
    GtkWidget* label = GTK_WIDGET(labels->data); // the first one: the primary text
    g_list_free(labels);
    gchar* body = AnsiToUtf8(text);
    gtk_label_set_text(GTK_LABEL(label), body);
    g_free(body);
    gtk_label_set_line_wrap_mode(GTK_LABEL(label), PANGO_WRAP_WORD_CHAR);
    gtk_label_set_selectable(GTK_LABEL(label), TRUE); // a tab stop: the pane scrolls by keyboard
    gtk_label_set_max_width_chars(GTK_LABEL(label), 80);
    g_object_ref(label);
    gtk_container_remove(GTK_CONTAINER(area), label);
    GtkWidget* pane = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(pane), GTK_POLICY_NEVER,
                                   GTK_POLICY_AUTOMATIC);
    gtk_scrolled_window_set_propagate_natural_width(GTK_SCROLLED_WINDOW(pane), TRUE);
    gtk_scrolled_window_set_propagate_natural_height(GTK_SCROLLED_WINDOW(pane), TRUE);
    gtk_scrolled_window_set_max_content_height(GTK_SCROLLED_WINDOW(pane), NoteTextHeight());
    gtk_container_add(GTK_CONTAINER(pane), label);
    g_object_unref(label);
    gtk_box_pack_start(GTK_BOX(area), pane, TRUE, TRUE, 0);
    gtk_widget_show_all(pane);
    gtk_widget_grab_focus(gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK));

    gtk_dialog_run(GTK_DIALOG(dialog)); // OK, Enter, Escape and the close button all answer OK
    WindowGone(dialog);
    return 1; // IDOK
}
