#pragma once
// The input dialogs: a prompt above one field (a line of text, several
// lines, or a list) and OK and Cancel. They are built here rather than
// taken from wxWidgets, so that a screen reader meets real dialogs: role
// dialog, the field labelled by its prompt (a list by its own widget, not
// the scrolled frame around it), and a read-only text that is read-only.
#include <wx/arrstr.h>
#include <wx/dialog.h>

class wxListBox;
class wxTextCtrl;

namespace orvela::ui::wx {

class TextDialog final : public wxDialog {
 public:
  enum class Kind { Line, Password, Lines, ReadOnlyLines };
  TextDialog(wxWindow* parent, const wxString& title, const wxString& prompt, const wxString& text,
             Kind kind);
  wxString value() const;

 private:
  wxTextCtrl* field_;
};

class ListDialog final : public wxDialog {
 public:
  // `selection` is the entry selected at the start (wxNOT_FOUND: none).
  ListDialog(wxWindow* parent, const wxString& title, const wxString& prompt,
             const wxArrayString& entries, int selection);
  // The chosen entry, or wxNOT_FOUND.
  int selection() const;

 private:
  wxListBox* list_;
};

}  // namespace orvela::ui::wx
