#pragma once
// The menu bar of the main window, built from the command rows every module
// has added: the menus in their order, each item where its row places it,
// and the accelerator table.
#include <string>

#include "ui/command.h"
#include "ui/menu.h"

namespace orvela::app {

// BUILDMAINMENU: the menu bar and accelerators for the language `lang` (the
// Polish-only items and their keys exist only with "pl"). Texts go through
// the catalogue.
ui::MenuBar BUILDMAINMENU(const ui::Commands& commands, const std::string& lang);

}  // namespace orvela::app
