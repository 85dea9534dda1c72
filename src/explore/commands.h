#pragma once
// The commands of walking the map: opening and refreshing it, the steps,
// turns, zoom and jumps of the Navigation menu, what the Say menu tells
// about the place, the searches and the details of the map.
#include "ui/command.h"

namespace orvela::explore {

class Details;
class Explorer;
class Search;

void add_commands(ui::Commands& commands, Explorer& ex, Search& search, Details& details);

}  // namespace orvela::explore
