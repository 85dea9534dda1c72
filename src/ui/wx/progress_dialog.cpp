#include "ui/wx/progress_dialog.h"

#include <wx/app.h>
#include <wx/sizer.h>

#include "ui/wx/gtk_access.h"

namespace orvela::ui::wx {

ProgressDialog::ProgressDialog(wxWindow* parent, const BgTexts& texts)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8(texts.title)) {
  auto* top = new wxBoxSizer(wxVERTICAL);
  label_ = new wxStaticText(this, wxID_ANY, wxString::FromUTF8(texts.label));
  text_ = new wxTextCtrl(this, wxID_ANY, wxString::FromUTF8(texts.text), wxDefaultPosition,
                         wxSize(480, -1), wxTE_READONLY);
  top->Add(label_, wxSizerFlags().Border(wxLEFT | wxRIGHT | wxTOP));
  top->Add(text_, wxSizerFlags().Expand().Border());
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  auto* ok = new wxButton(this, wxID_OK);
  ok->Disable();
  cancel_ = new wxButton(this, wxID_CANCEL);
  buttons->Add(ok, wxSizerFlags().Border(wxRIGHT));
  buttons->Add(cancel_);
  top->Add(buttons, wxSizerFlags().Border(wxLEFT | wxRIGHT | wxBOTTOM));
  SetSizerAndFit(top);
  CentreOnParent();
  set_dialog_role(*this);
  text_->SetFocus();
  // Escape and the Cancel button both come here; the close box too.
  Bind(wxEVT_BUTTON, &ProgressDialog::on_cancel, this, wxID_CANCEL);
  Bind(wxEVT_CLOSE_WINDOW, &ProgressDialog::on_close_box, this);
  Bind(wxEVT_IDLE, &ProgressDialog::on_idle, this);
}

BgResult ProgressDialog::run(BgTask task) {
  BgRunner runner(
      std::move(task), [](std::function<void()> fn) { wxTheApp->CallAfter(std::move(fn)); }, *this);
  runner_ = &runner;
  runner.start();
  if (!ended_) ShowModal();
  runner_ = nullptr;
  return runner.finish();
}

void ProgressDialog::set_text(BgTarget target, const std::string& text) {
  const wxString s = wxString::FromUTF8(text);
  if (target == BGPROCESTYT)
    SetTitle(s);
  else if (target == BGPROCESNAZWA)
    label_->SetLabel(s);
  else
    text_->ChangeValue(s);
}

void ProgressDialog::close() {
  ended_ = true;
  if (IsModal()) EndModal(wxID_OK);
}

void ProgressDialog::on_cancel(wxCommandEvent&) {
  cancel_->Disable();
  if (runner_) runner_->cancel();
}

void ProgressDialog::on_close_box(wxCloseEvent& e) {
  // The dialog may not vanish under a running worker: the close box
  // cancels, the worker's end closes.
  if (e.CanVeto()) e.Veto();
  wxCommandEvent none;
  if (cancel_->IsEnabled()) on_cancel(none);
}

void ProgressDialog::on_idle(wxIdleEvent& e) {
  // The worker's end handled before the modal loop began still closes it.
  if (ended_ && IsModal()) EndModal(wxID_OK);
  e.Skip();
}

}  // namespace orvela::ui::wx
