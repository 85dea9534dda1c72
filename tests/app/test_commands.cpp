// The menu bar and the command table it is built from.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>

#include "app/app_window.h"
#include "app/commands.h"

namespace orvela::app {
namespace {

using test::Window;

std::vector<const ui::MenuItem*> all_items(const ui::MenuBar& bar) {
  std::vector<const ui::MenuItem*> out;
  test::collect_items(bar.menus, out);
  return out;
}

ui::MenuBar menu_bar(const std::string& lang) { return Window("", lang).app().menu_bar(); }

const std::set<std::string> kPolishOnly = {"IDM_INSTALLMAP", "IDM_INSTALLMAP2", "IDM_UPDMAP",
                                           "IDM_UPDALLMAPS", "IDM_MAPHISTORY",  "IDM_UMPWWW"};

TEST(MainMenu, EveryCommandOnceWithItsName) {
  for (const char* lang : {"en", "pl"}) {
    SCOPED_TRACE(lang);
    const bool polish = std::string(lang) == "pl";
    ui::MenuBar bar = menu_bar(lang);
    std::set<int> ids;
    std::set<std::string> names;
    for (const ui::MenuItem* it : all_items(bar)) {
      EXPECT_TRUE(ids.insert(it->id).second) << it->id;
      EXPECT_TRUE(names.insert(it->name).second) << it->name;
      EXPECT_EQ(it->name.rfind("IDM_", 0), 0u) << it->name;
      EXPECT_FALSE(it->text.empty()) << it->name;
    }
    EXPECT_EQ(ids.size(), polish ? 109u : 103u);
    for (const std::string& name : kPolishOnly) EXPECT_EQ(names.count(name), polish ? 1u : 0u);
  }
}

TEST(MainMenu, MenusAndItemsInTheirOrder) {
  std::vector<std::string> titles;
  const ui::MenuBar en = menu_bar("en");
  for (const ui::MenuItem& m : en.menus) titles.push_back(m.text);
  EXPECT_EQ(titles,
            (std::vector<std::string>{"&Map", "&Navigation", "&Area", "&Bookmarks", "&Sound",
                                      "&Say", "&Gps", "&Settings", "&Weather", "&Help"}));
  auto names = [](const ui::MenuItem& menu) {
    std::vector<std::string> v;
    for (const ui::MenuItem& it : menu.children) v.push_back(it.is_popup() ? it.text : it.name);
    return v;
  };
  const ui::MenuBar pl = menu_bar("pl");
  EXPECT_EQ(
      names(pl.menus[0]),
      (std::vector<std::string>{
          "IDM_FILEOPEN", "IDM_MAPREFRESH", "IDM_SELSTARTPOINT", "Po&bierz i zainstaluj mapę",
          "&Import OpenStreetMap", "IDM_DELMAP", "IDM_UPDMAP", "IDM_UPDALLMAPS", "IDM_MAPHISTORY",
          "IDM_UMPWWW", "IDM_AREASTATS", "IDM_READSTARTPOS", "IDM_SAVESTARTPOS", "IDM_CLOSE"}));
  EXPECT_EQ(names(pl.menus[0].children[3]),
            (std::vector<std::string>{"IDM_INSTALLMAP", "IDM_INSTALLMAP2"}));
  EXPECT_EQ(names(en.menus[0].children[3]),
            (std::vector<std::string>{"IDM_OSMIMPORTFILE", "IDM_OSMIMPORTSERVER"}));
  EXPECT_EQ(names(en.menus[4]),
            (std::vector<std::string>{"IDM_VOLUP", "IDM_VOLDOWN", "IDM_MUTE", "IDM_TESTLEFT",
                                      "IDM_CHANGESPEAKERS", "IDM_MONO", "IDM_SOUNDBEHINDLOWER",
                                      "IDM_SOUNDHRTFMODE", "IDM_SOUNDPRESENTATION",
                                      "IDM_SELECTSOUNDDEVICE"}));
  EXPECT_EQ(names(en.menus[6]),
            (std::vector<std::string>{"IDM_GPSLOGOPEN", "IDM_GPSOPEN", "IDM_GPSPLAYPAUSE",
                                      "&Log rewind", "IDM_NMEADISCONNECT"}));
}

TEST(MainMenu, KeysAndTheirTexts) {
  struct Case {
    const char* name;
    const char* key_text;
    const char* accel;  // as typed in the console; empty: none
  };
  const Case cases[] = {
      {"IDM_GOFORWARD", "Up arrow", "Up"},
      {"IDM_TURNNORTH", "Ctrl+Up arrow", "Ctrl+Up"},
      {"IDM_TURNLEFT", "Shift+Left arrow", "Shift+Left"},
      {"IDM_INCSQMETERS", "Ctrl+PGUP", "Ctrl+Page Up"},
      {"IDM_MINSQMETERS", "Ctrl+Shift+PGDN", "Ctrl+Shift+Page Down"},
      {"IDM_FILEOPEN", "Ctrl+O", "Ctrl+O"},
      {"IDM_SAYILEV", ",", ","},
      {"IDM_SAYDIRECTION", "/", "/"},
      {"IDM_SHOWLASTSAY", ";", ";"},
      {"IDM_SELECTUDIRMODE", "Ctrl+.", "Ctrl+."},
      {"IDM_BOOKMARKEDIT", "Enter", "Enter"},
      {"IDM_SAYTYPE", "Space", "Space"},
      {"IDM_GPSGOTOHOME", "Alt+Home", "Alt+Home"},
      {"IDM_SAYLAYOUT", "X", "X"},
      {"IDM_WALKNEXT", "Alt+Up arrow", "Alt+Up"},
      {"IDM_WALKBACK", "Alt+Down arrow", "Alt+Down"},
      {"IDM_BEACONSET", "B", "B"},
      {"IDM_BEACONSAY", "Shift+B", "Shift+B"},
      {"IDM_BEACONOFF", "Ctrl+B", "Ctrl+B"},
      {"IDM_HELPMANUAL", "F1", "F1"},
      {"IDM_CLOSE", "alt+f4", ""},
      {"IDM_SAVEUSERINI", "", ""},
  };
  ui::MenuBar bar = menu_bar("en");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ui::MenuItem* it = bar.find(std::string(c.name));
    ASSERT_NE(it, nullptr);
    EXPECT_EQ(it->key_text, c.key_text);
    if (*c.accel) {
      auto a = ui::parse_accel(c.accel);
      ASSERT_TRUE(a.has_value());
      EXPECT_EQ(bar.command_for(*a), it->id);
    } else {
      EXPECT_FALSE(it->accel.has_value());
    }
  }
}

// Scripts and users rely on these ids, names, menus and texts.
TEST(MainMenu, RoadAndBeaconCommandsWhereAnnounced) {
  struct Case {
    int id;
    const char* name;
    const char* menu;
    const char* text;
  };
  const Case cases[] = {
      {315, "IDM_SAYLAYOUT", "&Say", "Roads at this intersection"},
      {225, "IDM_WALKNEXT", "&Navigation", "Walk to the next intersection"},
      {226, "IDM_WALKBACK", "&Navigation", "Walk back to the previous intersection"},
      {515, "IDM_BEACONSET", "&Bookmarks", "Set beacon on bookmark..."},
      {516, "IDM_BEACONSAY", "&Say", "Beacon distance and direction"},
      {517, "IDM_BEACONOFF", "&Bookmarks", "Beacon off"},
  };
  const ui::MenuBar bar = menu_bar("en");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ui::MenuItem* it = bar.find(c.id);
    ASSERT_NE(it, nullptr);
    EXPECT_EQ(it->name, c.name);
    EXPECT_EQ(it->text, c.text);
    const auto menu = std::find_if(bar.menus.begin(), bar.menus.end(), [&](const ui::MenuItem& m) {
      return std::any_of(m.children.begin(), m.children.end(),
                         [&](const ui::MenuItem& i) { return i.id == c.id; });
    });
    ASSERT_NE(menu, bar.menus.end());
    EXPECT_EQ(menu->text, c.menu);
  }
}

