// The file primitives behind the settings store's saves and reads, one implementation per
// system (system_files_posix.cpp, system_files_win.cpp). Paths are wide on Windows, so
// non-ASCII user names work.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace quillom::settings {

// Settings files are a few hundred kilobytes; anything far larger is not one of ours and is
// refused before a byte of it is read.
inline constexpr uint64_t kMaxSettingsFileBytes = 64ull << 20;

enum class ReadStatus {
    Read,      // out holds every byte of the file
    Missing,   // neither the file nor (on Windows) its folder exists
    TooLarge,  // a regular file over the limit; nothing was read
    Failed,    // anything else: no access, sharing violation, not a file, short read, no memory
};

// Reads the whole of a regular file of at most maxBytes. out is empty unless Read.
ReadStatus readWholeFile(const std::filesystem::path& path, std::string& out,
                         uint64_t maxBytes = kMaxSettingsFileBytes);

// Creates or truncates path, writes all bytes and flushes them to the disk before closing.
bool writeFileFlushed(const std::filesystem::path& path, std::string_view bytes);

// Renames source over target atomically (replacing it) and makes the rename durable.
bool replaceFileAtomically(const std::filesystem::path& source, const std::filesystem::path& target);

// Building blocks of the two implementations (system_files.cpp).

// One read of at most room bytes: the count read, 0 at the end of the file, -1 on an error.
using ReadSome = std::function<int64_t(char* into, std::size_t room)>;
// Reads a file of size bytes whole through readSome. A file that ends early or grows meanwhile
// (one byte more is asked for, to tell) was not read whole: Failed, as is running out of memory.
ReadStatus readExactly(uint64_t size, std::string& out, const ReadSome& readSome);

}  // namespace quillom::settings
