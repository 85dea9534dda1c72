#pragma once
// osmreader: turns one OpenStreetMap file into one map file. Node positions
// are kept (in bounded memory, overflowing into a scratch table) so ways get
// their geometry, the rules decide what each tagged node and way becomes, and
// crossings of roads become intersections.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "osm/binorvela.h"
#include "osm/node_cache.h"
#include "osm/osmrules.h"
#include "osm/way_nodes.h"

namespace orvela::osm {

// Phase events, sent as progress(event, 0).
inline constexpr uint64_t OSMREAD_EVMAPINIT = 1;
inline constexpr uint64_t OSMREAD_EVMAPINTERSECTIONS = 2;
inline constexpr uint64_t OSMREAD_EVMAPCLOSE = 3;

// Reading progress (bytes so far, file size) or, with a total of 0, a phase
// event. Returns true to cancel.
using OsmProgressFn = std::function<bool(uint64_t cur, uint64_t total)>;

// Error codes of an import.
inline constexpr int OSMERR_OPEN = 1;
inline constexpr int OSMERR_FORMAT = 2;
inline constexpr int OSMERR_DATABASE = 3;
inline constexpr int OSMERR_RULES = 4;
inline constexpr int OSMERR_NODATA = 10;

struct OsmImportResult {
  int LASTERR = 0;          // 0 = the map was written
  std::string LASTERRDESC;  // the error text shown after "Error {errnum}: "
  bool cancelled = false;   // the progress callback asked to stop; nothing was written
  // With OSMERR_FORMAT, where the reader stopped, when it knows: a byte of
  // the (unpacked) XML text or of the PBF file.
  std::optional<uint64_t> error_offset;
  // With OSMERR_FORMAT, where and what, when the reader knows: shown after
  // the error text ("Line 12, column 5: expected ...").
  std::string error_detail;
};

// Counters of one import, for the curious (tests, the benchmark).
struct OsmImportStats {
  uint64_t ILXMLTAGS = 0, ILNODES = 0, ILWAYS = 0, ILTAGNODES = 0, ILTAGWAYS = 0;
  uint64_t ILIGNOREDTAGS = 0;
  uint64_t missing_nodes = 0;  // way vertices whose node never came
  uint64_t duplicates = 0;     // objects refused because their id was taken
  uint64_t intersections = 0;
  uint64_t spilled_nodes = 0;  // node positions that did not fit in memory
  uint64_t repaired_tags = 0;  // tags with bytes that were not UTF-8, now U+FFFD
};

// What an import holds in memory at most; beyond it, work goes to scratch
// tables in the map file. The defaults keep an import of any size under
// about 300 MB.
struct ImportLimits {
  unsigned node_cache_bits = NodeCache::kMaxBits;  // 2^bits node positions of 16 bytes
  size_t held_way_nodes = WayNodes::kHeldRows;     // rows of 40 bytes
  WriterLimits writer;
  // SQLite's page caches, in KiB: of the map being written, which is
  // written mostly in order, and of the scratch table of node positions
  // that did not fit in memory, which are looked up in way order and jump
  // around it.
  int map_cache_kib = 32 * 1024;
  int scratch_cache_kib = 64 * 1024;
};

struct OsmImportOptions {
  std::filesystem::path rules_file;  // normally osm.rules beside the program
  InfoFn info;                       // faulty lines of rules_file; may be empty
  // Rules loaded already (the window loads them before the import starts,
  // to show their faulty lines); rules_file and info are not used then.
  const OsmRules* rules = nullptr;
  OsmProgressFn progress;           // may be empty
  OsmImportStats* stats = nullptr;  // filled when given
  ImportLimits limits;
};

// The result of an import whose rules file cannot be read (OSMERR_RULES).
OsmImportResult rules_unreadable();

// "Error {errnum}: {errdesc}." and, on the next line, the detail (where and
// what) when there is one.
std::string import_error_text(int err, const std::string& desc, const std::string& detail);

// Converts `infn` (OSM XML, plain or packed, or PBF) into the map `outfn`
// through a database connection of its own, which logs to `errlog`; nobody
// else's map is touched, so the viewer's map stays open meanwhile. The map is
// written under a temporary name in the same folder and renamed into place
// only when complete, so a failure or a cancel leaves an existing map of
// that name untouched. A database error (logged) gives OSMERR_DATABASE.
OsmImportResult OSMPROCFILE(const std::filesystem::path& infn, const std::filesystem::path& outfn,
                            const std::filesystem::path& errlog, const OsmImportOptions& opt);

}  // namespace orvela::osm
