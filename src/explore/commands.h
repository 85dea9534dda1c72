#pragma once
// The commands of walking the map: opening and refreshing it, the steps,
// turns, zoom and jumps of the Navigation menu, and what the Say menu tells
// about the place.
#include "ui/command.h"

namespace orvela::explore {

class Explorer;

void add_commands(ui::Commands& commands, Explorer& ex);

}  // namespace orvela::explore
