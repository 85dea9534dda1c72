#include "ui/wx/wx_ui.h"

#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/menu.h>
#include <wx/process.h>
#include <wx/utils.h>

#include <chrono>

#include "ui/file_choice.h"
#include "ui/wx/gtk_access.h"
#include "ui/wx/menu_wx.h"
#include "ui/wx/progress_dialog.h"
#include "ui/wx/wx_window_ui.h"

namespace orvela::ui::wx {

namespace {

class App final : public wxApp {
 public:
  bool OnInit() override { return true; }
};

// Hands a failure that escaped a posted call to the main window, which tells
// the app, as it does for commands.
void report_unexpected(const std::string& what) {
  if (auto* frame = wxTheApp ? dynamic_cast<MainFrame*>(wxTheApp->GetTopWindow()) : nullptr)
    frame->report_unexpected(what);
}

bool is_address(const std::string& s) {
  for (const char* scheme : {"http://", "https://", "ftp://", "mailto:"})
    if (s.rfind(scheme, 0) == 0) return true;
  return false;
}

// Start-up goes on, and the program says its first word, only once the
// window is on screen and in front (see MainFrame::set_handler for what a
// screen reader is then told). Without a window manager that brings it to
// the front, start-up goes on after a few seconds all the same.
void wait_until_on_screen(MainFrame& frame) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!(frame.IsShownOnScreen() && frame.IsActive()) &&
         std::chrono::steady_clock::now() < deadline) {
    wxTheApp->Yield(true);
    wxMilliSleep(10);
  }
}

}  // namespace

std::unique_ptr<Ui> WGINIT(int& argc, char** argv, const WindowOptions& options) {
  wxApp::SetInstance(new App);
  if (!wxEntryStart(argc, argv)) return nullptr;  // no display
  if (!wxTheApp->CallOnInit()) {
    wxEntryCleanup();
    return nullptr;
  }
  auto* frame = new MainFrame(wxString::FromUTF8(options.title));
  wxTheApp->SetTopWindow(frame);
  wxTheApp->SetExitOnFrameDelete(true);
  frame->Show();
  wait_until_on_screen(*frame);
  return std::make_unique<WxUi>(frame);
}

WxUi::WxUi(MainFrame* frame) : frame_(frame) {
  frame_->Bind(wxEVT_DESTROY, [this](wxWindowDestroyEvent& e) {
    if (e.GetEventObject() == frame_) frame_alive_ = false;
    e.Skip();
  });
}

// The Ui owns wxWidgets' session: the window goes, then wxWidgets ends.
WxUi::~WxUi() {
  if (frame_alive_) {
    frame_->set_handler(nullptr);
    frame_->Destroy();
  }
  wxEntryCleanup();
}

wxWindow* WxUi::parent() const { return frame_alive_ ? frame_ : nullptr; }

BgResult WxUi::BGPROCES(BgTask task) {
  ProgressDialog dlg(parent(), task.texts);
  return dlg.run(std::move(task));
}

bool WxUi::WGSHELLEXE(const std::string& target) {
  const wxString t = wxString::FromUTF8(target);
  return is_address(target) ? wxLaunchDefaultBrowser(t) : wxLaunchDefaultApplication(t);
}

bool WxUi::copy_files_to_clipboard(const std::vector<std::filesystem::path>& files) {
  if (files.empty() || !wxTheClipboard->Open()) return false;
  // File managers take copied files in one of two forms: text/uri-list
  // (wxFileDataObject; KDE's Dolphin and others), and the "copy" list of
  // GNOME Files, Nemo, Caja and Thunar, which paste nothing else.
  auto* uris = new wxFileDataObject;
  std::string gnome = "copy";
  for (const auto& f : files) {
    uris->AddFile(wxString::FromUTF8(f.string()));
    gnome += "\n" + file_uri(f);
  }
  auto* gnome_list = new wxCustomDataObject(wxDataFormat("x-special/gnome-copied-files"));
  gnome_list->SetData(gnome.size(), gnome.data());
  auto* data = new wxDataObjectComposite;
  data->Add(uris, true);
  data->Add(gnome_list);
  const bool ok = wxTheClipboard->SetData(data);
  wxTheClipboard->Close();
  // Keep the files on the clipboard after the program has ended.
  wxTheClipboard->Flush();
  return ok;
}

