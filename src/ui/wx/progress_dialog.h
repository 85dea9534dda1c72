#pragma once
// The background task's dialog: a title, a label, a read-only text with the
// latest progress (it has the focus, so a screen reader reads it), a greyed
// OK button and Cancel. It closes only when the worker has ended.
#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "ui/bg_runner.h"

namespace orvela::ui::wx {

class ProgressDialog final : public wxDialog, public BgView {
 public:
  ProgressDialog(wxWindow* parent, const BgTexts& texts);
  // Runs the task behind the dialog; returns when the worker has ended.
  BgResult run(BgTask task);

  void set_text(BgTarget target, const std::string& text) override;
  void close() override;

 private:
  void on_cancel(wxCommandEvent&);
  void on_close_box(wxCloseEvent&);
  void on_idle(wxIdleEvent&);

  wxStaticText* label_;
  wxTextCtrl* text_;
  wxButton* cancel_;
  BgRunner* runner_ = nullptr;
  bool ended_ = false;
};

}  // namespace orvela::ui::wx
