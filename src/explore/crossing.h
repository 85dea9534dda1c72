#pragma once
// What a crossing offers someone who cannot see it: signals, a sound or
// tactile guide, an island to wait on, the kerb, or no markings at all. The
// import keeps these tags on crossing and intersection nodes; the
// announcement of such a cell puts them into words.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvela::map {
class MapDb;
struct ORVOBJREC;
}  // namespace orvela::map

namespace orvela::explore {

using TagPair = std::pair<std::string, std::string>;

// The tag describes how a crossing can be used (the import keeps it on the
// node even when a rule already gave the node its type).
bool is_crossing_tag(std::string_view key, std::string_view value);

// The words for what `tags` say about a crossing, each once, in a fixed
// order: traffic signals, sound signals, tactile paving, island, the kerb,
// unmarked. Empty when they say nothing of it.
std::vector<std::string> crossing_words(const std::vector<TagPair>& tags);

// The free tags of object `o` in the open map, in their stored order.
std::vector<TagPair> object_tags(map::MapDb& db, const map::ORVOBJREC& o);

// ", traffic signals, island" for a point or intersection with crossing
// tags; empty for anything else. Reads the map only for objects with tags.
std::string crossing_details(map::MapDb& db, const map::ORVOBJREC& o);

}  // namespace orvela::explore
