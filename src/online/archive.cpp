#include "online/archive.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <memory>

#include "online/utf8_locale.h"
#include "text/atomic_file.h"
#include "text/translate.h"

namespace orvela::online {

using text::_;

namespace {

struct ArchiveCloser {
  void operator()(archive* a) const { archive_read_free(a); }
};

std::string archive_error(archive* a) {
  const char* s = archive_error_string(a);
  return s ? s : "unknown error";
}

std::string entry_text(const std::string& message, const std::string& name) {
  return text::STRTOKENREPLACE(message, {"name", name});
}

// Copies the current entry's data into `target`; the error text or empty.
std::string write_entry(archive* a, const std::filesystem::path& target,
                        const std::function<bool()>& cancelled, bool& was_cancelled) {
  auto cannot = [&](const std::string& why) {
    return text::STRTOKENREPLACE(_("{name} cannot be written: {error}"),
                                 {"name", target.filename().string(), "error", why});
  };
  std::error_code ec;
  std::filesystem::create_directories(target.parent_path(), ec);
  if (ec) return cannot(ec.message());
  // Nothing under the folder is a link (links are refused), and none may be
  // followed should one appear there all the same.
  const int fd =
      ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) return cannot(std::strerror(errno));
  std::string error;
  std::array<char, 64 * 1024> buf;
  while (error.empty()) {
    if (cancelled && cancelled()) {
      was_cancelled = true;
      break;
    }
    const la_ssize_t n = archive_read_data(a, buf.data(), buf.size());
    if (n == 0) break;
    if (n < 0) {
      error = text::STRTOKENREPLACE(_("the archive cannot be read: {error}"),
                                    {"error", archive_error(a)});
    } else if (!text::write_all(fd, {buf.data(), static_cast<size_t>(n)})) {
      error = cannot(std::strerror(errno));
    }
  }
  // On disk before it is renamed over an installed map: the rename must
  // never put in place a file whose data a crash of the system would lose.
  if (error.empty() && !was_cancelled && ::fsync(fd) != 0) error = cannot(std::strerror(errno));
  if (::close(fd) != 0 && error.empty() && !was_cancelled) error = cannot(std::strerror(errno));
  return error;
}

}  // namespace

std::optional<std::filesystem::path> safe_entry_path(std::string_view name) {
  std::string n(name);
  for (char& c : n)
    if (c == '\\') c = '/';
  if (n.starts_with('/')) return std::nullopt;
  std::filesystem::path out;
  std::size_t start = 0;
  bool first = true;
  while (start <= n.size()) {
    std::size_t end = n.find('/', start);
    if (end == std::string::npos) end = n.size();
    const std::string part = n.substr(start, end - start);
    // "C:" in front makes a name absolute where drive letters exist.
    if (first && part.size() >= 2 && part[1] == ':') return std::nullopt;
    if (part == "..") return std::nullopt;
    if (!part.empty() && part != ".") out /= part;
    first = false;
    start = end + 1;
  }
  return out;
}

UnpackResult UNPACKFILE(const std::filesystem::path& PACKFILE, const std::filesystem::path& DESTDIR,
                        const std::function<bool()>& cancelled) {
  UnpackResult r;
  const Utf8Locale utf8;
  std::unique_ptr<archive, ArchiveCloser> a(archive_read_new());
  archive_read_support_format_7zip(a.get());
  auto unreadable = [&] {
    r.error = text::STRTOKENREPLACE(_("the archive cannot be read: {error}"),
                                    {"error", archive_error(a.get())});
    return r;
  };
  if (archive_read_open_filename(a.get(), PACKFILE.c_str(), 64 * 1024) != ARCHIVE_OK)
    return unreadable();
  archive_entry* e = nullptr;
  while (true) {
    const int rc = archive_read_next_header(a.get(), &e);
    if (rc == ARCHIVE_EOF) break;
    if (rc < ARCHIVE_WARN) return unreadable();
    const char* raw = archive_entry_pathname_utf8(e);
    if (!raw) raw = archive_entry_pathname(e);
    const std::string name = raw ? raw : "";
    const std::optional<std::filesystem::path> rel = safe_entry_path(name);
    if (!rel) {
      r.error = entry_text(_("the archive entry {name} points outside the maps folder"), name);
      return r;
    }
    const auto type = archive_entry_filetype(e);
    if (archive_entry_hardlink(e) || type == AE_IFLNK) {
      r.error = entry_text(_("the archive entry {name} is a link"), name);
      return r;
    }
    if (type == AE_IFDIR) continue;
    if (type != AE_IFREG || rel->empty()) {
      r.error = entry_text(_("the archive entry {name} is neither a file nor a folder"), name);
      return r;
    }
    r.error = write_entry(a.get(), DESTDIR / *rel, cancelled, r.cancelled);
    if (!r.error.empty() || r.cancelled) return r;
    r.files.push_back(*rel);
  }
  return r;
}

}  // namespace orvela::online
