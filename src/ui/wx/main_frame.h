#pragma once
// The main window: menu bar, accelerators, the message panel, and the
// window events handed to the app's EventHandler.
#include <wx/eventfilter.h>
#include <wx/frame.h>

#include "ui/events.h"
#include "ui/wx/message_view.h"

namespace orvela::ui::wx {

class MainFrame final : public wxFrame, private wxEventFilter {
 public:
  explicit MainFrame(const wxString& title);
  ~MainFrame() override;
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
  void on_other_mouse(wxMouseEvent& e);
  void on_leave(wxMouseEvent& e);
  void on_capture_lost(wxMouseCaptureLostEvent& e);
  // While the mouse walks, the mouse over a dialog of ours is taken the
  // same way (the calibration dialog listens to it) and never reaches the
  // dialog's own controls.
  int FilterEvent(wxEvent& event) override;

  EventHandler* handler_ = nullptr;
  MessageView* panel_;
  int menus_open_ = 0;
  bool in_menu_loop_ = false;
  bool mouse_captured_ = false;
  bool filtering_ = false;
  // The dialog whose centre the pointer is held at; its first movement only
  // brings the pointer there.
  wxWindow* dialog_held_ = nullptr;
  // The window came to the front while nobody listened (during start-up).
  bool activated_unheard_ = false;
};

}  // namespace orvela::ui::wx
