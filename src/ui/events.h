#pragma once
// What the window tells the app. The app implements this and passes it to
// Ui::run; every call arrives on the window's thread.
#include <cstdint>
#include <string>

namespace orvela::ui {

enum class MouseButton { Left, Right };

class EventHandler {
 public:
  virtual ~EventHandler() = default;

  // A menu command or accelerator (the command's IDM_ id).
  virtual void on_command(int id) = 0;
  // The window gained (true) or lost (false) the keyboard focus.
  virtual void on_focus(bool gained) = 0;
  // The menu bar is about to open: the time to enable and check items
  // (INITMENU). Called before on_menu_loop(true).
  virtual void on_init_menu() = 0;
  // A menu was opened (true) or closed again (false); for the app this is
  // like losing and regaining the focus.
  virtual void on_menu_loop(bool entered) = 0;
  // The user asked to close the window (close box, Alt+F4, Ui::request_close,
  // end of console input). Return false to keep the window open.
  virtual bool on_close_requested() = 0;

  // A command or event failed in a way nobody foresaw (an exception that
  // escaped it). The front end has stopped that command and carries on; the
  // app tells the person and keeps a record.
  virtual void on_unexpected_error(const std::string& what) = 0;

  // Raw mouse movement in counts, a button press, the pointer leaving the
  // window. `time_ms` is when the button went down, in milliseconds on the
  // front end's own clock (the window system's event time; in the console
  // the script's time, which only ":wait MS" advances): only differences
  // between two presses mean anything, and they may wrap around.
  virtual void on_mouse_move(int /*dx*/, int /*dy*/) {}
  virtual void on_mouse_click(MouseButton /*button*/, uint32_t /*time_ms*/) {}
  virtual void on_mouse_leave() {}
};

}  // namespace orvela::ui
