#include <gtest/gtest.h>

#include "ui/keys.h"
#include "ui/menu.h"

namespace orvela::ui {
namespace {

TEST(Keys, MenuKeyTextsReadBackAsTheirAccelerators) {
  struct Case {
    const char* text;
    Accel expected;
  };
  const Case cases[] = {
      {"Up", key(Key::Up)},
      {"Up arrow", key(Key::Up)},
      {"Shift+Left arrow", key(Key::Left, MOD_SHIFT)},
      {"Ctrl+PGUP", key(Key::PageUp, MOD_CTRL)},
      {"Ctrl+Page Up", key(Key::PageUp, MOD_CTRL)},
      {"ctrl+shift+pgdn", key(Key::PageDown, MOD_CTRL | MOD_SHIFT)},
      {"Shift+Ctrl+Page Down", key(Key::PageDown, MOD_CTRL | MOD_SHIFT)},
      {"alt+f4", key(Key::F4, MOD_ALT)},
      {"Ctrl+o", key('O', MOD_CTRL)},
      {"p", key('P')},
      {"/", key('/')},
      {".", key('.')},
      {"Ctrl+.", key('.', MOD_CTRL)},
      {";", key(';')},
      {"Space", key(' ')},
      {"Ctrl+Space", key(Key::Space, MOD_CTRL)},
      {"Enter", key(Key::Enter)},
      {"Ctrl+Delete", key(Key::Delete, MOD_CTRL)},
      {" Alt + Home ", key(Key::Home, MOD_ALT)},
      {"Ctrl++", key('+', MOD_CTRL)},
  };
  for (const Case& c : cases) {
    const auto got = parse_accel(c.text);
    ASSERT_TRUE(got.has_value()) << c.text;
    EXPECT_EQ(*got, c.expected) << c.text;
  }
}

TEST(Keys, TextsThatNameNoKeyAreRefused) {
  for (const char* text : {"", "Hyper+X", "Ctrl+", "Ctrl+Foo", "IDM_GOFORWARD", "Up arrows"})
    EXPECT_FALSE(parse_accel(text).has_value()) << text;
}

TEST(Keys, WrittenTextsParseBackToTheSameKey) {
  const Accel keys[] = {key(Key::PageUp, MOD_CTRL | MOD_SHIFT),
                        key(Key::Left, MOD_ALT),
                        key('/'),
                        key(' '),
                        key(Key::F1),
                        key('Y', MOD_CTRL | MOD_SHIFT)};
  for (const Accel& a : keys) EXPECT_EQ(parse_accel(accel_text(a)), a) << accel_text(a);
  EXPECT_EQ(accel_text(key(Key::PageUp, MOD_SHIFT | MOD_CTRL)), "Ctrl+Shift+Page Up");
  EXPECT_EQ(accel_text(key('o', MOD_CTRL)), "Ctrl+O");
}

MenuBar sample_menu() {
  MenuBuilder b;
  b.MKMENU_START();
  b.MKMENU_POPUP("&Map");
  b.MKMENU_ADD(101, "IDM_FILEOPEN", "&Open...", "", key('O', MOD_CTRL));
  b.MKMENU_POPUP("&Import OpenStreetMap");
  b.MKMENU_ADD(165, "IDM_OSMIMPORTFILE", "From OSM XML &file...");
  b.MKMENU_ENDPOPUP();
  b.MKMENU_ADD(100, "IDM_CLOSE", "&Quit", "alt+f4");
  b.MKMENU_ENDPOPUP();
  b.MKMENU_ENDPOPUP();  // one too many: ignored
  b.MKMENU_POPUP("&Navigation");
  b.MKMENU_ADD(211, "IDM_GOFORWARD", "Go forward", "Up arrow", key(Key::Up));
  b.MKACCEL_ADD(key('O', MOD_CTRL | MOD_SHIFT), 101);
  return b.MKMENU_END();
}

TEST(Menu, BuilderNestsPopupsInOrderAndIndexesCommands) {
  const MenuBar bar = sample_menu();
  ASSERT_EQ(bar.menus.size(), 2u);
  EXPECT_EQ(bar.menus[0].text, "&Map");
  ASSERT_EQ(bar.menus[0].children.size(), 3u);
  EXPECT_TRUE(bar.menus[0].children[1].is_popup());
  EXPECT_EQ(bar.menus[0].children[1].children.at(0).name, "IDM_OSMIMPORTFILE");
  EXPECT_EQ(bar.menus[0].children[2].id, 100);
  // Without a key text the accelerator's own text is shown.
  EXPECT_EQ(bar.menus[0].children[0].key_text, "Ctrl+O");
  EXPECT_EQ(bar.find(165)->text, "From OSM XML &file...");
  EXPECT_EQ(bar.find(std::string("IDM_GOFORWARD"))->id, 211);
  EXPECT_EQ(bar.find(999), nullptr);
  EXPECT_EQ(bar.find(std::string("&Map")), nullptr);  // a pop-up is not a command
  EXPECT_EQ(bar.command_for(key(Key::Up)), 211);
  EXPECT_EQ(bar.command_for(key('O', MOD_CTRL | MOD_SHIFT)), 101);
  EXPECT_EQ(bar.command_for(key(Key::F4, MOD_ALT)), 0);  // shown only, not an accelerator
}

TEST(Menu, AKeyBoundTwiceRunsTheLaterCommand) {
  MenuBuilder b;
  b.MKMENU_START();
  b.MKACCEL_ADD(key('P'), 251);
  b.MKACCEL_ADD(key('P'), 252);
  const MenuBar bar = b.MKMENU_END();
  EXPECT_EQ(bar.accels.size(), 1u);
  EXPECT_EQ(bar.command_for(key('P')), 252);
}

}  // namespace
}  // namespace orvela::ui
