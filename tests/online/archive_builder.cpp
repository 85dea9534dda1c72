#include "online/archive_builder.h"

#include <archive.h>
#include <archive_entry.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace orvela::online::test {

void write_7z(const std::filesystem::path& out, const std::vector<ArchiveEntry>& entries) {
  archive* a = archive_write_new();
  archive_write_set_format_7zip(a);
  archive_write_set_format_option(a, "7zip", "compression", "lzma2");
  if (archive_write_open_filename(a, out.c_str()) != ARCHIVE_OK) {
    archive_write_free(a);
    throw std::runtime_error("cannot write " + out.string());
  }
  for (const ArchiveEntry& x : entries) {
    archive_entry* e = archive_entry_new();
    archive_entry_set_pathname(e, x.name.c_str());
    archive_entry_set_perm(e, 0644);
    switch (x.kind) {
      case ArchiveEntry::File:
        archive_entry_set_filetype(e, AE_IFREG);
        archive_entry_set_size(e, static_cast<la_int64_t>(x.data.size()));
        break;
      case ArchiveEntry::Folder:
        archive_entry_set_filetype(e, AE_IFDIR);
        archive_entry_set_perm(e, 0755);
        break;
      case ArchiveEntry::Symlink:
        archive_entry_set_filetype(e, AE_IFLNK);
        archive_entry_set_symlink(e, x.data.c_str());
        break;
      case ArchiveEntry::Hardlink:
        archive_entry_set_filetype(e, AE_IFREG);
        archive_entry_set_hardlink(e, x.data.c_str());
        break;
    }
    const int rc = archive_write_header(a, e);
    if (rc == ARCHIVE_OK && x.kind == ArchiveEntry::File && !x.data.empty())
      archive_write_data(a, x.data.data(), x.data.size());
    archive_entry_free(e);
    if (rc != ARCHIVE_OK) {
      const std::string why = archive_error_string(a) ? archive_error_string(a) : "?";
      archive_write_free(a);
      throw std::runtime_error("cannot add " + x.name + ": " + why);
    }
  }
  archive_write_close(a);
  archive_write_free(a);
}

std::string file_bytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace orvela::online::test
