#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "catalogue_bytes.h"
#include "support/test_env.h"
#include "text/language.h"
#include "text/string_consts.h"

namespace orvela::text {
namespace {

TEST(StringConsts, EnglishTables) {
  StringConsts sc;
  const std::string desc = "Loadstone checkpoints or database text files *.lscp, *.txt, *.lsdbtxt";
  EXPECT_EQ(sc.BOOKMARK_FTYPEREADSPEC.joined(), desc + '\0' + "*.lscp;*.txt;*.lsdbtxt" + '\0');
  EXPECT_EQ(sc.BOOKMARK_FTYPEREADSPEC.patterns(),
            (std::vector<std::string>{"*.lscp", "*.txt", "*.lsdbtxt"}));

  ASSERT_EQ(sc.UDIRMODES.size(), static_cast<std::size_t>(UDIRMODESCOUNT));
  std::set<std::string> symbols;
  for (const auto& m : sc.UDIRMODES) {
    symbols.insert(m.SYMBOL);
    EXPECT_LE(m.SYMBOL.size(), 2u);
    EXPECT_LE(m.TYP, UDIRMODETYP_ADVANCEDCOMPASS);
  }
  EXPECT_EQ(symbols.size(), sc.UDIRMODES.size());  // settings store the mode by symbol

  ASSERT_EQ(sc.COMPASSDIRNAMES.size(), 32u);
  for (const auto& name : sc.COMPASSDIRNAMES) EXPECT_EQ(name.back(), ' ') << name;
  // Clockwise from north: the cardinal points fall on every eighth entry.
  EXPECT_EQ(sc.COMPASSDIRNAMES[8], "East ");
  EXPECT_EQ(sc.COMPASSDIRNAMES[24], "West ");
  ASSERT_EQ(sc.WEEKDAYNAMES.size(), 7u);
  EXPECT_EQ(sc.WEEKDAYNAMES[0], "Monday");
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

}  // namespace
}  // namespace orvela::text
