#pragma once
// The main window: menu bar, accelerators, the message panel, and the
// window events handed to the app's EventHandler.
#include <wx/frame.h>

#include "ui/events.h"
#include "ui/wx/message_view.h"

namespace orvela::ui::wx {

class MainFrame final : public wxFrame {
 public:
  explicit MainFrame(const wxString& title);
  void set_handler(EventHandler* h);
  MessageView* panel() { return panel_; }
  // Relative mouse mode (see Ui::set_mouse_capture).
  bool set_mouse_capture(bool on);
  void center_mouse();
  // Tells the app about an exception that escaped an event (logged on stderr too).
  void report_unexpected(const std::string& what) { unexpected_error(what); }

 private:
  template <class F>
  void deliver(F&& f);
  void unexpected_error(const std::string& what);
  void on_menu(wxCommandEvent& e);
  void on_activate(wxActivateEvent& e);
  void on_menu_open(wxMenuEvent& e);
  void on_menu_close(wxMenuEvent& e);
  void on_close(wxCloseEvent& e);
  void on_motion(wxMouseEvent& e);
  void on_click(wxMouseEvent& e);
  void on_leave(wxMouseEvent& e);
  void on_capture_lost(wxMouseCaptureLostEvent& e);

  EventHandler* handler_ = nullptr;
  MessageView* panel_;
  int menus_open_ = 0;
  bool in_menu_loop_ = false;
  bool mouse_captured_ = false;
  // The window came to the front while nobody listened (during start-up).
  bool activated_unheard_ = false;
};

}  // namespace orvela::ui::wx
