#include "online/map_install.h"

#include <sqlite3.h>

#include <algorithm>

#include "map/orvobj.h"
#include "online/archive.h"
#include "text/atomic_file.h"
#include "text/strutil.h"
#include "text/translate.h"

namespace orvela::online {

using text::_;

namespace {

// The temporary folder goes whichever way the installation ends; after a
// success it is empty.
class TempFolder {
 public:
  explicit TempFolder(std::filesystem::path p) : path_(std::move(p)) {}
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

bool is_map(const std::filesystem::path& p) { return p.extension() == ".orvel"; }

// The checks before anything is moved: the named map is there and every map
// of the archive opens.
std::string check_unpacked(const std::filesystem::path& dir, const UnpackResult& u,
                           const std::string& name) {
  if (std::find(u.files.begin(), u.files.end(), std::filesystem::path(name)) == u.files.end())
    return text::STRTOKENREPLACE(_("the archive does not hold the map {name}"), {"name", name});
  for (const auto& f : u.files) {
    if (!is_map(f)) continue;
    const std::string problem = map_file_problem(dir / f);
    if (!problem.empty())
      return text::STRTOKENREPLACE(_("the map {name} in the archive cannot be opened: {error}"),
                                   {"name", f.string(), "error", problem});
  }
  return {};
}

// Renames the unpacked files over the installed ones, the named map last, so
// that the rarest of failures here still leaves that map whole.
std::string move_into_place(const std::filesystem::path& dir,
                            std::vector<std::filesystem::path> files,
                            const std::filesystem::path& mapdir, const std::string& name) {
  // An item the archive holds twice was unpacked once, over itself.
  std::vector<std::filesystem::path> seen;
  std::erase_if(files, [&](const std::filesystem::path& f) {
    if (std::find(seen.begin(), seen.end(), f) != seen.end()) return true;
    seen.push_back(f);
    return false;
  });
  std::stable_partition(files.begin(), files.end(),
                        [&](const std::filesystem::path& f) { return f != name; });
  for (const auto& f : files) {
    std::error_code ec;
    const std::filesystem::path target = mapdir / f;
    std::filesystem::create_directories(target.parent_path(), ec);
    if (!ec) std::filesystem::rename(dir / f, target, ec);
    if (ec)
      return text::STRTOKENREPLACE(_("{name} cannot be put in place: {error}"),
                                   {"name", f.string(), "error", ec.message()});
  }
  return {};
}

struct InfoValue {
  bool opened = false;    // the file opened as a database
  bool readable = false;  // it has the map's information table
  std::string value;      // the first value of the name asked for; empty when none
};

// A value of a map file's information table, read without touching the
// program's own connection (this runs on a worker while the map is closed).
InfoValue read_info(const std::filesystem::path& file, const char* name) {
  InfoValue v;
  sqlite3* db = nullptr;
  v.opened = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK;
  sqlite3_stmt* st = nullptr;
  int rc = v.opened ? sqlite3_prepare_v2(db, "select value from orvel_info where name=?1 limit 1;",
                                         -1, &st, nullptr)
                    : SQLITE_ERROR;
  if (rc == SQLITE_OK) {
    sqlite3_bind_text(st, 1, name, -1, SQLITE_STATIC);
    rc = sqlite3_step(st);
  }
  v.readable = rc == SQLITE_ROW || rc == SQLITE_DONE;
  if (rc == SQLITE_ROW) {
    const unsigned char* t = sqlite3_column_text(st, 0);
    if (t) v.value = reinterpret_cast<const char*>(t);
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
  return v;
}

}  // namespace

std::string map_file_problem(const std::filesystem::path& file) {
  const InfoValue v = read_info(file, "version");
  if (!v.opened) return _("Can not open map file.");
  if (!v.readable) return _("It is not a orvel file");
  const int64_t version = text::INT2(v.value);
  if (version < map::MAPINTVER)
    return _("Map version is older than supported by program. Update map.");
  if (version > map::MAPINTVER) return _("Map version is newer than supported. Update program.");
  return {};
}

std::string map_file_date(const std::filesystem::path& file) {
  return read_info(file, "date").value;
}

InstallResult install_map_archive(const std::filesystem::path& packfile,
                                  const std::filesystem::path& mapdir, const std::string& name,
                                  const std::function<bool()>& cancelled) {
  InstallResult r;
  // Named so that the start-up cleanup knows it for a leftover should the
  // program be killed in the middle.
  TempFolder tmp(text::temp_path_beside(mapdir / name));
  std::error_code ec;
  std::filesystem::create_directories(tmp.path(), ec);
  if (ec) {
    r.error =
        text::STRTOKENREPLACE(_("{name} cannot be written: {error}"),
                              {"name", tmp.path().filename().string(), "error", ec.message()});
    return r;
  }
  const UnpackResult u = UNPACKFILE(packfile, tmp.path(), cancelled);
  r.cancelled = u.cancelled;
  r.error = u.error;
  if (!u.ok()) return r;
  r.error = check_unpacked(tmp.path(), u, name);
  if (r.error.empty() && cancelled && cancelled()) r.cancelled = true;
  if (!r.ok()) return r;
  r.error = move_into_place(tmp.path(), u.files, mapdir, name);
  return r;
}

}  // namespace orvela::online
