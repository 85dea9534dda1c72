#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/test_env.h"
#include "text/language.h"

namespace orvela::text {
namespace {

namespace fs = std::filesystem;

// Output and exit status of a shell command.
std::pair<std::string, int> run(const std::string& cmd) {
  std::string out;
  FILE* p = popen((cmd + " 2>&1").c_str(), "r");
  if (!p) return {"", -1};
  char buf[512];
  while (fgets(buf, sizeof buf, p)) out += buf;
  return {out, pclose(p)};
}

// Every message of the shipped translation is translated and none is left
// fuzzy, so Polish users never meet a stray English text we already know of.
TEST(ShippedTranslation, PolishIsComplete) {
  fs::path po = test::source_dir() / "data/lang/pl.po";
  ASSERT_TRUE(fs::exists(po)) << po;
  auto [out, status] =
      run(std::string(ORVELA_MSGFMT) + " --check --statistics -o /dev/null '" + po.string() + "'");
  EXPECT_EQ(status, 0) << out;
  EXPECT_NE(out.find("translated message"), std::string::npos) << out;
  EXPECT_EQ(out.find("untranslated"), std::string::npos) << out;
  EXPECT_EQ(out.find("fuzzy"), std::string::npos) << out;
}

// The build puts the compiled catalogue where the program looks for it.
TEST(ShippedTranslation, BuiltCatalogueLoads) {
  fs::path lang_dir = ORVELA_BUILT_LANG_DIR;
  ASSERT_TRUE(fs::exists(lang_dir / "pl.orvela.mo"));
  Language lang(lang_dir.parent_path().string() + "/");
  ASSERT_TRUE(lang.LOADLANG("pl", "orvela"));
  EXPECT_EQ(lang.TRANSLATE("North "), "Północ ");
  EXPECT_EQ(lang.TRANSLATE("{dist} metres"), "{dist} m");
}

}  // namespace
}  // namespace orvela::text
