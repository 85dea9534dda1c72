#pragma once
// Which menu items are enabled and checked, worked out each time the menu
// bar opens.
#include "app/settings.h"
#include "app/shell_state.h"
#include "ui/ui.h"

namespace orvela::app {

// MNUENABLEIF / MNUCHECKIF.
void MNUENABLEIF(ui::Ui& ui, int id, bool cond);
void MNUCHECKIF(ui::Ui& ui, int id, bool cond);

// Applies every enabling and check-mark rule of the main menu.
void INITMENU(ui::Ui& ui, bool ISMAPOPENED, bool ULATLONSET, const ShellState& st,
              const Settings& s);

}  // namespace orvela::app
