#include "explore/mouse.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "bookmarks/bookmarks.h"
#include "explore/explorer.h"
#include "map/direction.h"
#include "map/grid.h"
#include "map/user.h"
#include "text/messages.h"
#include "text/numeric.h"
#include "text/strutil.h"
#include "text/translate.h"
#include "ui/ui.h"

namespace orvela::explore {

using text::_;

namespace {

constexpr int32_t kDefaultFactor = MouseSettings{}.MOUSEFACTOR;
// The volume the calibration plays its steps at.
constexpr int kSetupVolume = 60;
// The sensitivity is spoken again once it has moved this far.
constexpr double kSetupSayDistance = 20;

// `want` in the hundredths of a step that a position keeps; the rest stays
// in `want` for the next movement.
double take_hundredths(double& want) {
  const double taken = text::round_away(want, 2);
  want -= taken;
  return taken;
}

}  // namespace

Mouse::Mouse(Explorer& ex, const map::UserState& user, const map::Grid& grid,
             bookmarks::Bookmarks& bookmarks, ui::Ui& ui, text::Messages& msg,
             MouseSettings& settings)
    : ex_(ex),
      user_(user),
      grid_(grid),
      bookmarks_(bookmarks),
      ui_(ui),
      msg_(msg),
      settings_(settings) {}

void Mouse::MOUSEENABLE() {
  if (!ui_.set_mouse_capture(true)) {
    ui_.WGINFO(_("Registration problem"));
    return;
  }
  captured_ = true;
  MOUSETOCENTER();
}

void Mouse::MOUSEDISABLE() {
  if (!ui_.set_mouse_capture(false)) {
    ui_.WGINFO(_("Registration problem"));
    return;
  }
  captured_ = false;
}

void Mouse::MOUSETOCENTER() {
  if (captured_) ui_.MOUSETOCENTER();
}

void Mouse::apply_settings() {
  if (settings_.USEMOUSE && !captured_)
    MOUSEENABLE();
  else if (!settings_.USEMOUSE && captured_)
    MOUSEDISABLE();
}

void Mouse::USEMOUSESWITCH() {
  settings_.USEMOUSE = !settings_.USEMOUSE;
  if (settings_.USEMOUSE)
    MOUSEENABLE();
  else
    MOUSEDISABLE();
  // TRANSLATORS: {state} is "On" or "Off".
  msg_.EDA(text::STRTOKENREPLACE(_("Use mouse {state}"),
                                 {"state", settings_.USEMOUSE ? _("On") : _("Off")}));
}

double Mouse::factor() const {
  return settings_.MOUSEFACTOR > 0 ? settings_.MOUSEFACTOR : kDefaultFactor;
}

void Mouse::input(const MouseInput& in) {
  if (!settings_.USEMOUSE) return;
  if (setup_mode_)
    MOUSESETUPPROCESS(in);
  else
    MOUSEPROCESS(in);
}

void Mouse::MOUSEPROCESS(const MouseInput& in) {
  if (in.dx != 0 || in.dy != 0) {
    const double relx = in.dx / factor();
    // Moving the mouse away from the user is forward.
    const double rely = -in.dy / factor();
    if (relx != 0) {
      double ux = 0, uy = 0;
      map::GETINCXYFROMKIER(map::WRAPDIRECTION(user_.UDIR + 90), ux, uy);
      carry_x_ += ux * user_.USTEPSIZE * relx;
      carry_y_ += uy * user_.USTEPSIZE * relx;
    }
    if (rely != 0) {
      double ux = 0, uy = 0;
      map::GETINCXYFROMKIER(user_.UDIR, ux, uy);
      carry_x_ += ux * user_.USTEPSIZE * rely;
      carry_y_ += uy * user_.USTEPSIZE * rely;
    }
    const double incx = take_hundredths(carry_x_);
    const double incy = take_hundredths(carry_y_);
    if (incx != 0 || incy != 0) ex_.XYMOVE(incx, incy);
  }
  if (in.left) {
    // Unsigned difference: right across the wrap of the clock too.
    if (in.time_ms - left_last_time_ <= MOUSEMULTICLICKTIMEOUT) {
      if (multi_click_count_ < UINT8_MAX) ++multi_click_count_;
    } else {
      multi_click_count_ = 1;
    }
    left_last_time_ = in.time_ms;
    switch (multi_click_count_) {
      case 1:
        ex_.SAYTYP();
        break;
      case 2:
        ex_.SAYDIRECTION();
        break;
      case 3:
        // The quiet toggle: a bookmark here goes, otherwise one is made with
        // the proposed name; no dialog interrupts the walk.
        bookmarks_.BOOKMARKEDIT(true);
        if (ex_.hooks.SETSOUNDSCAPE) ex_.hooks.SETSOUNDSCAPE();
        break;
      default:
        break;
    }
  }
  if (in.right) ex_.SAYTYP();
}

void Mouse::say_setup_value() {
  msg_.EDA(std::to_string(text::round_half_even_i32(setup_x_)));
  setup_last_say_x_ = setup_x_;
}

void Mouse::MOUSESETUPPROCESS(const MouseInput& in) {
  int dx = in.dx, dy = in.dy;
  // Only the main direction of a movement counts.
  if (std::abs(dx) < std::abs(dy)) dx = 0;
  if (std::abs(dy) < std::abs(in.dx)) dy = 0;
  if (dx != 0) {
    setup_x_ = std::max(1.0, setup_x_ + dx / 10.0);
    if (std::abs(setup_x_ - setup_last_say_x_) > kSetupSayDistance) say_setup_value();
  }
  if (dy != 0) {
    const double before = std::floor(setup_y_);
    setup_y_ += -dy / setup_x_;
    if (std::floor(setup_y_) != before) {
      // One step's worth of hand movement: the user hears the step it makes.
      if (hooks.SOUNDSTOPALL) hooks.SOUNDSTOPALL();
      if (hooks.SOUNDPLAY) hooks.SOUNDPLAY("user move", 100, grid_.USTEPPITCH);
    }
  }
  if (in.left) say_setup_value();
}

void Mouse::SETUPMOUSE() {
  if (hooks.SOUNDSTOPALL) hooks.SOUNDSTOPALL();
  const int volume = hooks.SOUNDVOLUME ? hooks.SOUNDVOLUME() : kSetupVolume;
  if (hooks.SOUNDSETVOLUME) hooks.SOUNDSETVOLUME(kSetupVolume);
  const std::string instruction =
      _("Moving mouse to the left - increases sensitivity.") + "\n" +
      _("Moving to the right - decreases sensitivity.") + "\n" +
      _("Moving up / down - checking without change.") + "\n" +
      _("Single left button click - announces current value of setting (greater value means "
        "more physical space of movement, or lesser sensitivity)") +
      "\n" + _("Pressing OK button in this dialog - confirms new setting.") + "\n" +
      _("Cancel button - closes this window without change.");
  setup_x_ = setup_y_ = setup_last_say_x_ = factor();
  setup_mode_ = true;
  // Whatever ends the dialog, the mouse walks again afterwards and the
  // user's own volume comes back.
  struct Restore {
    Mouse& m;
    int volume;
    ~Restore() {
      m.setup_mode_ = false;
      if (m.hooks.SOUNDSETVOLUME) m.hooks.SOUNDSETVOLUME(volume);
    }
  } restore{*this, volume};
  const auto confirmed =
      ui_.WGREADMULTILINESTR(_("Setting mouse sensitivity"), _("Instruction"), instruction, true);
  if (confirmed) settings_.MOUSEFACTOR = text::round_half_even_i32(setup_x_);
}

void Mouse::ENTERMOUSEFACTOR() {
  const auto entered = ui_.WGREADSTR(_("Enter mouse sensitivity"), _("Enter mouse sensitivity"),
                                     std::to_string(settings_.MOUSEFACTOR));
  if (!entered) return;
  const int64_t v = text::INT2(*entered);
  if (v > 0 && v <= INT32_MAX) settings_.MOUSEFACTOR = static_cast<int32_t>(v);
}

void add_mouse_commands(ui::Commands& c, Mouse& mouse, const MouseSettings& settings) {
  using text::N_;
  using ui::MOD_CTRL;
  using ui::MOD_SHIFT;
  auto mouse_on = [&settings] { return settings.USEMOUSE; };
  // clang-format off
  c.add({.id = 281, .name = "IDM_USEMOUSE", .menu = ui::Menu::Navigation, .order = 170,
         .text = N_("Use mouse"), .key = ui::key('Y', MOD_CTRL),
         .run = [&mouse] { mouse.USEMOUSESWITCH(); }, .checked = mouse_on});
  c.add({.id = 282, .name = "IDM_SETUPMOUSE", .menu = ui::Menu::Navigation, .order = 180,
         .text = N_("Change mouse &sensitivity..."), .key = ui::key('Y', MOD_SHIFT),
         .run = [&mouse] { mouse.SETUPMOUSE(); }, .enabled = mouse_on});
  c.add({.id = 283, .name = "IDM_ENTERMOUSEFACTOR", .menu = ui::Menu::Navigation, .order = 190,
         .text = N_("Enter mouse s&ensivity..."), .key = ui::key('Y', MOD_CTRL | MOD_SHIFT),
         .run = [&mouse] { mouse.ENTERMOUSEFACTOR(); }, .enabled = mouse_on});
  // clang-format on
}

}  // namespace orvela::explore
