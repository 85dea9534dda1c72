#include "online/publish.h"

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <memory>
#include <ostream>
#include <vector>

#include "online/map_catalogue.h"
#include "online/map_install.h"
#include "online/utf8_locale.h"
#include "text/atomic_file.h"
#include "text/strutil.h"
#include "text/translate.h"

namespace orvela::online {

using text::_;

namespace {

const std::array<std::string, 3> kTypes = {"obszary", "polska", "inne"};

bool known_type(const std::string& t) {
  return std::find(kTypes.begin(), kTypes.end(), t) != kTypes.end();
}

struct WriterFree {
  void operator()(archive* a) const { archive_write_free(a); }
};
struct EntryFree {
  void operator()(archive_entry* e) const { archive_entry_free(e); }
};

// Writes the 7z archive with `map` as its only item into `out`.
std::string write_7z(const std::filesystem::path& map, const std::filesystem::path& out) {
  std::ifstream in(map, std::ios::binary);
  std::error_code ec;
  const auto size = std::filesystem::file_size(map, ec);
  if (!in || ec) return _("the map cannot be read");
  const Utf8Locale utf8;
  std::unique_ptr<archive, WriterFree> a(archive_write_new());
  auto failed = [&] {
    const char* s = archive_error_string(a.get());
    return std::string(s ? s : "archive error");
  };
  if (archive_write_set_format_7zip(a.get()) != ARCHIVE_OK ||
      archive_write_set_format_option(a.get(), "7zip", "compression", "lzma2") != ARCHIVE_OK ||
      archive_write_open_filename(a.get(), out.c_str()) != ARCHIVE_OK)
    return failed();
  std::unique_ptr<archive_entry, EntryFree> e(archive_entry_new());
  archive_entry_set_pathname_utf8(e.get(), map.filename().c_str());
  archive_entry_set_filetype(e.get(), AE_IFREG);
  archive_entry_set_perm(e.get(), 0644);
  archive_entry_set_size(e.get(), static_cast<la_int64_t>(size));
  if (archive_write_header(a.get(), e.get()) != ARCHIVE_OK) return failed();
  std::vector<char> buf(1 << 16);
  while (in) {
    in.read(buf.data(), static_cast<std::streamsize>(buf.size()));
    const auto n = in.gcount();
    if (n > 0 && archive_write_data(a.get(), buf.data(), static_cast<size_t>(n)) != n)
      return failed();
  }
  if (in.bad()) return _("the map cannot be read");
  if (archive_write_close(a.get()) != ARCHIVE_OK) return failed();
  return {};
}

// Why `map` cannot be listed; empty when it can.
std::string listing_problem(const std::filesystem::path& map, const std::string& date,
                            const std::string& type) {
  const std::string name = map.filename().string();
  if (name.find_first_of("\t\r\n") != std::string::npos)
    return _("its name holds a tab or a line break");
  if (std::string problem = map_file_problem(map); !problem.empty()) return problem;
  if (date.empty()) return _("it has no date");
  if (!known_type(type)) return text::STRTOKENREPLACE(_("unknown type {type}"), {"type", type});
  return {};
}

}  // namespace

std::string published_type(const std::filesystem::path& map, const std::string& default_type) {
  std::ifstream side(map.string() + ".type", std::ios::binary);
  std::string line;
  if (side && std::getline(side, line)) {
    const std::string t(text::trim(line));
    if (!t.empty()) return t;
  }
  return default_type.empty() ? "inne" : default_type;
}

std::string pack_map(const std::filesystem::path& map, const std::filesystem::path& archive) {
  const std::filesystem::path tmp = text::temp_path_beside(archive);
  text::RemoveOnFailure guard({tmp});
  std::string error = write_7z(map, tmp);
  if (error.empty()) {
    if (const text::WriteResult w = text::replace_with_temp(tmp, archive); !w) error = w.reason();
  }
  if (error.empty()) guard.keep();
  return error;
}

int run_publish_cli(const std::filesystem::path& mapdir, const std::filesystem::path& outdir,
                    const std::string& default_type, std::ostream& err) {
  if (!default_type.empty() && !known_type(default_type)) {
    err << text::STRTOKENREPLACE(_("Unknown map type {type}: use obszary, polska or inne."),
                                 {"type", default_type})
        << "\n";
    return 2;
  }
  std::vector<std::filesystem::path> maps;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(mapdir, ec), end; !ec && it != end; it.increment(ec))
    if (it->path().extension() == ".orvel" && !it->is_directory(ec)) maps.push_back(it->path());
  std::sort(maps.begin(), maps.end());
  std::filesystem::create_directories(outdir, ec);
  std::string catalogue = std::string(kMapListMark) + "7\r\n";
  int skipped = 0;
  for (const auto& map : maps) {
    const std::string name = map.filename().string();
    const std::string date = map_file_date(map);
    const std::string type = published_type(map, default_type);
    std::string problem = listing_problem(map, date, type);
    const std::filesystem::path archive = outdir / (name + ".7z");
    if (problem.empty()) problem = pack_map(map, archive);
    if (!problem.empty()) {
      err << text::STRTOKENREPLACE(_("{name} skipped: {reason}"), {"name", name, "reason", problem})
          << "\n";
      ++skipped;
      continue;
    }
    const auto bytes = std::min<uintmax_t>(std::filesystem::file_size(archive, ec), INT32_MAX);
    const MAPLISTRECORD r{type, name, date, static_cast<int32_t>(bytes)};
    catalogue += map_list_line(r);
    err << text::STRTOKENREPLACE(
               _("{name} published as {type}, date {date}, {size} bytes"),
               {"name", name, "type", type, "date", date, "size", std::to_string(r.SIZE)})
        << "\n";
  }
  if (const text::WriteResult w = text::write_file_atomically(outdir / kMapListFile, catalogue);
      !w) {
    err << text::STRTOKENREPLACE(_("{name} cannot be written: {error}"),
                                 {"name", (outdir / kMapListFile).string(), "error", w.reason()})
        << "\n";
    return 1;
  }
  if (maps.empty())
    err << text::STRTOKENREPLACE(_("No maps found in {dir}."), {"dir", mapdir.string()}) << "\n";
  return skipped > 0 || maps.empty() ? 1 : 0;
}

}  // namespace orvela::online
