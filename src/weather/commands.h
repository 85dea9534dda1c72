#pragma once
// The Weather menu.
#include "ui/command.h"

namespace orvela::weather {

class Weather;

void add_commands(ui::Commands& commands, Weather& weather);

}  // namespace orvela::weather
