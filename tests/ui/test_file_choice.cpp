// What the front ends hand to the desktop about files.
#include <gtest/gtest.h>

#include "ui/file_choice.h"

namespace orvela::ui {
namespace {

TEST(FileUri, EveryByteAFileManagerCouldMisreadIsEncoded) {
  struct Case {
    const char* path;
    const char* uri;
  };
  const Case cases[] = {
      {"/tmp/a.lscp", "file:///tmp/a.lscp"},
      {"/home/ana/My bookmarks/x-1_2~.gpx", "file:///home/ana/My%20bookmarks/x-1_2~.gpx"},
      {"/t/Zagreb \xC4\x8Dvor.lsdbtxt", "file:///t/Zagreb%20%C4%8Dvor.lsdbtxt"},
      {"/t/it's #1 100%?.lscp", "file:///t/it%27s%20%231%20100%25%3F.lscp"},
      {"/t/a\nb", "file:///t/a%0Ab"},
  };
  for (const Case& c : cases) EXPECT_EQ(file_uri(c.path), c.uri) << c.path;
}

TEST(FilterExt, OnlyAFilterOfOneExtensionNamesIt) {
  struct Case {
    const char* pattern;
    const char* ext;
  };
  const Case cases[] = {
      {"*.gpx", ".gpx"}, {"*.lsdbtxt", ".lsdbtxt"}, {"*.lscp;*.txt", ""}, {"*.*", ""}, {"*", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(filter_ext({"d", c.pattern}), c.ext) << c.pattern;
}

}  // namespace
}  // namespace orvela::ui
