#pragma once
// What wxWidgets does not tell a screen reader on GTK, told through GTK
// and ATK: the main view's message as text, dialogs as dialogs, and the main
// window's states once it is really on screen. Only gtk_access.cpp sees GTK.
#include <wx/defs.h>

class wxFrame;
class wxTopLevelWindow;

namespace orvela::ui::wx {

// A new GTK widget that paints a message in large yellow text on black and
// takes the keyboard focus but no key. A screen reader finds it as a
// read-only text holding the message (for its review commands, and when the
// window comes back to the front).
GtkWidget* new_message_widget();
// The widget's message (UTF-8). The change is not announced: the program
// speaks its messages itself, and a screen reader that read them out as
// well would say everything twice.
void set_message_widget_text(GtkWidget* widget, const char* text);

// Makes a wxDialog a dialog for a screen reader too (GTK reports every
// plain window as a frame).
void set_dialog_role(wxTopLevelWindow& dialog);

// Tells the accessibility bus of `frame`'s menu bar. GTK packs a menu bar
// into its window without a word to the bus, so a screen reader would not
// know the menus of a bar set while the window is on screen: F10 would
// open them in silence.
void announce_menu_bar(wxFrame& frame);

// Tells the accessibility bus again that `window` is showing and active.
// A screen reader that looked at the window in the instant before it was
// mapped takes it for hidden and stays silent; this sets it right.
void report_window_states(wxTopLevelWindow& window);

}  // namespace orvela::ui::wx
