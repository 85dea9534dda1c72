#pragma once
// The menu bar and accelerator table as a description: the app fills it with
// the builder below, then hands it to the Ui, which makes the real menu (wx)
// or a command index (console) out of it.
#include <optional>
#include <string>
#include <vector>

#include "ui/keys.h"

namespace orvela::ui {

struct MenuItem {
  // A command item has id > 0; a pop-up (submenu) has id 0 and children.
  int id = 0;
  std::string name;      // the command's identifier name, e.g. "IDM_GOFORWARD"
  std::string text;      // shown text, "&" marks the access letter
  std::string key_text;  // key as shown after the text ("Up arrow", "alt+f4"); may be empty
  std::optional<Accel> accel;
  bool checkable = false;  // shows a check mark when checked (Ui::set_item_checked)
  std::vector<MenuItem> children;

  bool is_popup() const { return id == 0; }
};

struct AccelEntry {
  Accel accel;
  int cmd = 0;
};

struct MenuBar {
  std::vector<MenuItem> menus;     // the top-level pop-ups, in order
  std::vector<AccelEntry> accels;  // every command key, with or without a menu item

  // The item with command `id`, searched through all levels; nullptr if none.
  const MenuItem* find(int id) const;
  // The item whose identifier name is `name`; nullptr if none.
  const MenuItem* find(const std::string& name) const;
  // The command bound to `a`, or 0.
  int command_for(const Accel& a) const;
};

// Builds a MenuBar in the order of the original menu-building calls.
class MenuBuilder {
 public:
  // Starts an empty menu bar (and an empty accelerator list).
  void MKMENU_START();
  // Opens a pop-up titled `title` inside the current menu and makes it current.
  void MKMENU_POPUP(const std::string& title);
  // Appends a command item to the current pop-up. With an accelerator the key
  // is also entered in the accelerator table; `key_text` is what the menu
  // shows (when empty, the accelerator's own text is shown).
  void MKMENU_ADD(int id, const std::string& name, const std::string& text,
                  const std::string& key_text = {}, std::optional<Accel> accel = std::nullopt);
  // As MKMENU_ADD for an item that shows a check mark (Mute, Mono mode, ...).
  void MKMENU_ADDCHECK(int id, const std::string& name, const std::string& text,
                       const std::string& key_text = {}, std::optional<Accel> accel = std::nullopt);
  // Returns to the enclosing menu. Unbalanced calls are ignored.
  void MKMENU_ENDPOPUP();

  // Accelerators without a menu item (or a second key for one).
  void MKACCEL_START();
  void MKACCEL_ADD(const Accel& a, int cmd);

  // The finished description; pop-ups still open are closed.
  MenuBar MKMENU_END();

 private:
  MenuBar bar_;
  std::vector<std::size_t> path_;
  std::vector<MenuItem>& current();
};

}  // namespace orvela::ui
