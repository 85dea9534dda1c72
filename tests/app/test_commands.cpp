#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app/commands.h"

namespace orvela::app {
namespace {

void collect(const std::vector<ui::MenuItem>& items, std::vector<const ui::MenuItem*>& out) {
  for (const ui::MenuItem& it : items) {
    if (it.is_popup())
      collect(it.children, out);
    else
      out.push_back(&it);
  }
}

std::vector<const ui::MenuItem*> all_items(const ui::MenuBar& bar) {
  std::vector<const ui::MenuItem*> out;
  collect(bar.menus, out);
  return out;
}

const std::set<int> kPolishOnly = {IDM_INSTALLMAP, IDM_INSTALLMAP2, IDM_UPDMAP,
                                   IDM_UPDALLMAPS, IDM_MAPHISTORY,  IDM_UMPWWW};

TEST(MainMenu, EveryCommandOnceWithItsName) {
  for (const char* lang : {"en", "pl"}) {
    SCOPED_TRACE(lang);
    ui::MenuBar bar = BUILDMAINMENU(lang);
    std::set<int> ids;
    std::set<std::string> names;
    for (const ui::MenuItem* it : all_items(bar)) {
      EXPECT_TRUE(ids.insert(it->id).second) << it->id;
      EXPECT_TRUE(names.insert(it->name).second) << it->name;
      EXPECT_EQ(it->name.rfind("IDM_", 0), 0u) << it->name;
      EXPECT_FALSE(it->text.empty()) << it->name;
    }
    EXPECT_EQ(ids.size(), std::string(lang) == "pl" ? 103u : 97u);
    for (int id : kPolishOnly) EXPECT_EQ(ids.count(id), std::string(lang) == "pl" ? 1u : 0u) << id;
  }
}

TEST(MainMenu, TopLevelMenusInOrder) {
  std::vector<std::string> titles;
  for (const ui::MenuItem& m : BUILDMAINMENU("en").menus) titles.push_back(m.text);
  EXPECT_EQ(titles,
            (std::vector<std::string>{"&Map", "&Navigation", "&Area", "&Bookmarks", "&Sound",
                                      "&Say", "&Gps", "&Settings", "&Weather", "&Help"}));
  const ui::MenuBar pl = BUILDMAINMENU("pl");
  const ui::MenuItem& map = pl.menus[0];
  EXPECT_EQ(map.children[3].text, "Po&bierz i zainstaluj mapę");
  EXPECT_EQ(map.children[4].text, "&Import OpenStreetMap");
  EXPECT_EQ(map.children.back().name, "IDM_CLOSE");
}

TEST(MainMenu, KeysAndTheirTexts) {
  struct Case {
    int id;
    const char* key_text;
    const char* accel;  // as typed in the console; empty: none
  };
  const Case cases[] = {
      {IDM_GOFORWARD, "Up arrow", "Up"},
      {IDM_TURNNORTH, "Ctrl+Up arrow", "Ctrl+Up"},
      {IDM_TURNLEFT, "Shift+Left arrow", "Shift+Left"},
      {IDM_INCSQMETERS, "Ctrl+PGUP", "Ctrl+Page Up"},
      {IDM_MINSQMETERS, "Ctrl+Shift+PGDN", "Ctrl+Shift+Page Down"},
      {IDM_FILEOPEN, "Ctrl+O", "Ctrl+O"},
      {IDM_SAYILEV, ",", ","},
      {IDM_SAYDIRECTION, "/", "/"},
      {IDM_SHOWLASTSAY, ";", ";"},
      {IDM_SELECTUDIRMODE, "Ctrl+.", "Ctrl+."},
      {IDM_BOOKMARKEDIT, "Enter", "Enter"},
      {IDM_SAYTYPE, "Space", "Space"},
      {IDM_GPSGOTOHOME, "Alt+Home", "Alt+Home"},
      {IDM_HELPMANUAL, "F1", "F1"},
      {IDM_CLOSE, "alt+f4", ""},
      {IDM_SAVEUSERINI, "", ""},
  };
  ui::MenuBar bar = BUILDMAINMENU("en");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    const ui::MenuItem* it = bar.find(c.id);
    ASSERT_NE(it, nullptr);
    EXPECT_EQ(it->key_text, c.key_text);
    if (*c.accel) {
      auto a = ui::parse_accel(c.accel);
      ASSERT_TRUE(a.has_value());
      EXPECT_EQ(bar.command_for(*a), c.id);
    } else {
      EXPECT_FALSE(it->accel.has_value());
    }
  }
}

TEST(MainMenu, SwitchesShowCheckMarks) {
  const std::set<int> switches = {IDM_MUTE,
                                  IDM_MONO,
                                  IDM_CHANGESPEAKERS,
                                  IDM_SOUNDBEHINDLOWER,
                                  IDM_SOUNDHRTFMODE,
                                  IDM_USEMOUSE,
                                  IDM_AUTOUPDATECHECK,
                                  IDM_CONFIRMEXIT,
                                  IDM_SAVESETTINGSREMIND,
                                  IDM_NMEALOG_OMITSTOPS,
                                  IDM_GPS_AUTOUDIRCHANGE};
  const ui::MenuBar bar = BUILDMAINMENU("pl");
  for (const ui::MenuItem* it : all_items(bar))
    EXPECT_EQ(it->checkable, switches.count(it->id) == 1) << it->name;
}

TEST(MainMenu, NoKeyRunsTwoCommandsAndPolishKeysOnlyInPolish) {
  for (const char* lang : {"en", "pl"}) {
    ui::MenuBar bar = BUILDMAINMENU(lang);
    std::map<std::string, int> seen;
    for (const ui::MenuItem* it : all_items(bar)) {
      if (!it->accel) continue;
      auto [pos, fresh] = seen.emplace(ui::accel_text(*it->accel), it->id);
      EXPECT_TRUE(fresh) << lang << ": " << pos->first << " for " << pos->second << " and "
                         << it->id;
    }
  }
  EXPECT_EQ(BUILDMAINMENU("en").command_for(*ui::parse_accel("Ctrl+F5")), 0);
  EXPECT_EQ(BUILDMAINMENU("en").command_for(*ui::parse_accel("Ctrl+Enter")), 0);
  EXPECT_EQ(BUILDMAINMENU("pl").command_for(*ui::parse_accel("Ctrl+F5")), IDM_UPDMAP);
  EXPECT_EQ(BUILDMAINMENU("pl").command_for(*ui::parse_accel("Ctrl+Enter")), IDM_UMPWWW);
}

}  // namespace
}  // namespace orvela::app
