#pragma once
// binorvela: writes a new map file one object at a time. The caller fills
// ORVOBJ, its vertices and its free tags, then saves; the whole file is one
// transaction, finished (indices, commit, compaction) or abandoned on close.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "map/mapdb.h"
#include "map/orvobj.h"
#include "map/point.h"
#include "map/varint.h"
#include "osm/batched_insert.h"
#include "osm/tagrec.h"

namespace orvela::osm {

// String tables and their indices in BINORVELSQS (1-based, as GETSTRINGID takes them).
inline constexpr uint8_t BINORVELSQSNAME = 1;
inline constexpr uint8_t BINORVELSQSTYPE = 2;
inline constexpr uint8_t BINORVELSQSSTREET = 3;
inline constexpr uint8_t BINORVELSQSCITY = 4;
inline constexpr uint8_t BINORVELSQSREGION = 5;
inline constexpr uint8_t BINORVELSQSCOUNTRY = 6;
inline constexpr uint8_t BINORVELSQSTAGNAME = 7;
inline constexpr uint8_t BINORVELSQSTAGVALUE = 8;
inline constexpr int BINORVELSQSCOUNT = 8;

// Hashes texts and text views alike, so a lookup by view makes no copy.
struct TextHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

struct BINORVELSQSREC {
  std::string PREF;
  map::Stmt QGET;
  map::Stmt QSET;
  // Every row of the table was written by this writer in this transaction,
  // so the ids it handed out answer most lookups without asking SQLite.
  std::unordered_map<std::string, uint32_t, TextHash, std::equal_to<>> known;
};

// What the writer keeps in memory, so memory stays bounded whatever the input.
struct WriterLimits {
  // Bounding boxes of lines held for the spatial index: 24 bytes each, and
  // about 64 bytes each while the index is packed. Beyond this many lines
  // the index is filled row by row as the lines come.
  size_t held_boxes = 1'000'000;
  // Memory for the ids of texts already written; once full, it starts over.
  size_t known_bytes = 16u << 20;
};

class BinOrvela {
 public:
  explicit BinOrvela(map::MapDb& db, WriterLimits limits = WriterLimits{});
  ~BinOrvela();
  BinOrvela(const BinOrvela&) = delete;
  BinOrvela& operator=(const BinOrvela&) = delete;

  // Creates (or overwrites) the map file and leaves it open in a transaction.
  // A database error is logged and thrown as map::DbFatalError.
  void BINORVEL_INIT(const std::string& dbfn);
  void CLEARTAGS() { ORVTAGS.clear(); }
  void ADDTAG(const TAGREC& t) { ORVTAGS.push_back(t); }
  void ADDPOINT(int32_t lat, int32_t lon) { ORVPOINTS.push_back({lon, lat}); }
  // Stores the current object (under ORVOBJ.ID unless that is 0); returns
  // its row id, or 0 when nothing was stored (a line without vertices, or an
  // id already taken by another object).
  int64_t BINORVEL_SAVEREC();
  // 0 finishes the file; anything else closes it without committing.
  void BINORVEL_CLOSE(uint8_t code);
  // Rows are written many at a time: this writes those still held, so
  // that the file can be read back.
  void flush();
  // Id of `s` in string table `sqsindex`, added when absent; 0 for an empty text.
  uint32_t GETSTRINGID(std::string_view s, uint8_t sqsindex);

  // Name and type ids of the object saved last (0 when it had none).
  uint32_t saved_name_id() const { return saved_ids_[0]; }
  uint32_t saved_type_id() const { return saved_ids_[1]; }

  // Objects refused because their id was already taken.
  uint64_t duplicates() const { return duplicates_; }
  bool is_open() const { return open_; }

  map::ORVOBJREC ORVOBJ;
  std::vector<map::POINT> ORVPOINTS;
  std::vector<map::HLEVREC> ORVHLEVEL;
  std::vector<TAGREC> ORVTAGS;

 private:
  void create_tables();
  void PREPARESQS();
  int64_t save_line(const std::array<uint32_t, 6>& ids);
  int64_t save_point(const std::array<uint32_t, 6>& ids);
  int64_t insert_row(BatchedInsert& rows, int t, int64_t id,
                     std::array<BatchedInsert::Value, 13>& row);
  // Whether an object of table `t` (0 points, 1 lines) may have taken `id`
  // already, and marking it taken: a filter in fixed memory that is never
  // wrong about an id not taken. A new id is held for a batched insert; a
  // taken one goes to SQLite at once, which tells a repeat.
  bool maybe_taken(int t, int64_t id) const;
  void mark_taken(int t, int64_t id);
  int64_t new_row_id(int t) const;
  void fill_common(std::span<BatchedInsert::Value> row, const std::array<uint32_t, 6>& ids);
  void save_tags(int64_t rowid);
  void finalize_statements();
  int64_t free_pages();
  void write_line_boxes();
  void insert_line_boxes();
  std::vector<uint32_t> hilbert_order() const;

  // The bounding box of a stored line, in micro-degrees, kept for the
  // spatial index until the file is finished.
  struct LineBox {
    int64_t rowid;
    int32_t minlon, maxlon, minlat, maxlat;
  };

  map::MapDb& db_;
  std::array<BINORVELSQSREC, BINORVELSQSCOUNT> BINORVELSQS;
  map::Stmt ORV_ADDLINIDX;
  std::vector<uint8_t> blob_;
  BatchedInsert poi_rows_, line_rows_, tag_rows_;
  static constexpr unsigned kTakenBits = 25;
  std::vector<uint64_t> taken_;
  std::array<int64_t, 2> max_id_{};  // the largest id stored in each table
  std::vector<LineBox> boxes_;
  WriterLimits limits_;
  bool tree_started_ = false;
  // Approximate bytes of all `known` maps: a text plus its node and bucket.
  static constexpr size_t kKnownEntryOverhead = 64;
  size_t known_bytes_ = 0;
  std::array<uint32_t, 6> saved_ids_{};
  uint64_t duplicates_ = 0;
  bool open_ = false;
};

// The creation time of the "date" info row: YYYY.MM.DD/hh:mm:ss, local time.
std::string CURDATETIMESTR();

}  // namespace orvela::osm
