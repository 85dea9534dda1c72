#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

#include "catalogue_bytes.h"
#include "text/mo_catalogue.h"

namespace orvela::text {
namespace {

using test::put_word;
using test::sample_mo_bytes;
using test::word_at;

void expect_sample_lookups(const MoCatalogue& cat) {
  struct Case {
    std::string id;
    std::optional<std::string> text;
  };
  const Case cases[] = {
      {"Info", "Informacja"},
      {"North ", "Północ "},
      {"Can not create {dir} directory.", "Nie można utworzyć katalogu {dir}."},
      {"{n} point", "{n} punkt"},  // the singular of a plural entry
      {"info", std::nullopt},      // exact: case matters
      {"North", std::nullopt},     // exact: the trailing space matters
      {"Info ", std::nullopt},
      {"{n} points", std::nullopt},
      {"File", std::nullopt},  // only exists with a context
      {"Untranslated here", std::nullopt},
      {"", std::nullopt},  // the header is not a message
  };
  for (const auto& c : cases) {
    auto found = cat.find(c.id);
    ASSERT_EQ(found.has_value(), c.text.has_value()) << c.id;
    if (c.text) {
      EXPECT_EQ(*found, *c.text) << c.id;
    }
  }
}

TEST(MoCatalogue, ReadsWhatMsgfmtWrites) {
  auto cat = MoCatalogue::load(ORVELA_TEST_SAMPLE_MO);
  ASSERT_TRUE(cat.has_value());
  expect_sample_lookups(*cat);
}

TEST(MoCatalogue, ReadsBothByteOrders) {
  std::string le = sample_mo_bytes();
  ASSERT_GT(le.size(), 28u);
  std::string be = test::swap_byte_order(le);
  ASSERT_NE(be, le);
  auto cat = MoCatalogue::parse(be);
  ASSERT_TRUE(cat.has_value());
  expect_sample_lookups(*cat);
}

TEST(MoCatalogue, RefusesEveryTruncation) {
  std::string bytes = sample_mo_bytes();
  // The strings come last; only the final NUL may go missing unnoticed.
  for (std::size_t len = 0; len + 1 < bytes.size(); ++len)
    EXPECT_FALSE(MoCatalogue::parse(std::string_view(bytes).substr(0, len)).has_value()) << len;
}

TEST(MoCatalogue, RefusesOffsetsPastTheEnd) {
  const std::string good = sample_mo_bytes();
  const uint32_t originals = word_at(good, 12), translations = word_at(good, 16);
  const uint32_t size = static_cast<uint32_t>(good.size());
  struct Patch {
    const char* what;
    std::size_t offset;
    uint32_t value;
  };
  const Patch patches[] = {
      {"bad magic", 0, 0x12345678},
      {"unknown major revision", 4, 2u << 16},
      {"count beyond the tables", 8, 0x0FFFFFFF},
      {"count at the maximum", 8, 0xFFFFFFFF},
      {"originals table past the end", 12, size},
      {"translations table near 4 GiB", 16, 0xFFFFFFFC},
      {"first original's length past the end", originals, size},
      {"first original's offset past the end", originals + 4, size + 1},
      {"first original wraps 32 bits", originals + 4, 0xFFFFFFFF},
      {"last translation's length huge", translations + 8 * (word_at(good, 8) - 1), 0xFFFFFFFF},
  };
  for (const auto& p : patches) {
    std::string bad = good;
    put_word(bad, p.offset, p.value);
    EXPECT_FALSE(MoCatalogue::parse(bad).has_value()) << p.what;
  }
  std::string minor = good;
  put_word(minor, 4, 1);  // a minor revision is still readable
  EXPECT_TRUE(MoCatalogue::parse(minor).has_value());
}

// A translation that is not UTF-8 (a catalogue saved in a legacy code page)
// is left out, so that message is spoken in English instead of as garbage.
TEST(MoCatalogue, SkipsTranslationsThatAreNotUtf8) {
  std::string bytes = sample_mo_bytes();
  std::size_t pos = bytes.find("Informacja");
  ASSERT_NE(pos, std::string::npos);
  bytes[pos + 3] = '\xF3';  // "ó" as ISO-8859-2 writes it
  auto cat = MoCatalogue::parse(bytes);
  ASSERT_TRUE(cat.has_value());
  EXPECT_FALSE(cat->find("Info").has_value());
  EXPECT_EQ(cat->find("North "), "Północ ");
}

// Random damage anywhere in the file: parsing and lookups must stay inside
// the buffer (AddressSanitizer watches) and answer something.
TEST(MoCatalogue, SurvivesRandomDamage) {
  const std::string good = sample_mo_bytes();
  std::mt19937 rng(1234);
  int parsed = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string bad = good;
    int flips = 1 + static_cast<int>(rng() % 4);
    for (int k = 0; k < flips; ++k) bad[4 + rng() % (bad.size() - 4)] = static_cast<char>(rng());
    auto cat = MoCatalogue::parse(bad);
    if (!cat) continue;
    ++parsed;
    for (const char* id : {"Info", "North ", "{n} point", "Monday"}) {
      auto t = cat->find(id);
      if (t) {
        EXPECT_LE(t->size(), bad.size());
      }
    }
  }
  EXPECT_GT(parsed, 0);  // damage inside the strings still reads
}

TEST(MoCatalogue, MissingFile) {
  EXPECT_FALSE(MoCatalogue::load("/nonexistent/orvela/pl.orvela.mo").has_value());
  EXPECT_FALSE(MoCatalogue::load("/").has_value());  // a folder is not a catalogue
}

}  // namespace
}  // namespace orvela::text
