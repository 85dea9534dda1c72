#pragma once
// Helpers for the file chooser, the same in every front end.
#include <filesystem>
#include <string>
#include <vector>

#include "ui/ui.h"

namespace orvela::ui {

// The filter list in wildcard form: "description|pattern|description|pattern"
// (the form wxFileDialog takes, and what the console prints).
std::string filter_text(const std::vector<FileFilter>& filters);

// The file URI of absolute path `path` ("file:///tmp/a%20b.lscp"): every byte
// but ASCII letters, digits, "-._~" and "/" percent-encoded, so that names in
// any script and with any punctuation reach a file manager intact.
std::string file_uri(const std::filesystem::path& path);

// The one extension a filter stands for (".gpx" for "*.gpx"); empty for a
// filter of several patterns or of any extension.
std::string filter_ext(const FileFilter& filter);

// `path` with `default_ext` (".lscp" or "lscp") appended when a file chosen
// for saving has no extension; an opened path is returned unchanged.
std::filesystem::path with_default_ext(const std::filesystem::path& path, FileMode mode,
                                       const std::string& default_ext);

}  // namespace orvela::ui
