#pragma once
// The test world with a walker on it, and a console front end and speech
// for what the walker is told.
#include <string>
#include <vector>

#include "explore/explorer.h"
#include "support/console_fixture.h"
#include "support/world.h"
#include "text/messages.h"

namespace orvela::test {

struct ExploreWorld : World {
  explicit ExploreWorld(std::string input = {})
      : console(std::move(input)),
        messages(console.ui.speech()),
        ex(grid, user, loader, console.ui, messages, tables, settings) {}

  // Loads map `name` around HOME as the program does, saying how it went.
  bool load(const std::string& name = "test.orvel") {
    loader.change_map(map_path(name).string());
    last = ex.READMAP();
    return last.status == map::MapStatus::Loaded || last.status == map::MapStatus::Empty;
  }

  std::vector<std::string> out() const { return console.out_lines(); }
  // Lines the program said, without the "SAY " prefix.
  std::vector<std::string> said() const {
    std::vector<std::string> v;
    for (const auto& l : out())
      if (l.starts_with("SAY ")) v.push_back(l.substr(4));
    return v;
  }

  ui::test::Console console;
  text::Messages messages;
  explore::DirectionTables tables;
  explore::ExploreSettings settings;
  explore::Explorer ex;
};

}  // namespace orvela::test
