#pragma once
// A walker on a small map with the bookmark list wired to the explorer as
// the program wires them, and a console front end fed with the person's
// answers. The map: Main street running east along row 75 from column 70 to
// 80, a café at (75, 85), empty cells elsewhere.
#include <string>

#include "bookmarks/bookmarks.h"
#include "support/explore_world.h"

namespace orvela::bookmarks::test {

using orvela::test::MapBuilder;
using orvela::test::MapObject;

struct BookmarkWorld : orvela::test::ExploreWorld {
  explicit BookmarkWorld(std::string input = {}, bool with_map = true)
      : ExploreWorld(std::move(input)),
        bm(user, grid, loader, console.ui, messages, tables, bset, tmp / "orvela.start") {
    bm.hooks.CHECKNOMAP = [this] { return ex.CHECKNOMAP(); };
    bm.hooks.GETDIRSTR = [this](int32_t dir) { return ex.GETDIRSTR(dir); };
    bm.hooks.GETMAPASTR = [this](double x, double y) { return ex.GETMAPASTR(x, y); };
    bm.hooks.GOTOLATLON = [this](int32_t lat, int32_t lon, bool AUTO, const std::string& mapfn) {
      return ex.GOTOLATLON(lat, lon, AUTO, mapfn);
    };
    loader.hooks.after_load = [this] { bm.RECALCARRLOC(); };
    ex.hooks.bookmark_at = [this](int x, int y) -> std::optional<std::string> {
      const int32_t i = bm.GETBOOKMARKATXY(x, y);
      if (i < 0) return std::nullopt;
      return bm.BOOKMARKS()[static_cast<std::size_t>(i)].NAME;
    };
    settings.UDIRMODE = 3;  // degrees from north: direction words that do not depend on facing
    if (with_map) make_map();
    console.out.str("");  // what loading the map said
  }

  void make_map() {
    {
      MapBuilder b(map_path());
      MapObject street;
      street.type = 'l';
      street.name = "Main street";
      street.typ = "residential";
      b.line(street, {at(70.5, 75.5), at(80.5, 75.5)});
      MapObject cafe;
      cafe.type = 'p';
      cafe.name = "Cafe Linde";
      cafe.typ = "restaurant";
      const map::POINT p = at(75.5, 85.5);
      b.point(cafe, p.Y, p.X);
    }
    load();
  }

  // Puts the user on grid position (x, y) with the coordinates of that place.
  void stand(double x, double y) {
    user.UPOSX = x;
    user.UPOSY = y;
    ex.UPDULATLON();
  }
  // Adds a bookmark at (x, y) as the person would (Enter), named by the next
  // input line.
  void add_at(double x, double y) {
    stand(x, y);
    bm.BOOKMARKEDIT(false);
  }
  std::vector<std::string> names() const {
    std::vector<std::string> v;
    for (const LOCATION& l : bm.BOOKMARKS()) v.push_back(l.NAME);
    return v;
  }
  // What the console printed since the last call.
  std::vector<std::string> take_out() {
    std::vector<std::string> v = out();
    console.out.str("");
    return v;
  }

  BookmarkSettings bset;
  Bookmarks bm;
};

}  // namespace orvela::bookmarks::test
