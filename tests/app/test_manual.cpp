// The user manuals name every command of the menu bar under the heading of
// its menu, with its key, in the words the menu shows in that language.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/app_window.h"
#include "support/file_bytes.h"
#include "support/test_env.h"
#include "text/language.h"
#include "ui/keys.h"

namespace orvela::app {
namespace {

using orvela::test::file_bytes;

namespace fs = std::filesystem;

// One block of the manual as a screen reader walks it: a heading or a list item.
struct Block {
  bool heading;
  std::string text;
};

std::string decode_entities(std::string s) {
  const std::pair<const char*, const char*> entities[] = {{"&lt;", "<"},    {"&gt;", ">"},
                                                          {"&quot;", "\""}, {"&#39;", "'"},
                                                          {"&nbsp;", " "},  {"&amp;", "&"}};
  for (const auto& [from, to] : entities)
    for (size_t at = 0; (at = s.find(from, at)) != std::string::npos; at += std::strlen(to))
      s.replace(at, std::strlen(from), to);
  return s;
}

// The text between tags, entities decoded and white space collapsed.
std::string plain(const std::string& html) {
  std::string out;
  bool in_tag = false;
  for (char c : html) {
    if (c == '<') in_tag = true;
    if (!in_tag) out += std::isspace(static_cast<unsigned char>(c)) ? ' ' : c;
    if (c == '>') in_tag = false;
  }
  out = decode_entities(out);
  std::string collapsed;
  for (char c : out)
    if (c != ' ' || (!collapsed.empty() && collapsed.back() != ' ')) collapsed += c;
  while (!collapsed.empty() && collapsed.back() == ' ') collapsed.pop_back();
  return collapsed;
}

// Headings h2 and h3 and list items, in document order.
std::vector<Block> blocks(const std::string& html) {
  std::vector<Block> out;
  for (size_t at = 0; (at = html.find('<', at)) != std::string::npos; ++at) {
    const std::string tag = html.substr(at + 1, 3);
    const bool heading = tag.rfind("h2", 0) == 0 || tag.rfind("h3", 0) == 0;
    const bool item = tag == "li>" || tag == "li ";
    if (!heading && !item) continue;
    const std::string close = heading ? "</" + tag.substr(0, 2) + ">" : "</li>";
    const size_t open_end = html.find('>', at);
    const size_t end = html.find(close, open_end);
    if (open_end == std::string::npos || end == std::string::npos) break;
    out.push_back({heading, plain(html.substr(open_end + 1, end - open_end - 1))});
  }
  return out;
}

// A menu text as read aloud: no access-letter markers, no trailing dots.
std::string spoken(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
  while (!text.empty() && (text.back() == '.' || text.back() == ' ')) text.pop_back();
  return text;
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string key_of(const ui::MenuItem& it) {
  if (!it.key_text.empty()) return it.key_text;
  return it.accel ? ui::accel_text(*it.accel) : std::string();
}

// Checks that every command of `bar` is a list item of the manual's section
// headed by its menu's title, together with the key that runs it.
void expect_every_command(const ui::MenuBar& bar, const std::string& html) {
  const std::vector<Block> doc = blocks(html);
  ASSERT_FALSE(doc.empty());
  for (const ui::MenuItem& menu : bar.menus) {
    const std::string title = spoken(menu.text);
    SCOPED_TRACE("menu " + title);
    auto head = std::find_if(doc.begin(), doc.end(),
                             [&](const Block& b) { return b.heading && b.text == title; });
    ASSERT_NE(head, doc.end()) << "no heading \"" << title << "\"";
    auto end = std::find_if(head + 1, doc.end(), [](const Block& b) { return b.heading; });
    std::vector<const ui::MenuItem*> items;
    test::collect_items(menu.children, items);
    for (const ui::MenuItem* it : items) {
      const std::string text = spoken(it->text);
      const std::string key = key_of(*it);
      const bool found = std::any_of(head + 1, end, [&](const Block& b) {
        return b.text.find(text) != std::string::npos &&
               lower(b.text).find(lower(key)) != std::string::npos;
      });
      EXPECT_TRUE(found) << it->name << ": no item \"" << text << "\" with key \"" << key << "\"";
    }
  }
}

TEST(Manual, EnglishNamesEveryCommandWithItsKey) {
  const std::string html = file_bytes(orvela::test::source_dir() / "data/help.en.html");
  EXPECT_NE(html.find("<html lang=\"en\""), std::string::npos);
  expect_every_command(test::Window("", "en").app().menu_bar(), html);
}

TEST(Manual, PolishNamesEveryCommandInPolishWithItsKey) {
  const std::string html = file_bytes(orvela::test::source_dir() / "data/help.pl.html");
  EXPECT_NE(html.find("<html lang=\"pl\""), std::string::npos);
  text::Language polish(orvela::test::program_dir().string() + "/");
  ASSERT_TRUE(polish.LOADLANG("pl", "orvela"));
  polish.install();
  const ui::MenuBar bar = test::Window("", "pl").app().menu_bar();
  // The menu really is in Polish, so the manual is checked against Polish words.
  ASSERT_EQ(spoken(bar.menus[0].text), "Mapa");
  expect_every_command(bar, html);
}

// Layout tables make a screen reader announce rows and columns that mean nothing.
TEST(Manual, PlainHtmlWithoutLayoutTables) {
  for (const char* name : {"help.en.html", "help.pl.html"}) {
    SCOPED_TRACE(name);
    const std::string html = file_bytes(orvela::test::source_dir() / "data" / name);
    EXPECT_EQ(html.find("<table"), std::string::npos);
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(html.find("<h1>"), std::string::npos);
  }
}

}  // namespace
}  // namespace orvela::app
