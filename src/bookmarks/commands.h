#pragma once
// The Bookmarks menu, and the start-position items of the Map menu.
#include "ui/command.h"

namespace orvela::map {
struct UserState;
}

namespace orvela::bookmarks {

class Bookmarks;

// `user` tells when the start position can be saved.
void add_commands(ui::Commands& commands, Bookmarks& bm, const map::UserState& user);

}  // namespace orvela::bookmarks
