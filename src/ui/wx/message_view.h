#pragma once
// The window's client area: the last spoken message in large light text on
// black, for users with some sight. It holds the keyboard focus but takes no
// key itself, so every key goes on to the frame's accelerator table (a frame
// without a focused child of its own hands arrow keys to GTK's focus
// navigation instead). A screen reader finds it as a read-only text holding
// the message, for its review commands and when the window comes back to
// the front.
#include <wx/nativewin.h>

namespace orvela::ui::wx {

class MessageView final : public wxNativeWindow {
 public:
  // The view takes the focus only once focus() has been called.
  explicit MessageView(wxWindow* parent);
  void set_message(const wxString& text);
  void focus();
};

}  // namespace orvela::ui::wx
