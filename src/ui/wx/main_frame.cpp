#include "ui/wx/main_frame.h"

#include <wx/sizer.h>

#include <exception>
#include <iostream>

#include "ui/wx/gtk_access.h"
#include "ui/wx/menu_wx.h"

namespace orvela::ui::wx {

MainFrame::MainFrame(const wxString& title) : wxFrame(nullptr, wxID_ANY, title) {
  panel_ = new MessageView(this);
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(panel_, wxSizerFlags(1).Expand());
  SetSizer(sizer);
  SetSize(FromDIP(wxSize(800, 500)));
  // The menu bar is there from the start, empty until the app sets its
  // menus, and stays: a screen reader learns the window's layout when it
  // first sees it, and one that is slow to catch up with a bar put in above
  // the message view later counts the view twice.
  SetMenuBar(new_menu_bar());
  Bind(wxEVT_MENU, &MainFrame::on_menu, this);
  Bind(wxEVT_ACTIVATE, &MainFrame::on_activate, this);
  Bind(wxEVT_MENU_OPEN, &MainFrame::on_menu_open, this);
  Bind(wxEVT_MENU_CLOSE, &MainFrame::on_menu_close, this);
  Bind(wxEVT_CLOSE_WINDOW, &MainFrame::on_close, this);
  panel_->Bind(wxEVT_MOTION, &MainFrame::on_motion, this);
  panel_->Bind(wxEVT_LEFT_DOWN, &MainFrame::on_click, this);
  panel_->Bind(wxEVT_RIGHT_DOWN, &MainFrame::on_click, this);
  panel_->Bind(wxEVT_LEAVE_WINDOW, &MainFrame::on_leave, this);
  for (const auto type : {wxEVT_LEFT_UP, wxEVT_LEFT_DCLICK, wxEVT_RIGHT_UP, wxEVT_RIGHT_DCLICK,
                          wxEVT_MIDDLE_DOWN, wxEVT_MIDDLE_UP, wxEVT_MIDDLE_DCLICK, wxEVT_AUX1_DOWN,
                          wxEVT_AUX1_UP, wxEVT_AUX2_DOWN, wxEVT_AUX2_UP, wxEVT_MOUSEWHEEL})
    panel_->Bind(type, &MainFrame::on_other_mouse, this);
  panel_->Bind(wxEVT_MOUSE_CAPTURE_LOST, &MainFrame::on_capture_lost, this);
}

MainFrame::~MainFrame() {
  if (filtering_) wxEvtHandler::RemoveFilter(this);
}

void MainFrame::set_handler(EventHandler* h) {
  handler_ = h;
  if (!h) return;
  // A screen reader may miss the window's coming to the front while the
  // program starts (it does not know the program yet, or it looks in the
  // instant before the window is mapped) and then stays silent for the
  // whole session. Now that the program runs, the window tells it again
  // that it is on screen and in front, and only then does the message view
  // take the focus: so the screen reader names the window before it reads
  // the view, as it does when the window comes back from a dialog.
  report_window_states(*this);
  panel_->focus();
  // Start-up waited for the window to come to the front before the program
  // ran: the program still hears of it, first thing.
  if (activated_unheard_) {
    activated_unheard_ = false;
    CallAfter([this] {
      if (IsActive()) deliver([](EventHandler& eh) { eh.on_focus(true); });
    });
  }
}

// Nothing may escape into wxWidgets' event loop: the app reports its own
// failures; anything else is logged and the window carries on.
template <class F>
void MainFrame::deliver(F&& f) {
  if (!handler_) return;
  try {
    f(*handler_);
  } catch (const std::exception& e) {
    unexpected_error(e.what());
  } catch (...) {
    unexpected_error("unknown error");
  }
}

void MainFrame::unexpected_error(const std::string& what) {
  std::cerr << "orvela: unhandled error in a command: " << what << '\n';
  if (!handler_) return;
  try {
    handler_->on_unexpected_error(what);
  } catch (...) {
    // Reporting failed as well; stderr has it.
  }
}

void MainFrame::on_menu(wxCommandEvent& e) {
  const int id = e.GetId();
  deliver([id](EventHandler& h) { h.on_command(id); });
}

void MainFrame::on_activate(wxActivateEvent& e) {
  const bool active = e.GetActive();
  if (active && handler_) panel_->SetFocus();
  activated_unheard_ = active && !handler_;
  deliver([active](EventHandler& h) { h.on_focus(active); });
  e.Skip();
}

void MainFrame::on_menu_open(wxMenuEvent& e) {
  // Moving from one menu to the next closes one and opens another: only the
  // first opening starts the menu loop.
  ++menus_open_;
  if (!in_menu_loop_) {
    in_menu_loop_ = true;
    deliver([](EventHandler& h) {
      h.on_init_menu();
      h.on_menu_loop(true);
    });
  }
  e.Skip();
}

void MainFrame::on_menu_close(wxMenuEvent& e) {
  if (menus_open_ > 0) --menus_open_;
  // Decide after the pending events: another menu may be opening.
  CallAfter([this] {
    if (menus_open_ == 0 && in_menu_loop_) {
      in_menu_loop_ = false;
      deliver([](EventHandler& h) { h.on_menu_loop(false); });
    }
  });
  e.Skip();
}

void MainFrame::on_close(wxCloseEvent& e) {
  bool allow = true;
  deliver([&allow](EventHandler& h) { allow = h.on_close_requested(); });
  if (!allow && e.CanVeto()) {
    e.Veto();
    return;
  }
  Destroy();
}

}  // namespace orvela::ui::wx

