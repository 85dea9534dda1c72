#pragma once
// Writing a file the user cares about without ever leaving half of it behind.
#include <filesystem>
#include <string_view>

namespace orvela::app {

// Writes `content` to a fresh temporary file in the folder of `target`, flushes
// it to disk and renames it over `target`. On any failure the temporary file is
// removed, `target` keeps its old content and the result is false.
bool write_file_atomically(const std::filesystem::path& target, std::string_view content);

}  // namespace orvela::app
