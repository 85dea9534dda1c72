#pragma once
// The test world with a walker on it.
#include "explore/explorer.h"
#include "support/world.h"

namespace orvela::test {

struct ExploreWorld : World {
  explicit ExploreWorld(std::string input = {})
      : World(std::move(input)), ex(grid, user, loader, console.ui, messages, tables, settings) {}

  // Lines the program said, without the "SAY " prefix.
  std::vector<std::string> said() const {
    std::vector<std::string> v;
    for (const auto& l : out())
      if (l.starts_with("SAY ")) v.push_back(l.substr(4));
    return v;
  }

  explore::DirectionTables tables;
  explore::ExploreSettings settings;
  explore::Explorer ex;
};

}  // namespace orvela::test