TEST(MainMenu, SwitchesShowCheckMarks) {
  const std::set<std::string> switches = {"IDM_MUTE",
                                          "IDM_MONO",
                                          "IDM_CHANGESPEAKERS",
                                          "IDM_SOUNDBEHINDLOWER",
                                          "IDM_SOUNDHRTFMODE",
                                          "IDM_USEMOUSE",
                                          "IDM_AUTOUPDATECHECK",
                                          "IDM_CONFIRMEXIT",
                                          "IDM_SAVESETTINGSREMIND",
                                          "IDM_NMEALOG_OMITSTOPS",
                                          "IDM_GPS_AUTOUDIRCHANGE"};
  const ui::MenuBar bar = menu_bar("pl");
  for (const ui::MenuItem* it : all_items(bar))
    EXPECT_EQ(it->checkable, switches.count(it->name) == 1) << it->name;
}

TEST(MainMenu, NoKeyRunsTwoCommandsAndPolishKeysOnlyInPolish) {
  for (const char* lang : {"en", "pl"}) {
    ui::MenuBar bar = menu_bar(lang);
    std::map<std::string, int> seen;
    for (const ui::MenuItem* it : all_items(bar)) {
      if (!it->accel) continue;
      auto [pos, fresh] = seen.emplace(ui::accel_text(*it->accel), it->id);
      EXPECT_TRUE(fresh) << lang << ": " << pos->first << " for " << pos->second << " and "
                         << it->id;
    }
  }
  EXPECT_EQ(menu_bar("en").command_for(*ui::parse_accel("Ctrl+F5")), 0);
  EXPECT_EQ(menu_bar("en").command_for(*ui::parse_accel("Ctrl+Enter")), 0);
  EXPECT_EQ(menu_bar("pl").command_for(*ui::parse_accel("Ctrl+F5")), 135);
  EXPECT_EQ(menu_bar("pl").command_for(*ui::parse_accel("Ctrl+Enter")), 150);
}

