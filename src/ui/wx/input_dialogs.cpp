#include "ui/wx/input_dialogs.h"

#include <wx/listbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "ui/wx/gtk_access.h"

namespace orvela::ui::wx {

namespace {

// wxWidgets ties a label to the control after it, and for a list that is
// the scrolled frame around it; a screen reader then reads the list that
// has the focus without its prompt. This label ties itself to the list's
// own widget instead, now and whenever wxWidgets ties it again.
class ListPrompt final : public wxStaticText {
 public:
  ListPrompt(wxWindow* parent, const wxString& text) : wxStaticText(parent, wxID_ANY, text) {}
  void label(wxListBox* list) {
    list_ = list;
    GTKWidgetDoSetMnemonic(list_->GetConnectWidget());
  }

 protected:
  void GTKWidgetDoSetMnemonic(GtkWidget* w) override {
    wxStaticText::GTKWidgetDoSetMnemonic(list_ ? list_->GetConnectWidget() : w);
  }

 private:
  wxListBox* list_ = nullptr;
};

// The prompt, the field below it and the buttons below both; the field has
// the focus, Enter is OK (unless the field takes it) and Escape Cancel.
void lay_out(wxDialog& dlg, wxStaticText* prompt, wxWindow* field, const wxSize& field_size) {
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(prompt, wxSizerFlags().Border(wxLEFT | wxRIGHT | wxTOP));
  field->SetMinSize(dlg.FromDIP(field_size));
  top->Add(field, wxSizerFlags(1).Expand().Border());
  top->Add(dlg.CreateStdDialogButtonSizer(wxOK | wxCANCEL),
           wxSizerFlags().Border(wxLEFT | wxRIGHT | wxBOTTOM));
  dlg.SetSizerAndFit(top);
  dlg.CentreOnParent();
  set_dialog_role(dlg);
  field->SetFocus();
}

constexpr long kDialogStyle = wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER;

}  // namespace

TextDialog::TextDialog(wxWindow* parent, const wxString& title, const wxString& prompt,
                       const wxString& text, Kind kind)
    : wxDialog(parent, wxID_ANY, title, wxDefaultPosition, wxDefaultSize, kDialogStyle) {
  long style = 0;
  if (kind == Kind::Password) style = wxTE_PASSWORD;
  if (kind == Kind::Lines) style = wxTE_MULTILINE;
  if (kind == Kind::ReadOnlyLines) style = wxTE_MULTILINE | wxTE_READONLY;
  const bool lines = (style & wxTE_MULTILINE) != 0;
  // The prompt comes first: wxWidgets labels the field with it.
  auto* label = new wxStaticText(this, wxID_ANY, prompt);
  field_ = new wxTextCtrl(this, wxID_ANY, text, wxDefaultPosition, wxDefaultSize, style);
  lay_out(*this, label, field_, lines ? wxSize(620, 340) : wxSize(440, -1));
}

wxString TextDialog::value() const { return field_->GetValue(); }

ListDialog::ListDialog(wxWindow* parent, const wxString& title, const wxString& prompt,
                       const wxArrayString& entries, int selection)
    : wxDialog(parent, wxID_ANY, title, wxDefaultPosition, wxDefaultSize, kDialogStyle) {
  auto* label = new ListPrompt(this, prompt);
  list_ = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, entries, wxLB_SINGLE);
  label->label(list_);
  if (selection != wxNOT_FOUND && selection < static_cast<int>(entries.size()))
    list_->SetSelection(selection);
  // Enter or a double click on an entry chooses it.
  list_->Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent&) { EndModal(wxID_OK); });
  lay_out(*this, label, list_, wxSize(440, 260));
}

int ListDialog::selection() const { return list_->GetSelection(); }

}  // namespace orvela::ui::wx
