#pragma once
// A walker with the searches and the details commands, the bookmark list
// that offers their results, wired as the program wires them, on a console
// fed with the person's answers.
#include <algorithm>
#include <string>
#include <vector>

#include "bookmarks/bookmarks.h"
#include "explore/details.h"
#include "explore/search.h"
#include "support/explore_world.h"

namespace orvela::explore::test {

using orvela::test::MapBuilder;
using orvela::test::MapObject;
using Lines = std::vector<std::string>;

// A map object with its texts, in Vaduz unless said otherwise.
inline MapObject obj(char type, std::string name, std::string typ, std::string street = {},
                     std::string city = "Vaduz") {
  MapObject o;
  o.type = type;
  o.name = std::move(name);
  o.typ = std::move(typ);
  o.street = std::move(street);
  o.city = std::move(city);
  return o;
}

// The person who waits for a background search to end.
struct Waiting : ui::BgProgress {
  void BGPROCESINFO(const std::string&, ui::BgTarget) override {}
  bool BGPROCESCANCEL() const override { return false; }
};

struct SearchWorld : orvela::test::ExploreWorld {
  explicit SearchWorld(std::string input = {})
      : ExploreWorld(std::move(input)),
        bm(user, grid, loader, console.ui, messages, tables, bset, tmp / "orvela.start"),
        search(ex, bm, db, loader, grid, user, console.ui),
        details(ex, db, grid, user, console.ui, messages) {}

  // The entries of the last list shown, each without its number and the
  // distance after it ("  2. bus stop Post 12 metres" gives "bus stop Post").
  Lines list_names() const {
    Lines names;
    const Lines o = out();
    auto last =
        std::find_if(o.rbegin(), o.rend(), [](const auto& l) { return l.starts_with("LIST "); });
    if (last == o.rend()) return names;
    for (auto it = last.base(); it != o.end() && (it->starts_with("  ") || it->starts_with("* "));
         ++it) {
      std::string e = it->substr(it->find(". ") + 2);
      for (const std::string unit : {" metres", " kilometres"})
        if (e.ends_with(unit)) e.resize(e.rfind(' ', e.size() - unit.size() - 1));
      names.push_back(e);
    }
    return names;
  }

  bookmarks::BookmarkSettings bset;
  bookmarks::Bookmarks bm;
  Search search;
  Details details;
};

}  // namespace orvela::explore::test
