#include "system_files.h"

#include <new>
#include <windows.h>

namespace quillom::settings {
namespace {

// A file that ends early or grows meanwhile was not read whole: Failed. size is at most the
// read limit, far below what one ReadFile call takes.
ReadStatus readExactly(HANDLE file, uint64_t size, std::string& out) {
    try {
        out.resize(size + 1);
    } catch (const std::bad_alloc&) {
        return ReadStatus::Failed;
    }
    size_t got = 0;
    for (;;) {
        DWORD n = 0;
        if (!ReadFile(file, out.data() + got, static_cast<DWORD>(out.size() - got), &n, nullptr))
            return ReadStatus::Failed;
        got += n;
        if (n == 0 || got == out.size()) break;
    }
    if (got != size) return ReadStatus::Failed;
    out.resize(got);
    return ReadStatus::Read;
}

}  // namespace

ReadStatus readWholeFile(const std::filesystem::path& path, std::string& out, uint64_t maxBytes) {
    out.clear();
    // Others may keep reading and writing; a writer holding it exclusively fails the open
    // with a sharing violation, which is a failure and not a missing file.
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadStatus::Missing
                                                                              : ReadStatus::Failed;
    }
    LARGE_INTEGER size{};
    ReadStatus status = ReadStatus::Failed;
    if (GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size) && size.QuadPart >= 0)
        status = static_cast<uint64_t>(size.QuadPart) > maxBytes
                     ? ReadStatus::TooLarge
                     : readExactly(file, static_cast<uint64_t>(size.QuadPart), out);
    CloseHandle(file);
    if (status != ReadStatus::Read) out.clear();
    return status;
}

bool readFileStart(const std::filesystem::path& path, std::size_t count, std::string& out) {
    std::FILE* f = _wfopen(path.c_str(), L"rb");
    if (!f) return false;
    out.resize(count);
    out.resize(std::fread(out.data(), 1, count, f));
    std::fclose(f);
    return true;
}

bool writeFileFlushed(const std::filesystem::path& path, std::string_view bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (ok && left > 0) {
        const DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
        DWORD written = 0;
        ok = WriteFile(file, p, chunk, &written, nullptr) && written == chunk;
        p += written;
        left -= written;
    }
    ok = ok && FlushFileBuffers(file);
    return CloseHandle(file) && ok;
}

bool replaceFileAtomically(const std::filesystem::path& source, const std::filesystem::path& target) {
    return MoveFileExW(source.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace quillom::settings
