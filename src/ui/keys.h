#pragma once
// Keyboard accelerators: a key with modifiers, written the way the menu
// shows it ("Ctrl+Page Up", "Shift+Left", "/", "Space").
#include <optional>
#include <string>
#include <string_view>

namespace orvela::ui {

// Modifier bits; the values are the accelerator flags of the original
// design (Shift 4, Ctrl 8, Alt 16), so a combination is a plain OR.
enum Modifier : unsigned { MOD_NONE = 0, MOD_SHIFT = 4, MOD_CTRL = 8, MOD_ALT = 16 };

enum class Key {
  Char,  // a printable key, given by Accel::ch
  Up,
  Down,
  Left,
  Right,
  PageUp,
  PageDown,
  Home,
  End,
  Enter,
  Space,
  Delete,
  Insert,
  Escape,
  Tab,
  Back,
  F1,
  F2,
  F3,
  F4,
  F5,
  F6,
  F7,
  F8,
  F9,
  F10,
  F11,
  F12,
};

struct Accel {
  unsigned mods = MOD_NONE;
  Key key = Key::Char;
  // For Key::Char: an upper-case letter, a digit or a sign such as '/', '.', ',', ';'.
  char ch = 0;

  friend bool operator==(const Accel&, const Accel&) = default;
};

// Convenience constructors: key(Key::Up, MOD_CTRL), key('O', MOD_CTRL).
constexpr Accel key(Key k, unsigned mods = MOD_NONE) { return Accel{mods, k, 0}; }
Accel key(char c, unsigned mods = MOD_NONE);

// "Ctrl+Shift+Page Up", "Alt+Left", "P", "/", "Space": modifiers in the
// order Ctrl, Alt, Shift.
std::string accel_text(const Accel& a);

// Reads a key text back: modifiers in any order and case, key names as
// accel_text writes them plus the menu's spellings ("Up arrow", "PGUP",
// "PGDN", "Del", "Return"). Nothing when the text names no key.
std::optional<Accel> parse_accel(std::string_view text);

}  // namespace orvela::ui
