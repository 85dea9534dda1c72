// The start-point search through the whole map and the area search over
// the loaded grid, driven as the person drives them: key words typed, the
// list read, a place chosen or not.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>

#include "search_world.h"

namespace orvela::explore::test {
namespace {

// The user stands at (75, 75) of a load around HOME, 10 m squares.
//   points near the user, one of them on the cell of an intersection;
//   a "Post" 11 km north, outside the grid;
//   the pedestrian street Städtle along row 80, crossing the whole grid;
//   the square Rathausplatz over cells 60..65 x 60..65.
void make_map(SearchWorld& w) {
  MapBuilder b(w.map_path());
  b.point(obj('p', "Post", "post office"), w.at(76.5, 75.5).Y, w.at(76.5, 75.5).X);
  b.point(obj('p', "Post", "Bus Stop", "Aeulestrasse"), w.at(80.5, 75.5).Y, w.at(80.5, 75.5).X);
  b.point(obj('p', "Stop", "bus stop", "Landstrasse"), w.at(82.5, 75.5).Y, w.at(82.5, 75.5).X);
  b.point(obj('p', "Post", "post office", {}, "Schaan"), orvela::test::HOME_LAT + 100000,
          orvela::test::HOME_LON);
  b.point(obj('p', "O'Reilly's \"Pub\"", "pub"), w.at(74.5, 73.5).Y, w.at(74.5, 73.5).X);
  b.point(obj('p', "100% Bio", "shop"), w.at(73.5, 73.5).Y, w.at(73.5, 73.5).X);
  b.point(obj('p', "1000 Bio", "shop"), w.at(72.5, 73.5).Y, w.at(72.5, 73.5).X);
  b.point(obj('p', "a_b", "shop"), w.at(71.5, 73.5).Y, w.at(71.5, 73.5).X);
  b.point(obj('p', "axb", "shop"), w.at(70.5, 73.5).Y, w.at(70.5, 73.5).X);
  b.point(obj('p', "Łódź Bar", "bar"), w.at(69.5, 73.5).Y, w.at(69.5, 73.5).X);
  b.point(obj('p', "Kiosk", "shop"), w.at(70.5, 70.5).Y, w.at(70.5, 70.5).X);
  b.point(obj('n', "Städtle Aeulestrasse", ""), w.at(70.5, 70.5).Y, w.at(70.5, 70.5).X);
  MapObject addr = obj('a', "", "", "Städtle", "Vaduz");
  addr.housenum = "12";
  b.point(addr, w.at(85.5, 85.5).Y, w.at(85.5, 85.5).X);
  b.line(obj('l', "Städtle", "pedestrian"), {w.at(-10.5, 80.5), w.at(160.5, 80.5)});
  b.line(obj('o', "Rathausplatz", "square"),
         {w.at(60, 60), w.at(66, 60), w.at(66, 66), w.at(60, 66), w.at(60, 60)});
}

// The world with the map, loaded around HOME, and what loading said forgotten.
struct Town : SearchWorld {
  explicit Town(std::string input) : SearchWorld(std::move(input)) {
    make_map(*this);
    EXPECT_TRUE(load());
    console.out.str("");
  }
};

TEST(StartPointSearch, KeyWordsFindPointsThenLinesNearestFirst) {
  struct Case {
    const char* entry;
    Lines names;
  };
  const Case cases[] = {
      // One word in the type, the other in the street, in any ASCII case.
      {"STOP aeule", {"Bus Stop Post Aeulestrasse Vaduz  "}},
      {"post",
       {"post office Post Vaduz  ", "Bus Stop Post Aeulestrasse Vaduz  ",
        "post office Post Schaan  "}},
      // Key words are searched for, never executed; % and _ are themselves.
      {"o'reilly's \"pub\"", {"pub O'Reilly's \"Pub\" Vaduz  "}},
      {"100%", {"shop 100% Bio Vaduz  "}},
      {"a_b", {"shop a_b Vaduz  "}},
      // Beyond ASCII the case is folded too.
      {"ŁÓDŹ", {"bar Łódź Bar Vaduz  "}},
      {"STÄDTLE 12", {"  Städtle 12 Vaduz  "}},
      {"städtle pedestrian", {"Line pedestrian Städtle Vaduz  "}},
      {"rathausplatz", {"Area square Rathausplatz Vaduz  "}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entry);
    // While the search runs ":cancel" would press its Cancel; "0" leaves the list.
    Town w(std::string(c.entry) + "\n0\n");
    w.search.SELMAPSTARTPOINT();
    const Lines out = w.out();
    ASSERT_GE(out.size(), 3u);
    EXPECT_EQ(out[0], "INPUT Select start point: Key words []");
    EXPECT_EQ(out[1], "PROGRESS Searching: Searching map: Please wait...");
    EXPECT_EQ(out[2], "LIST Select start point: Select point");
    EXPECT_EQ(w.list_names(), c.names);
  }
}

TEST(StartPointSearch, ChoiceAsksAndJumps) {
  Town w("schaan\n1\ny\n");
  w.search.SELMAPSTARTPOINT();
  const Lines out = w.out();
  ASSERT_GE(out.size(), 5u);
  EXPECT_TRUE(out[4].starts_with("ASK Do you want to jump 11.1 kilometres")) << out[4];
  EXPECT_EQ(w.user.ULAT, orvela::test::HOME_LAT + 100000);
  EXPECT_EQ(w.user.ULON, orvela::test::HOME_LON);
  EXPECT_EQ(w.said().front(), "post office Post");
}

TEST(StartPointSearch, NothingFoundOrNoMap) {
  Town found_nothing("nowhere at all\n");
  found_nothing.search.SELMAPSTARTPOINT();
  EXPECT_EQ(found_nothing.out().back(), "INFO No points found.");

  SearchWorld no_map("post\n");
  no_map.search.SELMAPSTARTPOINT();
  EXPECT_EQ(no_map.out(), Lines{"SAY No map selected."});
}

TEST(StartPointSearch, WithoutKeyWordsTheThousandNearestPointsAndNoLines) {
  SearchWorld w("\n0\n");
  {
    MapBuilder b(w.map_path());
    // Point i stands i * 10 m north of the user.
    for (int i = 1; i <= 1005; ++i)
      b.point(obj('p', "P" + std::to_string(i), "shop"), orvela::test::HOME_LAT + i * 90,
              orvela::test::HOME_LON);
    b.line(obj('l', "Road", "primary"), {w.at(70, 75), w.at(80, 75)});
  }
  ASSERT_TRUE(w.load());
  w.search.SELMAPSTARTPOINT();
  const Lines names = w.list_names();
  ASSERT_EQ(names.size(), 1000u);
  EXPECT_EQ(names.front(), "shop P1 Vaduz  ");
  EXPECT_EQ(names.back(), "shop P1000 Vaduz  ");
}

// The person presses Cancel at one exact moment of the search.
struct CancellingPerson : ui::BgProgress {
  void BGPROCESINFO(const std::string&, ui::BgTarget) override {}
  bool BGPROCESCANCEL() const override { return pressed; }
  void press() {
    if (pressed.exchange(true)) return;
    search->SELMAPSTARTPOINT_ONCANCEL();
  }
  static int as_lines_start(unsigned, void* self, void* stmt, void*) {
    // Only the line query reads the lines' box index.
    if (std::strstr(sqlite3_sql(static_cast<sqlite3_stmt*>(stmt)), "orvel_linidx"))
      static_cast<CancellingPerson*>(self)->press();
    return 0;
  }
  std::atomic<bool> pressed = false;
  Search* search = nullptr;
};

TEST(StartPointSearch, CancelKeepsWhatWasFoundAndTheMap) {
  struct Case {
    const char* when;
    bool preparing;
    std::size_t kept;
  };
  // Städtle: an address and an intersection, then the street.
  const Case cases[] = {{"while the point query is prepared", true, 0},
                        {"as the line query starts", false, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.when);
    Town w("");
    CancellingPerson person;
    person.search = &w.search;
    // SQLite forgets an interruption when a prepare starts while no other
    // statement runs; with one running, Cancel pressed just before lands
    // in the prepare, as it can when pressed at the moment it happens.
    map::Stmt running = w.db.DBPREPARE("select 1 union all select 2;");
    if (c.preparing) {
      sqlite3_step(running);
      person.press();
    } else {
      sqlite3_trace_v2(w.db.DB(), SQLITE_TRACE_STMT, CancellingPerson::as_lines_start, &person);
    }
    EXPECT_NO_THROW(w.search.SELMAPSTARTPOINTTHREAD("städtle", person));
    sqlite3_trace_v2(w.db.DB(), 0, nullptr, nullptr);
    running.reset();
    ASSERT_TRUE(person.pressed);
    // The interrupted query gave nothing, not even its first row.
    EXPECT_EQ(w.search.LOCSEARCHRES().size(), c.kept);
    for (const auto& l : w.search.LOCSEARCHRES())
      EXPECT_FALSE(l.NAME.starts_with("Line")) << l.NAME;
    // The interruption does not outlast the search.
    EXPECT_EQ(w.loader.READMAP().status, map::MapStatus::Loaded);
  }
}

TEST(StartPointSearch, OpeningAMapWithNothingAroundTheUserAsksForAStartPoint) {
  SearchWorld w("1\npost\n0\n");
  {
    MapBuilder b(w.map_path());
    b.point(obj('p', "Post", "post office", {}, "Schaan"), orvela::test::HOME_LAT + 100000,
            orvela::test::HOME_LON);
  }
  w.search.FILEOPEN();
  const Lines out = w.out();
  ASSERT_GE(out.size(), 5u);
  EXPECT_EQ(out[0], "LIST Open map: Select map");
  EXPECT_EQ(out[3], "INPUT Select start point: Key words []");
  EXPECT_EQ(w.list_names(), Lines{"post office Post Schaan  "});

  // A map with something around the user just opens.
  Town town("1\n");
  town.search.FILEOPEN();
  EXPECT_EQ(town.out().size(), 3u);  // the list, its entry, the title
}

TEST(AreaSearch, EachKindFromTheGridAndTheLoadedArea) {
  struct Case {
    const char* command;
    char type;
    const char* entry;
    Lines names;  // nearest first
  };
  const Case cases[] = {
      // The point under the intersection lost its cell, not its place.
      {"Points in area", 'p', "kiosk", {"shop Kiosk Vaduz"}},
      {"Points in area",
       'p',
       "post",
       {"post office Post Vaduz", "Bus Stop Post Aeulestrasse Vaduz"}},
      {"Intersections in area", 'n', "", {"Städtle Aeulestrasse Vaduz"}},
      {"Addresses in area", 'a', "", {" Städtle 12 Vaduz"}},
      // The street crossing the grid once, at its cell nearest to the user.
      {"Lines in area", 'l', "", {"pedestrian Städtle Vaduz"}},
      {"Polygons in area", 'o', "RATHAUS", {"square Rathausplatz Vaduz"}},
      {"Everything in area",
       '\0',
       "städtle",
       {"pedestrian Städtle Vaduz", "Städtle Aeulestrasse Vaduz", " Städtle 12 Vaduz"}},
      {"Everything in area", '\0', "o'reilly's \"pub\"", {"pub O'Reilly's \"Pub\" Vaduz"}},
      {"Everything in area", '\0', "100%", {"shop 100% Bio Vaduz"}},
      {"Everything in area", '\0', "ŁÓDŹ", {"bar Łódź Bar Vaduz"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.command) + " " + c.entry);
    Town w(std::string(c.entry) + "\n:cancel\n");
    w.search.LOCALMAPSEARCH(c.type);
    const Lines out = w.out();
    ASSERT_GE(out.size(), 3u);
    EXPECT_EQ(out[0],
              "INPUT " + std::string(c.command) + ": Key words of name or type (optional) []");
    EXPECT_EQ(out[2], "LIST " + std::string(c.command) + ": " + c.command);
    EXPECT_EQ(w.list_names(), c.names);
  }
}

TEST(AreaSearch, TheStreetIsPlacedAtItsNearestCellAndChosenPlacesAreJumpedTo) {
  Town w("\n1\ny\n");
  w.search.LOCALMAPSEARCH('l');
  // Five cells north of the user, where the street crosses column 75.
  const Lines out = w.out();
  ASSERT_GE(out.size(), 5u);
  EXPECT_TRUE(out[4].starts_with("ASK Do you want to jump 55 metres")) << out[4];
  ASSERT_FALSE(w.said().empty());
  EXPECT_TRUE(w.said().front().starts_with("Städtle direction")) << w.said().front();
  EXPECT_EQ(w.user.UPOSY, 75);  // the grid was loaded around the new place
}

TEST(AreaSearch, NothingFoundOrNoMap) {
  Town w("zebra crossing\n");
  w.search.LOCALMAPSEARCH('\0');
  EXPECT_EQ(w.out().back(), "INFO Nothing found.");

  SearchWorld no_map("post\n");
  no_map.search.LOCALMAPSEARCH('p');
  EXPECT_EQ(no_map.out().back(), "SAY No map selected.");

  // A map, but the user is nowhere yet.
  SearchWorld nowhere("post\n");
  make_map(nowhere);
  nowhere.user.ULATLONSET = false;
  ASSERT_TRUE(nowhere.load() || nowhere.last.status == map::MapStatus::Open);
  nowhere.search.LOCALMAPSEARCH('p');
  EXPECT_EQ(nowhere.out().back(), "INFO Nothing found.");
}

}  // namespace
}  // namespace orvela::explore::test
