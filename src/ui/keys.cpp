#include "ui/keys.h"

#include <array>
#include <cctype>
#include <utility>

#include "text/strutil.h"

namespace orvela::ui {

namespace {

struct KeyName {
  Key key;
  std::string_view name;
};

// The first name of each key is the one accel_text writes; the others are
// the spellings the menu texts use.
constexpr std::array kKeyNames{
    KeyName{Key::Up, "Up"},          KeyName{Key::Up, "Up arrow"},
    KeyName{Key::Down, "Down"},      KeyName{Key::Down, "Down arrow"},
    KeyName{Key::Left, "Left"},      KeyName{Key::Left, "Left arrow"},
    KeyName{Key::Right, "Right"},    KeyName{Key::Right, "Right arrow"},
    KeyName{Key::PageUp, "Page Up"}, KeyName{Key::PageUp, "PGUP"},
    KeyName{Key::PageUp, "PageUp"},  KeyName{Key::PageDown, "Page Down"},
    KeyName{Key::PageDown, "PGDN"},  KeyName{Key::PageDown, "PageDown"},
    KeyName{Key::Home, "Home"},      KeyName{Key::End, "End"},
    KeyName{Key::Enter, "Enter"},    KeyName{Key::Enter, "Return"},
    KeyName{Key::Space, "Space"},    KeyName{Key::Delete, "Delete"},
    KeyName{Key::Delete, "Del"},     KeyName{Key::Insert, "Insert"},
    KeyName{Key::Insert, "Ins"},     KeyName{Key::Escape, "Escape"},
    KeyName{Key::Escape, "Esc"},     KeyName{Key::Tab, "Tab"},
    KeyName{Key::Back, "Backspace"}, KeyName{Key::F1, "F1"},
    KeyName{Key::F2, "F2"},          KeyName{Key::F3, "F3"},
    KeyName{Key::F4, "F4"},          KeyName{Key::F5, "F5"},
    KeyName{Key::F6, "F6"},          KeyName{Key::F7, "F7"},
    KeyName{Key::F8, "F8"},          KeyName{Key::F9, "F9"},
    KeyName{Key::F10, "F10"},        KeyName{Key::F11, "F11"},
    KeyName{Key::F12, "F12"},
};

constexpr std::array kModNames{
    std::pair<unsigned, std::string_view>{MOD_CTRL, "Ctrl"},
    std::pair<unsigned, std::string_view>{MOD_ALT, "Alt"},
    std::pair<unsigned, std::string_view>{MOD_SHIFT, "Shift"},
};

char upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

bool same_nocase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (upper(a[i]) != upper(b[i])) return false;
  return true;
}

std::optional<unsigned> modifier(std::string_view word) {
  if (same_nocase(word, "Control")) return MOD_CTRL;
  for (const auto& [bit, name] : kModNames)
    if (same_nocase(word, name)) return bit;
  return std::nullopt;
}

std::optional<Accel> plain_key(std::string_view word) {
  for (const KeyName& k : kKeyNames)
    if (same_nocase(word, k.name)) return Accel{MOD_NONE, k.key, 0};
  if (word.size() == 1 && std::isgraph(static_cast<unsigned char>(word[0])))
    return Accel{MOD_NONE, Key::Char, upper(word[0])};
  return std::nullopt;
}

}  // namespace

Accel key(char c, unsigned mods) {
  if (c == ' ') return Accel{mods, Key::Space, 0};
  return Accel{mods, Key::Char, upper(c)};
}

std::string accel_text(const Accel& a) {
  std::string out;
  for (const auto& [bit, name] : kModNames)
    if (a.mods & bit) {
      out += name;
      out += '+';
    }
  if (a.key == Key::Char) return out + a.ch;
  for (const KeyName& k : kKeyNames)
    if (k.key == a.key) return out += k.name;
  return out;
}

std::optional<Accel> parse_accel(std::string_view text) {
  text = text::trim(text);
  unsigned mods = MOD_NONE;
  // Split at '+' but keep a trailing "+" as the key itself ("Ctrl++").
  while (true) {
    const std::size_t plus = text.find('+');
    if (plus == std::string_view::npos || plus + 1 >= text.size()) break;
    const auto bit = modifier(text::trim(text.substr(0, plus)));
    if (!bit) return std::nullopt;
    mods |= *bit;
    text = text::trim(text.substr(plus + 1));
  }
  auto a = plain_key(text);
  if (!a) return std::nullopt;
  a->mods = mods;
  return a;
}

}  // namespace orvela::ui
