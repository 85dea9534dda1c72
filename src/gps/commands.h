#pragma once
// The Gps menu (sources, playback, rewinding) and the GPS items of the Say menu.
#include "ui/command.h"

namespace orvela::gps {

class Gps;

void add_commands(ui::Commands& commands, Gps& gps);

}  // namespace orvela::gps
