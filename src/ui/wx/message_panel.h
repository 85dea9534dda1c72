#pragma once
// The window's client area: the last spoken message in large light text on
// black, for users with some sight. It holds the keyboard focus but takes no
// key itself, so every key goes on to the frame's accelerator table (a frame
// without a focused child of its own hands arrow keys to GTK's focus
// navigation instead).
#include <wx/window.h>

namespace orvela::ui::wx {

class MessagePanel final : public wxWindow {
 public:
  explicit MessagePanel(wxWindow* parent);
  void set_message(const wxString& text);
  bool AcceptsFocus() const override { return true; }

 private:
  void on_paint(wxPaintEvent& e);
  wxString text_;
};

}  // namespace orvela::ui::wx
