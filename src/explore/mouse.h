#pragma once
// Walking with the mouse: with "Use mouse" on, moving the mouse moves the
// user relative to the way they face, in proportion to the distance moved,
// and the left and right buttons ask about the place; a calibration dialog
// tunes how far the hand travels for one step. The window only delivers
// relative motion and button presses (ui::EventHandler); everything they
// mean is here, the same for the window and the console.
#include <cstdint>
#include <functional>
#include <string_view>

#include "ui/command.h"
#include "ui/events.h"

namespace orvela::bookmarks {
class Bookmarks;
}
namespace orvela::map {
class Grid;
struct UserState;
}  // namespace orvela::map
namespace orvela::text {
class Messages;
}
namespace orvela::ui {
class Ui;
}

namespace orvela::explore {

class Explorer;

// The saved switches of the mouse (user.ini).
struct MouseSettings {
  bool USEMOUSE = false;
  // Mouse counts per step: larger is less sensitive.
  int32_t MOUSEFACTOR = 60;
};

// Left clicks at most this many milliseconds apart make one multi-click.
inline constexpr uint32_t MOUSEMULTICLICKTIMEOUT = 500;

// One piece of mouse input: a movement in counts (x to the right, y towards
// the user), and whether a button went down, at `time_ms` on the front
// end's clock.
struct MouseInput {
  int dx = 0;
  int dy = 0;
  bool left = false;
  bool right = false;
  uint32_t time_ms = 0;
};

// What the calibration asks of the sound; the app installs these.
struct MouseHooks {
  std::function<void()> SOUNDSTOPALL;
  // The master volume in percent while calibrating; called again with the
  // user's own volume when the dialog closes.
  std::function<void(int perc)> SOUNDSETVOLUME;
  // The user's volume, to go back to after calibrating.
  std::function<int()> SOUNDVOLUME;
  // Plays `fn` once at the user's cell with gain and pitch in percent.
  std::function<void(std::string_view fn, uint8_t gain, uint16_t pitch)> SOUNDPLAY;
};

class Mouse {
 public:
  Mouse(Explorer& ex, const map::UserState& user, const map::Grid& grid,
        bookmarks::Bookmarks& bookmarks, ui::Ui& ui, text::Messages& msg, MouseSettings& settings);

  // Captures the pointer (hidden, held at the window's centre) and starts
  // listening; "Registration problem" when the window cannot capture it.
  void MOUSEENABLE();
  // Undoes MOUSEENABLE.
  void MOUSEDISABLE();
  // Puts the pointer back at the window's centre (focus gained, menu left,
  // pointer escaped) while the mouse is on.
  void MOUSETOCENTER();
  // Makes capture follow USEMOUSE after the settings were loaded.
  void apply_settings();

  // Input from the window: ignored unless USEMOUSE; tunes the sensitivity
  // while the calibration dialog is open, walks otherwise.
  void input(const MouseInput& in);
  // Walking: moves the user and answers clicks.
  void MOUSEPROCESS(const MouseInput& in);
  // Calibrating: tunes MOUSESETUPX and lets the user hear a step.
  void MOUSESETUPPROCESS(const MouseInput& in);

  // The commands: "Use mouse", the calibration, typing the sensitivity.
  void USEMOUSESWITCH();
  void SETUPMOUSE();
  void ENTERMOUSEFACTOR();

  bool MOUSESETUPMODE() const { return setup_mode_; }
  MouseHooks hooks;

 private:
  // MOUSEFACTOR, or its default when the file held a value that cannot
  // divide (0 or less).
  double factor() const;
  void say_setup_value();

  Explorer& ex_;
  const map::UserState& user_;
  const map::Grid& grid_;
  bookmarks::Bookmarks& bookmarks_;
  ui::Ui& ui_;
  text::Messages& msg_;
  MouseSettings& settings_;

  bool captured_ = false;
  uint32_t left_last_time_ = 0;
  uint8_t multi_click_count_ = 0;
  // The part of a movement smaller than the hundredth of a step that a
  // position keeps, carried to the next movement so that many small
  // movements go as far as one large one.
  double carry_x_ = 0;
  double carry_y_ = 0;

  bool setup_mode_ = false;
  double setup_x_ = 0;
  double setup_y_ = 0;
  double setup_last_say_x_ = 0;
};

// The rows of "Use mouse", "Change mouse sensitivity" and "Enter mouse
// sensitivity".
void add_mouse_commands(ui::Commands& commands, Mouse& mouse, const MouseSettings& settings);

}  // namespace orvela::explore
