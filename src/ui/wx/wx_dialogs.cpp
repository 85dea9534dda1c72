// The dialogs: the system's own message boxes and file chooser, which a
// screen reader knows, and our input dialogs, each field labelled by its
// prompt.
#include <wx/filedlg.h>
#include <wx/msgdlg.h>

#include "ui/file_choice.h"
#include "ui/wx/input_dialogs.h"
#include "ui/wx/wx_window_ui.h"

namespace orvela::ui::wx {

namespace {
wxString W(const std::string& s) { return wxString::FromUTF8(s); }
std::string U(const wxString& s) { return std::string(s.utf8_str()); }
}  // namespace

void WxUi::message_box(const std::string& title, const std::string& text) {
  wxMessageDialog dlg(parent(), W(text), W(title), wxOK | wxICON_INFORMATION);
  dlg.ShowModal();
}

bool WxUi::ask(const std::string& title, const std::string& question, bool default_yes) {
  wxMessageDialog dlg(parent(), W(question), W(title),
                      wxYES_NO | wxICON_QUESTION | (default_yes ? wxYES_DEFAULT : wxNO_DEFAULT));
  return dlg.ShowModal() == wxID_YES;
}

std::optional<std::string> WxUi::read_string(const std::string& title, const std::string& prompt,
                                             const std::string& initial, bool password) {
  TextDialog dlg(parent(), W(title), W(prompt), W(initial),
                 password ? TextDialog::Kind::Password : TextDialog::Kind::Line);
  if (dlg.ShowModal() != wxID_OK) return std::nullopt;
  return U(dlg.value());
}

std::optional<std::string> WxUi::read_multiline(const std::string& title, const std::string& prompt,
                                                const std::string& text, bool read_only) {
  TextDialog dlg(parent(), W(title), W(prompt), W(text),
                 read_only ? TextDialog::Kind::ReadOnlyLines : TextDialog::Kind::Lines);
  if (dlg.ShowModal() != wxID_OK) return std::nullopt;
  return U(dlg.value());
}

std::optional<std::size_t> WxUi::read_list(const std::string& title, const std::string& prompt,
                                           const std::vector<std::string>& entries,
                                           std::size_t preselect) {
  wxArrayString choices;
  for (const std::string& e : entries) choices.Add(W(e));
  const int first =
      entries.empty() ? wxNOT_FOUND : static_cast<int>(preselect < entries.size() ? preselect : 0);
  ListDialog dlg(parent(), W(title), W(prompt), choices, first);
  if (dlg.ShowModal() != wxID_OK || entries.empty()) return std::nullopt;
  const int sel = dlg.selection();
  if (sel < 0) return std::nullopt;
  return static_cast<std::size_t>(sel);
}

std::optional<std::filesystem::path> WxUi::choose_file(FileMode mode, const std::string& title,
                                                       const std::vector<FileFilter>& filters,
                                                       const std::filesystem::path& initial,
                                                       const std::string& default_ext) {
  long style = wxFD_OPEN | wxFD_FILE_MUST_EXIST;
  if (mode == WGFSAVEAS) style = wxFD_SAVE | wxFD_OVERWRITE_PROMPT;
  if (mode == WGFSAVEASNOASK) style = wxFD_SAVE;
  std::error_code ec;
  const bool is_dir = std::filesystem::is_directory(initial, ec);
  const wxString dir = W((is_dir ? initial : initial.parent_path()).string());
  const wxString name = is_dir ? wxString() : W(initial.filename().string());
  const wxString wildcard =
      filters.empty() ? wxString(wxFileSelectorDefaultWildcardStr) : W(filter_text(filters));
  wxFileDialog dlg(parent(), W(title), dir, name, wildcard, style);
  if (dlg.ShowModal() != wxID_OK) return std::nullopt;
  // A name typed without an extension takes that of the filter chosen, if
  // it names one (saving as GPX by choosing its filter), else the default.
  const auto index = static_cast<std::size_t>(dlg.GetFilterIndex());
  const std::string chosen_ext = index < filters.size() ? filter_ext(filters[index]) : "";
  return with_default_ext(std::filesystem::path(U(dlg.GetPath())), mode,
                          chosen_ext.empty() ? default_ext : chosen_ext);
}

}  // namespace orvela::ui::wx