bool WxUi::show_file_in_folder(const std::filesystem::path& file) {
  // The desktop's file manager interface opens the folder with the file
  // selected (GNOME Files, Dolphin, Nemo, Caja and Thunar offer it); where
  // no file manager answers it, the folder is opened as a document.
  const std::string items = "['" + file_uri(file) + "']";
  const char* argv[] = {"gdbus",
                        "call",
                        "--session",
                        "--timeout",
                        "10",
                        "--dest",
                        "org.freedesktop.FileManager1",
                        "--object-path",
                        "/org/freedesktop/FileManager1",
                        "--method",
                        "org.freedesktop.FileManager1.ShowItems",
                        items.c_str(),
                        "",
                        nullptr};
  wxProcess quiet;
  quiet.Redirect();
  if (wxExecute(argv, wxEXEC_SYNC | wxEXEC_NOEVENTS, &quiet) == 0) return true;
  return WGSHELLEXE(file.parent_path().string());
}

void WxUi::WGSETWINTEXTSTR(const std::string& title) {
  if (frame_alive_) frame_->SetTitle(wxString::FromUTF8(title));
}

void WxUi::show_spoken(const std::string& text) {
  if (frame_alive_) frame_->panel()->set_message(wxString::FromUTF8(text));
}

void WxUi::raise() {
  if (!frame_alive_) return;
  frame_->Iconize(false);
  frame_->Show();
  frame_->Raise();
}

void WxUi::set_menu(MenuBar bar) {
  if (!frame_alive_) return;
  set_menus(*frame_->GetMenuBar(), bar);
  announce_menus(*frame_->GetMenuBar());
  frame_->SetAcceleratorTable(make_accelerators(bar));
}

wxMenuItem* WxUi::find_item(int id) const {
  if (!frame_alive_ || !frame_->GetMenuBar()) return nullptr;
  return frame_->GetMenuBar()->FindItem(id);
}

void WxUi::set_item_enabled(int id, bool enabled) {
  if (wxMenuItem* item = find_item(id)) item->Enable(enabled);
}

namespace {
// GTK cannot turn a plain item into a check item: replace it by one in the
// same place, with the same label, key and state.
wxMenuItem* make_checkable(wxMenuItem* item) {
  wxMenu* menu = item->GetMenu();
  std::size_t pos = 0;
  if (!menu || !menu->FindChildItem(item->GetId(), &pos)) return nullptr;
  const int id = item->GetId();
  const wxString label = item->GetItemLabel();
  const bool enabled = item->IsEnabled();
  menu->Destroy(item);
  wxMenuItem* check = menu->InsertCheckItem(pos, id, label);
  check->Enable(enabled);
  return check;
}
}  // namespace

void WxUi::set_item_checked(int id, bool checked) {
  wxMenuItem* item = find_item(id);
  // Only a switch is ever checked or unchecked: an item the app sets either
  // way is one, even when the menu description did not say so.
  if (item && !item->IsCheckable()) item = make_checkable(item);
  if (item) item->Check(checked);
}

bool WxUi::is_item_enabled(int id) const {
  const wxMenuItem* item = find_item(id);
  return item && item->IsEnabled();
}

bool WxUi::is_item_checked(int id) const {
  const wxMenuItem* item = find_item(id);
  return item && item->IsCheckable() && item->IsChecked();
}

bool WxUi::set_mouse_capture(bool on) { return frame_alive_ && frame_->set_mouse_capture(on); }

void WxUi::MOUSETOCENTER() {
  if (frame_alive_) frame_->center_mouse();
}

void WxUi::post(std::function<void()> fn) {
  if (!wxTheApp) return;
  // What a posted call throws must not reach wxWidgets' loop, which would
  // end the program.
  wxTheApp->CallAfter([fn = std::move(fn)] {
    try {
      fn();
    } catch (const std::exception& e) {
      report_unexpected(e.what());
    } catch (...) {
      report_unexpected("unknown error");
    }
  });
}

void WxUi::run(EventHandler& handler) {
  if (!frame_alive_) return;
  frame_->set_handler(&handler);
  wxTheApp->OnRun();
  if (frame_alive_) frame_->set_handler(nullptr);
}

void WxUi::request_close() {
  if (frame_alive_) frame_->Close();
}

}  // namespace orvela::ui::wx