// What the coming modules do: one row, and the command is in the menu at its
// place with its key, runs from the window and the console, and follows its
// enabling rule.
TEST(CommandTable, OneRowMakesACommand) {
  Window w("Ctrl+Shift+Up\nIDM_SAYTYPE\nIDM_WALKSOMEWHERE\n");
  int walked = 0;
  bool at_road = false;
  w.app().commands().add({.id = 298,
                          .name = "IDM_WALKSOMEWHERE",
                          .menu = ui::Menu::Navigation,
                          .order = 105,
                          .text = "Walk somewhere",
                          .key = ui::key(ui::Key::Up, ui::MOD_CTRL | ui::MOD_SHIFT),
                          .run = [&walked] { ++walked; },
                          .enabled = [&at_road] { return at_road; }});
  const ui::MenuBar bar = w.app().menu_bar();
  w.ui().set_menu(bar);
  const std::vector<ui::MenuItem>& nav = bar.menus[1].children;
  ASSERT_GE(nav.size(), 13u);
  EXPECT_EQ(nav[11].name, "IDM_TURNNORTH");
  EXPECT_EQ(nav[12].name, "IDM_WALKSOMEWHERE");
  EXPECT_EQ(nav[12].key_text, "Ctrl+Shift+Up");
  w.app().on_init_menu();
  EXPECT_FALSE(w.ui().is_item_enabled(298));
  at_road = true;
  w.app().on_init_menu();
  EXPECT_TRUE(w.ui().is_item_enabled(298));
  w.ui().run(w.app());
  EXPECT_EQ(walked, 2);  // by its key and by its name; the Space between did not walk
}

TEST(CommandTable, TwoRowsForOneIdNameOrKeyAreRefused) {
  ui::Commands c;
  c.add({.id = 211, .name = "IDM_GOFORWARD", .key = ui::key(ui::Key::Up)});
  EXPECT_THROW(c.add({.id = 211, .name = "IDM_OTHER"}), std::logic_error);
  EXPECT_THROW(c.add({.id = 999, .name = "IDM_GOFORWARD"}), std::logic_error);
  EXPECT_THROW(c.add({.id = 999, .name = "IDM_OTHER", .key = ui::key(ui::Key::Up)}),
               std::logic_error);
  c.add({.id = 212, .name = "IDM_GOBACK", .key = ui::key(ui::Key::Down)});
  EXPECT_EQ(c.id_of("IDM_GOBACK"), 212);
  EXPECT_EQ(c.id_of("IDM_NOSUCH"), 0);
  EXPECT_TRUE(c.run(211));  // a row without work runs and does nothing
  EXPECT_FALSE(c.run(4242));
}

}  // namespace
}  // namespace orvela::app
