// The file primitives behind the settings store's saves and reads, one implementation per
// system (system_files_posix.cpp, system_files_win.cpp). Paths are wide on Windows, so
// non-ASCII user names work.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quillom::settings {

// Reads the whole file. False when it cannot be opened or its size cannot be found; a short
// read keeps what was read.
bool readWholeFile(const std::filesystem::path& path, std::string& out);

// Reads at most the first count bytes. False when the file cannot be opened.
bool readFileStart(const std::filesystem::path& path, std::size_t count, std::string& out);

// Creates or truncates path, writes all bytes and flushes them to the disk before closing.
bool writeFileFlushed(const std::filesystem::path& path, std::string_view bytes);

// Renames source over target atomically (replacing it) and makes the rename durable.
bool replaceFileAtomically(const std::filesystem::path& source, const std::filesystem::path& target);

}  // namespace quillom::settings
