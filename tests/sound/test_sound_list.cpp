// Reading the sound list and ordering the sound presentation.
#include <gtest/gtest.h>

#include "sound/sound_list.h"
#include "sound/sound_presentation.h"
#include "sound_fixture.h"

namespace orvela::sound {
namespace {

struct LineCase {
  const char* line;
  bool ok;
  const char* name;
  const char* value;
};

TEST(SettingLines, SplitLikeTheSettingsFiles) {
  const LineCase cases[] = {
      {"road main = road main", true, "road main", "road main"},
      {"  footpath\t=\t steps ; walking", true, "footpath", "steps"},
      {"a=b=c", true, "a", "b=c"},
      {"kind =", true, "kind", ""},
      {"; comment = no", false, "", ""},
      {"= value", false, "", ""},
      {"[section]", false, "", ""},
      {"no equals sign", false, "", ""},
      {"", false, "", ""},
  };
  for (const LineCase& c : cases) {
    std::string name, value;
    EXPECT_EQ(detail::split_setting_line(c.line, name, value), c.ok) << c.line;
    if (c.ok) {
      EXPECT_EQ(name, c.name) << c.line;
      EXPECT_EQ(value, c.value) << c.line;
    }
  }
}

class SoundListFile : public testing::Test {
 protected:
  void read(const std::string& ini) {
    test::write_file(home.dir / "sounds.ini", ini);
    list.READSOUNDSLIST(home.dir / "sounds.ini", home.sounds());
  }
  std::vector<std::string> files() const {
    std::vector<std::string> v;
    for (const auto& f : list.SNDFILES()) v.push_back(f.FN);
    return v;
  }
  test::SoundHome home;
  SoundList list;
};

TEST_F(SoundListFile, FirstEntryWinsAndUnusableFilesAreSkipped) {
  home.add("a");
  home.add("b");
  test::write_file(home.sounds() / "empty.wav", "");
  test::write_file(home.dir / "outside.wav", test::wav_bytes({}));
  read(
      "; our sounds\n"
      "specialsound = User Bookmark\n"
      "Road Main = a\r\n"
      "road main = b\n"
      "  footpath   =   b   ; paths\n"
      "park = missing\n"
      "lake = empty\n"
      "escape = ../outside\n"
      "absolute = " +
      (home.dir / "outside").string() +
      "\n"
      "water =\n"
      "[section]\n");
  EXPECT_EQ(list.SNDTYPEFIND("road main"), "a");
  EXPECT_EQ(list.SNDTYPEFIND("ROAD MAIN"), "a");
  EXPECT_EQ(list.SNDTYPEFIND("footpath"), "b");
  for (const char* kind : {"park", "lake", "escape", "absolute", "water", "unknown", ""}) {
    EXPECT_EQ(list.SNDTYPEFIND(kind), "") << kind;
  }
  EXPECT_EQ(files(), (std::vector<std::string>{"user bookmark", "a", "b"}));
  EXPECT_EQ(list.SNDFILES()[0].LEN, 0);  // registered although it is missing
  EXPECT_EQ(list.SNDFILES()[1].LEN, static_cast<int32_t>(test::wav_bytes({}).size()));
  EXPECT_EQ(list.SNDTYPES().size(), 2u);
}

TEST_F(SoundListFile, MissingListGivesNoSounds) {
  list.READSOUNDSLIST(home.dir / "none.ini", home.sounds());
  EXPECT_TRUE(list.SNDFILES().empty());
  EXPECT_TRUE(list.SNDTYPES().empty());
}

TEST_F(SoundListFile, PresentationListsSpecialsThenKindsThenTheRest) {
  for (const char* n : {"m", "c", "Zeta", "alpha", "late", "Early"}) home.add(n);
  read(
      "specialsound = Zeta\n"
      "specialsound = alpha\n"
      "kind one = m\n"
      "kind two = c\n"
      "kind three = c\n"
      "specialsound = late\n"
      "specialsound = Early\n");
  std::vector<std::string> names;
  std::vector<int> groups;
  for (const auto& e : MAKESPLIST(list)) {
    names.push_back(e.LOCNAMEUTF8);
    groups.push_back(e.PRIORITY);
    EXPECT_EQ(list.SNDFILES()[static_cast<std::size_t>(e.SOUNDFILEID)].FN, e.LOCNAMEUTF8);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"alpha", "zeta", "c", "m", "early", "late"}));
  EXPECT_EQ(groups, (std::vector<int>{0, 0, 1, 1, 2, 2}));
}

}  // namespace
}  // namespace orvela::sound
