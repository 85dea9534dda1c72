#pragma once
// What wxWidgets does not tell a screen reader on GTK, told through GTK
// and ATK: the main view's message as text, dialogs as dialogs, and the main
// window's states once it is really on screen. Only gtk_access.cpp sees GTK.
#include <wx/defs.h>

class wxMenuBar;
class wxTopLevelWindow;

namespace orvela::ui::wx {

// A new GTK widget that paints a message in large yellow text on black; it
// takes the keyboard focus (once it is let to) but no key. A screen reader
// finds it as a read-only text holding the message (for its review
// commands, and when the window comes back to the front).
GtkWidget* new_message_widget();
void set_message_widget_focusable(GtkWidget* widget, bool focusable);
// The widget's message (UTF-8). The change is not announced: the program
// speaks its messages itself, and a screen reader that read them out as
// well would say everything twice.
void set_message_widget_text(GtkWidget* widget, const char* text);

// Makes a wxDialog a dialog for a screen reader too (GTK reports every
// plain window as a frame).
void set_dialog_role(wxTopLevelWindow& dialog);

// Tells the accessibility bus of the menus in `bar`. GTK puts menus into a
// menu bar without a word to the bus, so a screen reader would not know the
// menus set while the window is on screen: F10 would open them in silence.
void announce_menus(wxMenuBar& bar);

// Tells the accessibility bus again that `window` is showing and active.
// A screen reader that looked at the window in the instant before it was
// mapped takes it for hidden and stays silent; this sets it right.
void report_window_states(wxTopLevelWindow& window);

}  // namespace orvela::ui::wx
