#include "ui/wx/message_view.h"

#include "ui/wx/gtk_access.h"

namespace orvela::ui::wx {

MessageView::MessageView(wxWindow* parent)
    : wxNativeWindow(parent, wxID_ANY, new_message_widget()) {}

void MessageView::set_message(const wxString& text) {
  wxString t = text;
  t.Replace("\r\n", "\n");
  t.Replace("\r", "\n");
  set_message_widget_text(GetHandle(), t.utf8_str());
}

void MessageView::focus() {
  set_message_widget_focusable(GetHandle(), true);
  SetFocus();
}

}  // namespace orvela::ui::wx
