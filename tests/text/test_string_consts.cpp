#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "catalogue_bytes.h"
#include "support/test_env.h"
#include "text/language.h"
#include "text/string_consts.h"

namespace orvela::text {
namespace {

TEST(StringConsts, EnglishTables) {
  StringConsts sc;
  EXPECT_EQ(sc.WGINFOTITLE, "Info");
  EXPECT_EQ(sc.WGQUESTIONTITLE, "Question");
  EXPECT_EQ(sc.DEFBOOKMARKNAME, "Point");
  const std::string desc = "Loadstone checkpoints or database text files *.lscp, *.txt, *.lsdbtxt";
  EXPECT_EQ(sc.BOOKMARK_FTYPEREADSPEC.joined(), desc + '\0' + "*.lscp;*.txt;*.lsdbtxt" + '\0');
  EXPECT_EQ(sc.BOOKMARK_FTYPEREADSPEC.patterns(), (std::vector<std::string>{"*.lscp", "*.txt", "*.lsdbtxt"}));
  EXPECT_EQ(sc.FTYPEOPENNMEALOG.pattern, "*.*");

  ASSERT_EQ(sc.UDIRMODES.size(), static_cast<std::size_t>(UDIRMODESCOUNT));
  std::set<std::string> symbols;
  for (const auto& m : sc.UDIRMODES) {
    symbols.insert(m.SYMBOL);
    EXPECT_LE(m.SYMBOL.size(), 2u);
    EXPECT_LE(m.TYP, UDIRMODETYP_ADVANCEDCOMPASS);
  }
  EXPECT_EQ(symbols.size(), sc.UDIRMODES.size());  // settings store the mode by symbol
  EXPECT_EQ(sc.UDIRMODES[0].SYMBOL, "rc");
  EXPECT_TRUE(sc.UDIRMODES[0].RELATIVE);
  EXPECT_EQ(sc.UDIRMODES[5].TYP, UDIRMODETYP_ADVANCEDCOMPASS);
  EXPECT_EQ(sc.UDIRMODES[5].NAME, "Advanced compass (32 directions)");

  ASSERT_EQ(sc.COMPASSDIRNAMES.size(), 32u);
  for (const auto& name : sc.COMPASSDIRNAMES) EXPECT_EQ(name.back(), ' ') << name;
  EXPECT_EQ(sc.COMPASSDIRNAMES[0], "North ");
  EXPECT_EQ(sc.COMPASSDIRNAMES[8], "East ");
  EXPECT_EQ(sc.COMPASSDIRNAMES[16], "South ");
  EXPECT_EQ(sc.COMPASSDIRNAMES[24], "West ");
  EXPECT_EQ(sc.COMPASSDIRNAMES[31], "North by west ");
  ASSERT_EQ(sc.WEEKDAYNAMES.size(), 7u);
  EXPECT_EQ(sc.WEEKDAYNAMES[0], "Monday");
  EXPECT_EQ(sc.WEEKDAYNAMES[6], "sunday");
}

TEST(StringConsts, TranslatedWhenFilledAfterTheCatalogue) {
  test::TempDir dir;
  std::filesystem::create_directory(dir / "lang");
  std::ofstream(dir / "lang/pl.orvela.mo", std::ios::binary) << test::sample_mo_bytes();
  Language lang(dir.path().string() + "/");
  ASSERT_TRUE(lang.LOADLANG("pl", "orvela"));
  lang.install();
  StringConsts sc;
  EXPECT_EQ(sc.WGINFOTITLE, "Informacja");
  EXPECT_EQ(sc.COMPASSDIRNAMES[0], "Północ ");
  EXPECT_EQ(sc.COMPASSDIRNAMES[1], "North by east ");  // not in this catalogue
  EXPECT_EQ(sc.WEEKDAYNAMES[0], "Poniedziałek");
}

TEST(StringConsts, SetStrArr) {
  std::vector<std::string> a{"x", "y", "z"};
  SETSTRARR(a, {"1"});
  EXPECT_EQ(a, std::vector<std::string>{"1"});
  SETSTRARR(a, {});
  EXPECT_TRUE(a.empty());
}

}  // namespace
}  // namespace orvela::text
