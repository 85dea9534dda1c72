#pragma once
// The bookmark module's saved switch: the format a save writes.
namespace orvela::bookmarks {

inline constexpr int BMFORMAT_LSCP = 0;  // Loadstone checkpoints (.lscp)
inline constexpr int BMFORMAT_LSDB = 1;  // Loadstone database text (.lsdbtxt)

struct BookmarkSettings {
  int BOOKMARKSAVEFORMAT = BMFORMAT_LSCP;
};

}  // namespace orvela::bookmarks
