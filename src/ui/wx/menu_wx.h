#pragma once
// The menu description made real: a wxMenuBar for display and mouse use,
// and one wxAcceleratorTable on the frame that holds every command key.
#include <wx/accel.h>
#include <wx/menu.h>

#include <optional>

#include "ui/menu.h"

namespace orvela::ui::wx {

// The accelerator entry for `a` running `cmd`; nothing for a key wx has no code for.
std::optional<wxAcceleratorEntry> to_wx(const Accel& a, int cmd);

// True when a menu label can show `key_text` after a tab.
bool menu_can_show_key(const wxString& key_text);
// The item's label: its text, a tab and its key text; or, for a key text the
// menu cannot show that way ("Up arrow"), the text and the key in brackets.
wxString menu_label(const MenuItem& item);

// An empty menu bar; the frame has one from the start.
wxMenuBar* new_menu_bar();
// Replaces the menus of `mb` by those described by `bar`.
void set_menus(wxMenuBar& mb, const MenuBar& bar);
wxAcceleratorTable make_accelerators(const MenuBar& bar);

}  // namespace orvela::ui::wx
