#include "ui/wx/menu_wx.h"

#include <wx/log.h>

#include <vector>

namespace orvela::ui::wx {

namespace {

int key_code(const Accel& a) {
  switch (a.key) {
    case Key::Char:
      return static_cast<unsigned char>(a.ch);
    case Key::Up:
      return WXK_UP;
    case Key::Down:
      return WXK_DOWN;
    case Key::Left:
      return WXK_LEFT;
    case Key::Right:
      return WXK_RIGHT;
    case Key::PageUp:
      return WXK_PAGEUP;
    case Key::PageDown:
      return WXK_PAGEDOWN;
    case Key::Home:
      return WXK_HOME;
    case Key::End:
      return WXK_END;
    case Key::Enter:
      return WXK_RETURN;
    case Key::Space:
      return WXK_SPACE;
    case Key::Delete:
      return WXK_DELETE;
    case Key::Insert:
      return WXK_INSERT;
    case Key::Escape:
      return WXK_ESCAPE;
    case Key::Tab:
      return WXK_TAB;
    case Key::Back:
      return WXK_BACK;
    default:
      break;
  }
  if (a.key >= Key::F1 && a.key <= Key::F12)
    return WXK_F1 + (static_cast<int>(a.key) - static_cast<int>(Key::F1));
  return 0;
}

// While the menu bar is open from the keyboard (F10) it holds GTK's grab and
// so sees the keys first; wx would look them up in the frame's accelerator
// table, and an arrow key would then walk the map instead of the menu. The
// bar is made the end of that lookup: its keys stay with the menus.
class KeyboardMenuBar final : public wxMenuBar {
 public:
  bool IsTopNavigationDomain(NavigationKind kind) const override {
    return kind == Navigation_Accel || wxMenuBar::IsTopNavigationDomain(kind);
  }
};

void fill(wxMenu* menu, const std::vector<MenuItem>& items) {
  for (const MenuItem& item : items) {
    if (item.is_popup()) {
      auto* sub = new wxMenu;
      fill(sub, item.children);
      menu->AppendSubMenu(sub, wxString::FromUTF8(item.text));
    } else {
      if (item.checkable)
        menu->AppendCheckItem(item.id, menu_label(item));
      else
        menu->Append(item.id, menu_label(item));
    }
  }
}

}  // namespace

std::optional<wxAcceleratorEntry> to_wx(const Accel& a, int cmd) {
  const int code = key_code(a);
  if (code == 0) return std::nullopt;
  int flags = wxACCEL_NORMAL;
  if (a.mods & MOD_CTRL) flags |= wxACCEL_CTRL;
  if (a.mods & MOD_SHIFT) flags |= wxACCEL_SHIFT;
  if (a.mods & MOD_ALT) flags |= wxACCEL_ALT;
  return wxAcceleratorEntry(flags, code, cmd);
}

bool menu_can_show_key(const wxString& key_text) {
  wxLogNull quiet;  // wx explains every key text it cannot read
  wxAcceleratorEntry e;
  if (!e.FromString(key_text)) return false;
  // GTK drops arrow keys without a modifier from menu labels.
  const int code = e.GetKeyCode();
  const bool arrow = code == WXK_UP || code == WXK_DOWN || code == WXK_LEFT || code == WXK_RIGHT;
  return !(arrow && e.GetFlags() == wxACCEL_NORMAL);
}

wxString menu_label(const MenuItem& item) {
  wxString label = wxString::FromUTF8(item.text);
  if (item.key_text.empty()) return label;
  const wxString key = wxString::FromUTF8(item.key_text);
  // The key itself is in the frame's accelerator table either way; a key
  // text the menu cannot show after the tab stays in the label for display.
  if (menu_can_show_key(key)) return label + "\t" + key;
  return label + " (" + key + ")";
}

wxMenuBar* new_menu_bar() { return new KeyboardMenuBar; }

void set_menus(wxMenuBar& mb, const MenuBar& bar) {
  while (mb.GetMenuCount() > 0) delete mb.Remove(0);
  for (const MenuItem& top : bar.menus) {
    auto* menu = new wxMenu;
    fill(menu, top.children);
    mb.Append(menu, wxString::FromUTF8(top.text));
  }
}

wxAcceleratorTable make_accelerators(const MenuBar& bar) {
  std::vector<wxAcceleratorEntry> entries;
  for (const AccelEntry& e : bar.accels)
    if (auto w = to_wx(e.accel, e.cmd)) entries.push_back(*w);
  return wxAcceleratorTable(static_cast<int>(entries.size()), entries.data());
}

}  // namespace orvela::ui::wx