namespace orvela::ui::wx {

bool MainFrame::set_mouse_capture(bool on) {
  if (on == mouse_captured_) return true;
  mouse_captured_ = on;
  if (on != filtering_) {
    if (on)
      wxEvtHandler::AddFilter(this);
    else
      wxEvtHandler::RemoveFilter(this);
    filtering_ = on;
  }
  dialog_held_ = nullptr;
  if (on) {
    panel_->SetCursor(wxCursor(wxCURSOR_BLANK));
    if (!panel_->HasCapture()) panel_->CaptureMouse();
    center_mouse();
  } else {
    if (panel_->HasCapture()) panel_->ReleaseMouse();
    panel_->SetCursor(wxNullCursor);
  }
  return true;
}

void MainFrame::center_mouse() {
  if (!mouse_captured_) return;
  // Back in the main window: the next dialog is held anew.
  dialog_held_ = nullptr;
  // Taken back after a dialog had it, but never from an open dialog.
  if (!panel_->HasCapture() && IsActive()) panel_->CaptureMouse();
  const wxSize size = panel_->GetClientSize();
  panel_->WarpPointer(size.GetWidth() / 2, size.GetHeight() / 2);
}

void MainFrame::on_motion(wxMouseEvent& e) {
  if (!mouse_captured_) return e.Skip();
  const wxSize size = panel_->GetClientSize();
  const int dx = e.GetX() - size.GetWidth() / 2;
  const int dy = e.GetY() - size.GetHeight() / 2;
  // The motion our own warp causes arrives as a zero movement.
  if (dx == 0 && dy == 0) return;
  center_mouse();
  deliver([dx, dy](EventHandler& h) { h.on_mouse_move(dx, dy); });
}

void MainFrame::on_click(wxMouseEvent& e) {
  const MouseButton b =
      e.GetEventType() == wxEVT_LEFT_DOWN ? MouseButton::Left : MouseButton::Right;
  // The window system's time of the press, not the time we got to it: a
  // busy moment must not split a quick triple click.
  const auto at = static_cast<uint32_t>(e.GetTimestamp());
  deliver([b, at](EventHandler& h) { h.on_mouse_click(b, at); });
  // While walking with the mouse its ordinary use is switched off.
  if (!mouse_captured_) e.Skip();
}

void MainFrame::on_other_mouse(wxMouseEvent& e) {
  // Releases, double clicks, the other buttons and the wheel do nothing
  // while walking with the mouse: they would select text or open menus.
  if (!mouse_captured_) e.Skip();
}

void MainFrame::on_leave(wxMouseEvent& e) {
  if (mouse_captured_) deliver([](EventHandler& h) { h.on_mouse_leave(); });
  e.Skip();
}

int MainFrame::FilterEvent(wxEvent& event) {
  if (!mouse_captured_) return Event_Skip;
  auto* mouse = dynamic_cast<wxMouseEvent*>(&event);
  auto* win = dynamic_cast<wxWindow*>(event.GetEventObject());
  if (!mouse || !win) return Event_Skip;
  wxWindow* top = wxGetTopLevelParent(win);
  // The main window's own handlers above take its mouse.
  if (!top || top == this) return Event_Skip;
  const wxEventType type = event.GetEventType();
  if (type == wxEVT_ENTER_WINDOW || type == wxEVT_LEAVE_WINDOW) return Event_Skip;
  if (type == wxEVT_MOTION) {
    const wxSize size = top->GetClientSize();
    const wxPoint centre(size.GetWidth() / 2, size.GetHeight() / 2);
    const wxPoint at = top->ScreenToClient(win->ClientToScreen(mouse->GetPosition()));
    const int dx = at.x - centre.x;
    const int dy = at.y - centre.y;
    if (dx != 0 || dy != 0) {
      top->WarpPointer(centre.x, centre.y);
      if (dialog_held_ == top) deliver([dx, dy](EventHandler& h) { h.on_mouse_move(dx, dy); });
      dialog_held_ = top;
    }
  } else if (type == wxEVT_LEFT_DOWN || type == wxEVT_RIGHT_DOWN) {
    const MouseButton b = type == wxEVT_LEFT_DOWN ? MouseButton::Left : MouseButton::Right;
    const auto at = static_cast<uint32_t>(mouse->GetTimestamp());
    deliver([b, at](EventHandler& h) { h.on_mouse_click(b, at); });
  }
  return Event_Processed;
}

void MainFrame::on_capture_lost(wxMouseCaptureLostEvent&) {
  // A dialog or another program took the pointer; it comes back to us on
  // the next focus gain, when the app centres it again.
}

}  // namespace orvela::ui::wx
