#include "system_files.h"

#include <new>
#include <windows.h>

#include "win/scoped_win.h"

namespace quillom::settings {
namespace {

// room is at most the read limit and one more byte, far below what one ReadFile call takes.
int64_t readSome(HANDLE file, char* into, std::size_t room) {
    DWORD n = 0;
    if (!ReadFile(file, into, static_cast<DWORD>(room), &n, nullptr)) return -1;
    return n;
}

}  // namespace

ReadStatus readWholeFile(const std::filesystem::path& path, std::string& out, uint64_t maxBytes) {
    out.clear();
    // Others may keep reading and writing; a writer holding it exclusively fails the open
    // with a sharing violation, which is a failure and not a missing file.
    const win::ScopedHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadStatus::Missing
                                                                              : ReadStatus::Failed;
    }
    LARGE_INTEGER size{};
    ReadStatus status = ReadStatus::Failed;
    const ReadSome readFromFile = [&file](char* into, std::size_t room) { return readSome(file.get(), into, room); };
    if (GetFileType(file.get()) == FILE_TYPE_DISK && GetFileSizeEx(file.get(), &size) && size.QuadPart >= 0)
        status = static_cast<uint64_t>(size.QuadPart) > maxBytes
                     ? ReadStatus::TooLarge
                     : readExactly(static_cast<uint64_t>(size.QuadPart), out, readFromFile);
    if (status != ReadStatus::Read) out.clear();
    return status;
}

bool writeFileFlushed(const std::filesystem::path& path, std::string_view bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
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
    return MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace quillom::settings
