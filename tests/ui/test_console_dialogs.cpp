#include <gtest/gtest.h>

#include "support/console_fixture.h"
#include "text/messages.h"

namespace orvela::ui {
namespace {

using test::Console;
using Lines = std::vector<std::string>;

TEST(ConsoleDialogs, SpeechAndBoxesPrintOneLineEachWithLineBreaksEscaped) {
  Console c("");
  text::Messages msgs(c.ui.speech());
  msgs.EDA("One square 10 metres.");
  msgs.EDANOINT("first\nsecond\r\nthird\rfourth");
  c.ui.WGINFO("Map loaded.\nThree objects.");
  c.ui.WGSETWINTEXTSTR("Orvela - city");
  c.ui.copy_files_to_clipboard({"/tmp/a.lscp", "/tmp/b c.lscp"});
  c.ui.show_file_in_folder("/tmp/b c/a.lscp");
  EXPECT_EQ(c.out_lines(),
            (Lines{"SAY One square 10 metres.", "SAY first\\nsecond\\nthird\\nfourth",
                   "INFO Map loaded.\\nThree objects.", "TITLE Orvela - city",
                   "CLIPBOARD /tmp/a.lscp", "CLIPBOARD /tmp/b c.lscp", "OPEN /tmp/b c"}));
}

TEST(ConsoleDialogs, YesNoAnswersAndDefaults) {
  struct Case {
    const char* input;
    bool default_yes;
    bool expected;
  };
  const Case cases[] = {
      {"y\n", false, true},    {"YES\n", false, true}, {"n\n", true, false},
      {" no \n", true, false}, {"\n", true, true},     {"\n", false, false},
      {"", true, true},        {"", false, false},     {"maybe\nn\n", true, false},
  };
  for (const Case& k : cases) {
    Console c(k.input);
    const bool got = k.default_yes ? c.ui.WGTN("Save bookmarks") : c.ui.WGNT("Save bookmarks");
    EXPECT_EQ(got, k.expected) << '"' << k.input << '"';
    EXPECT_EQ(c.out_lines(), Lines{"ASK Save bookmarks?"});
  }
}

TEST(ConsoleDialogs, QuestionMarkIsNotDoubled) {
  Console c("y\n");
  c.ui.WGTN("Really quit program?");
  EXPECT_EQ(c.out_lines(), Lines{"ASK Really quit program?"});
}

TEST(ConsoleDialogs, OneLineEntryAnswers) {
  struct Case {
    const char* input;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"Main street 5\n", "Main street 5"}, {"\n", ""},
      {":default\n", "52.1 21.0"},          {":cancel\n", std::nullopt},
      {"  spaced  \r\n", "  spaced  "},
  };
  for (const Case& k : cases) {
    Console c(k.input);
    EXPECT_EQ(c.ui.WGREADSTR("Go to coordinates", "Latitude and longitude:", "52.1 21.0"),
              k.expected)
        << '"' << k.input << '"';
    EXPECT_EQ(c.out_lines(), Lines{"INPUT Go to coordinates: Latitude and longitude: [52.1 21.0]"});
  }
}

TEST(ConsoleDialogs, MultiLineTextPrintsEachLineAndReadsOneAnswer) {
  Console c("\n:cancel\nedited\\nagain\nignored\n\n");
  const std::string tags = "name=Main street\r\nhighway=residential";
  EXPECT_EQ(c.ui.WGREADMULTILINESTR("Tags", "Object tags:", tags, true), tags);
  EXPECT_EQ(c.ui.WGREADMULTILINESTR("Tags", "Object tags:", tags, true), std::nullopt);
  EXPECT_EQ(c.ui.WGREADMULTILINESTR("Notes", "Text:", "old", false), "edited\nagain");
  // A read-only text cannot be replaced: the line is refused, the next one read.
  EXPECT_EQ(c.ui.WGREADMULTILINESTR("Tags", "Object tags:", "x", true), "x");
  EXPECT_EQ(c.out_lines(),
            (Lines{"TEXT Tags: Object tags:", "| name=Main street", "| highway=residential",
                   "TEXT Tags: Object tags:", "| name=Main street", "| highway=residential",
                   "TEXT Notes: Text:", "| old", "TEXT Tags: Object tags:", "| x"}));
  EXPECT_EQ(c.err_lines().size(), 1u);
}

TEST(ConsoleDialogs, ListMarksThePreselectedEntryAndReadsTheChoice) {
  const std::vector<std::string> entries{"Bus stop", "Bakery\nopen", "Park"};
  struct Case {
    const char* input;
    std::size_t preselect;
    std::optional<std::size_t> expected;
    const char* marked;  // the line of the preselected entry
  };
  const Case cases[] = {
      {"3\n", 1, 2, "* 2. Bakery\\nopen"},
      {"\n", 1, 1, "* 2. Bakery\\nopen"},
      {"0\n", 0, std::nullopt, "* 1. Bus stop"},
      {":cancel\n", 0, std::nullopt, "* 1. Bus stop"},
      {"7\nx\n1\n", 0, 0, "* 1. Bus stop"},  // out of range and junk are asked again
      {"\n", 9, 0, "* 1. Bus stop"},         // a preselection past the end selects the first
  };
  for (const Case& k : cases) {
    Console c(k.input);
    EXPECT_EQ(c.ui.WGREADLIST("Points", "Choose a point:", entries, k.preselect), k.expected)
        << '"' << k.input << '"';
    const Lines out = c.out_lines();
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(out[0], "LIST Points: Choose a point:");
    EXPECT_EQ(out[1 + (k.preselect < 3 ? k.preselect : 0)], k.marked);
    for (std::size_t i = 1; i < 4; ++i)
      if (out[i] != k.marked) {
        EXPECT_EQ(out[i].substr(0, 2), "  ") << out[i];
      }
  }
}

// Once input has ended nobody is there to answer: a question takes its
// default button, every other dialog is cancelled, so a script that stops in
// the middle of a dialog never makes up an answer or loops on one.
TEST(ConsoleDialogs, EndOfInputTakesTheDefaultOfQuestionsAndCancelsTheRest) {
  Console c("");
  EXPECT_TRUE(c.ui.WGTN("Save bookmarks"));
  EXPECT_FALSE(c.ui.WGNT("Delete all bookmarks"));
  EXPECT_EQ(c.ui.WGREADSTR("Go to coordinates", "Latitude and longitude:", "52.1 21.0"),
            std::nullopt);
  EXPECT_EQ(c.ui.WGREADMULTILINESTR("Tags", "Object tags:", "a=b", true), std::nullopt);
  EXPECT_EQ(c.ui.WGREADMULTILINESTR("Notes", "Text:", "old", false), std::nullopt);
  EXPECT_EQ(c.ui.WGREADLIST("Sounds", "Select sound", {"a", "b"}, 1), std::nullopt);
  EXPECT_EQ(c.ui.WGWYBORPLI(WGFOPEN, "Open", {}), std::nullopt);
  EXPECT_EQ(c.out_lines().size(), 11u);
  EXPECT_TRUE(c.err_lines().empty());
}

TEST(ConsoleDialogs, EmptyListGivesNothing) {
  Console c("1\n");
  EXPECT_EQ(c.ui.WGREADLIST("Points", "Choose:", {}, 0), std::nullopt);
  EXPECT_EQ(c.out_lines(), Lines{"LIST Points: Choose:"});
}

TEST(ConsoleDialogs, FileChooserShowsFiltersAndAddsTheDefaultExtensionOnSave) {
  const std::vector<FileFilter> filters{{"Loadstone Checkpoints file *.lscp", "*.lscp"},
                                        {"All files", "*.*"}};
  Console c("/tmp/x/home\n/tmp/x/home\n/tmp/x/home.txt\n:cancel\n\n");
  EXPECT_EQ(c.ui.WGWYBORPLI(WGFSAVEAS, "Save bookmarks", filters, {}, ".lscp"),
            std::filesystem::path("/tmp/x/home.lscp"));
  EXPECT_EQ(c.ui.WGWYBORPLI(WGFOPEN, "Load bookmarks", filters, {}, ".lscp"),
            std::filesystem::path("/tmp/x/home"));
  EXPECT_EQ(c.ui.WGWYBORPLI(WGFSAVEASNOASK, "Save", filters, {}, "lscp"),
            std::filesystem::path("/tmp/x/home.txt"));
  EXPECT_EQ(c.ui.WGWYBORPLI(WGFOPEN, "Open", filters), std::nullopt);
  EXPECT_EQ(c.ui.WGWYBORPLI(WGFOPEN, "Open", {}), std::nullopt);
  EXPECT_EQ(c.ui.WGWYBORPLI(WGFOPEN, "Open", {}), std::nullopt);  // end of input
  const Lines out = c.out_lines();
  ASSERT_EQ(out.size(), 6u);
  EXPECT_EQ(out[0], "FILE Save bookmarks [Loadstone Checkpoints file *.lscp|*.lscp|All files|*.*]");
  EXPECT_EQ(out[4], "FILE Open []");
}

TEST(ConsoleDialogs, WebAndMailAskFirstThenOpen) {
  Console c("y\ny\ny\nn\ny\n");
  EXPECT_TRUE(c.ui.RUNWEB("orvela.example.org"));
  EXPECT_TRUE(c.ui.RUNWEB("ftp://files.example.org/x"));
  EXPECT_TRUE(c.ui.RUNWEB("HTTPS://example.org"));
  EXPECT_FALSE(c.ui.RUNWEB("example.org"));
  EXPECT_TRUE(c.ui.RUNMAIL("author@example.org"));
  EXPECT_EQ(
      c.out_lines(),
      (Lines{"ASK Do you want to open web page orvela.example.org in default browser?",
             "OPEN http://orvela.example.org",
             "ASK Do you want to open web page ftp://files.example.org/x in default browser?",
             "OPEN ftp://files.example.org/x",
             "ASK Do you want to open web page HTTPS://example.org in default browser?",
             "OPEN HTTPS://example.org",
             "ASK Do you want to open web page example.org in default browser?",
             "ASK Do you want to create message to author@example.org in default mail client?",
             "OPEN mailto:author@example.org"}));
}

}  // namespace
}  // namespace orvela::ui
