#include "system_files.h"

#include <cerrno>
#include <cstdio>
#include <new>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillom::settings {
namespace {

int64_t readSome(int fd, char* into, std::size_t room) {
    for (;;) {
        const ssize_t n = ::read(fd, into, room);
        if (n >= 0 || errno != EINTR) return n;
    }
}

}  // namespace

ReadStatus readWholeFile(const std::filesystem::path& path, std::string& out, uint64_t maxBytes) {
    out.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? ReadStatus::Missing : ReadStatus::Failed;
    // A folder opens too, and reports a meaningless size.
    struct stat info {};
    ReadStatus status = ReadStatus::Failed;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        const auto size = static_cast<uint64_t>(info.st_size);
        status = size > maxBytes
                     ? ReadStatus::TooLarge
                     : readExactly(size, out, [fd](char* into, std::size_t room) { return readSome(fd, into, room); });
    }
    ::close(fd);
    if (status != ReadStatus::Read) out.clear();
    return status;
}

bool writeFileFlushed(const std::filesystem::path& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const char* p = bytes.data();
    size_t left = bytes.size();
    bool ok = true;
    while (ok && left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) {
            p += n;
            left -= static_cast<size_t>(n);
        }
    }
    ok = ok && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

bool replaceFileAtomically(const std::filesystem::path& source, const std::filesystem::path& target) {
    if (std::rename(source.c_str(), target.c_str()) != 0) return false;
    // The rename lives in the folder's entry list: flush that too. Its failure does not undo
    // the replacement, so it is not reported.
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

}  // namespace quillom::settings
