#pragma once
// The Map menu's map-server items (installing, updating, deleting maps, the
// web map view) and the Help menu's program update check.
#include "ui/command.h"

namespace orvela::online {

class Online;

void add_commands(ui::Commands& commands, Online& online);

}  // namespace orvela::online
