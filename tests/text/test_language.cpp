#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "catalogue_bytes.h"
#include "support/test_env.h"
#include "text/distance.h"
#include "text/language.h"
#include "text/translate.h"

namespace orvela::text {
namespace {

namespace fs = std::filesystem;

// A program folder whose lang/ holds `bytes` as the Polish catalogue.
class ProgramDir {
 public:
  explicit ProgramDir(const std::string& bytes) {
    fs::create_directory(dir_ / "lang");
    std::ofstream(dir_ / "lang/pl.orvela.mo", std::ios::binary) << bytes;
  }
  std::string progpath() const { return dir_.path().string() + "/"; }

 private:
  test::TempDir dir_;
};

TEST(Language, LoadsThePolishCatalogue) {
  ProgramDir prog(test::sample_mo_bytes());
  Language lang(prog.progpath());
  EXPECT_EQ(lang.GETCURRENTLANG(), "en");
  EXPECT_TRUE(lang.LOADLANG("pl", "orvela"));
  EXPECT_EQ(lang.GETCURRENTLANG(), "pl");
  EXPECT_EQ(lang.TRANSLATE("Info"), "Informacja");
  EXPECT_EQ(lang.TRANSLATE("Not in the catalogue"), "Not in the catalogue");
  // A second load keeps the first catalogue.
  EXPECT_FALSE(lang.LOADLANG("en", "orvela"));
  EXPECT_FALSE(lang.LOADLANG("de", "orvela"));
  EXPECT_EQ(lang.GETCURRENTLANG(), "pl");
  EXPECT_EQ(lang.TRANSLATE("Info"), "Informacja");
}

TEST(Language, FallsBackToEnglish) {
  std::string good = test::sample_mo_bytes();
  std::string garbage = good;
  test::put_word(garbage, 12, 0x7FFFFFF0);  // originals table far past the end
  struct Case {
    const char* what;
    std::string file;
    std::string lang;
    bool loaded;
  };
  const Case cases[] = {
      {"English needs no file", "", "en", true},
      {"no catalogue for German", good, "de", false},
      {"empty file", "", "pl", false},
      {"truncated", good.substr(0, good.size() / 2), "pl", false},
      {"offsets past the end", garbage, "pl", false},
      {"not a catalogue", "msgid \"Info\"\nmsgstr \"Informacja\"\n", "pl", false},
      {"a path instead of a code", good, "../lang/pl", false},
      {"empty code", good, "", false},
  };
  for (const auto& c : cases) {
    ProgramDir prog(c.file);
    Language lang(prog.progpath());
    EXPECT_EQ(lang.LOADLANG(c.lang, "orvela"), c.loaded) << c.what;
    EXPECT_EQ(lang.GETCURRENTLANG(), "en") << c.what;
    EXPECT_EQ(lang.TRANSLATE("Info"), "Info") << c.what;
  }
}

TEST(Language, FailedLoadAllowsAnotherTry) {
  ProgramDir prog(test::sample_mo_bytes());
  Language lang(prog.progpath());
  EXPECT_FALSE(lang.LOADLANG("de", "orvela"));
  EXPECT_TRUE(lang.LOADLANG("pl", "orvela"));
  EXPECT_EQ(lang.GETCURRENTLANG(), "pl");
}

TEST(Language, InstalledCatalogueAnswersUnderscore) {
  ProgramDir prog(test::sample_mo_bytes());
  {
    Language lang(prog.progpath());
    ASSERT_TRUE(lang.LOADLANG("pl", "orvela"));
    lang.install();
    EXPECT_EQ(_("North "), "Północ ");
    EXPECT_EQ(_("Untranslated here"), "Untranslated here");
    EXPECT_EQ(STRTOKENREPLACE(_("Can not create {dir} directory."), {"dir", "/tmp/mapy"}),
              "Nie można utworzyć katalogu /tmp/mapy.");
    EXPECT_EQ(DISTANCETOSTR(2345), "2.3 kilometrów");
  }
  // Gone with its Language: English again instead of a dangling catalogue.
  EXPECT_EQ(_("North "), "North ");
}

TEST(Language, UserLanguageFromTheEnvironment) {
  using Env = std::map<std::string, std::string>;
  struct Case {
    Env env;
    std::string lang;
  };
  const Case cases[] = {
      {{}, "en"},
      {{{"LANG", "pl_PL.UTF-8"}}, "pl"},
      {{{"LANG", "de_DE.UTF-8"}, {"LC_MESSAGES", "pl_PL.UTF-8"}}, "pl"},
      {{{"LANG", "de_DE"}, {"LC_MESSAGES", "fr_FR"}, {"LC_ALL", "pl_PL@euro"}}, "pl"},
      {{{"LC_ALL", ""}, {"LANG", "pl"}}, "pl"},  // empty counts as unset
      {{{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "pl:en"}}, "pl"},
      {{{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", ":pl_PL"}}, "pl"},
      {{{"LANG", "C.UTF-8"}, {"LANGUAGE", "pl"}}, "en"},  // gettext ignores LANGUAGE under C
      {{{"LC_ALL", "POSIX"}, {"LANG", "pl_PL"}}, "en"},
      {{{"LANG", "C"}}, "en"},
      {{{"LANG", "PL_pl"}}, "pl"},
      {{{"LANG", "../../etc"}}, "en"},
      {{{"LANG", "english"}}, "en"},
  };
  for (const auto& c : cases) {
    auto lookup = [&c](const char* name) -> const char* {
      auto it = c.env.find(name);
      return it == c.env.end() ? nullptr : it->second.c_str();
    };
    std::string described;
    for (const auto& [k, v] : c.env) described += k + "=" + v + " ";
    EXPECT_EQ(GETUSERLANG(lookup), c.lang) << described;
  }
}

}  // namespace
}  // namespace orvela::text
