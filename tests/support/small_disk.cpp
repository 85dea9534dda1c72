#include "support/small_disk.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace orvela::test {

SmallDisk::SmallDisk(std::size_t bytes) {
  const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
  if (::mount("tmpfs", dir_.path().c_str(), "tmpfs", 0, options.c_str()) != 0) {
    error_ = "cannot mount a tmpfs on " + dir_.path().string() + ": " + std::strerror(errno);
    return;
  }
  mounted_ = true;
}

SmallDisk::~SmallDisk() {
  // Lazily: a file a failed test left open must not keep the mount.
  if (mounted_) ::umount2(dir_.path().c_str(), MNT_DETACH);
}

void SmallDisk::fill(std::size_t leave) {
  const int fd = ::open((dir_ / "filler").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return;
  // Large writes first, then single bytes for the last partial page.
  const std::vector<char> block(64 * 1024, 'f');
  for (std::size_t size = block.size(); size > 0; size /= 2) {
    while (::write(fd, block.data(), size) == static_cast<ssize_t>(size)) {
    }
  }
  // Then gives back `leave` bytes of it.
  struct stat st {};
  const auto back = static_cast<off_t>(leave);
  if (back > 0 && ::fstat(fd, &st) == 0) {
    [[maybe_unused]] const int rc = ::ftruncate(fd, st.st_size > back ? st.st_size - back : 0);
  }
  ::close(fd);
}

}  // namespace orvela::test
