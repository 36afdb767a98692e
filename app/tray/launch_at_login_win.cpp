#include "launch_at_login_win.h"

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>

#include "launch_at_login.h"

namespace quillom::tray {
namespace {

constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kApprovedKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
constexpr const wchar_t* kValueName = L"Quillom";

class RegKey {
public:
    explicit RegKey(REGSAM access, const wchar_t* path = kRunKey)
        : ok_(RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, access, &key_) == ERROR_SUCCESS) {}
    ~RegKey() {
        if (ok_) RegCloseKey(key_);
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    bool ok() const { return ok_; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
    bool ok_;
};

bool turnedOffByUser() {
    RegKey key(KEY_READ, kApprovedKey);
    if (!key.ok()) return false;
    DWORD type = 0;
    uint8_t data[64];
    DWORD size = sizeof data;
    if (RegQueryValueExW(key.get(), kValueName, nullptr, &type, data, &size) != ERROR_SUCCESS || type != REG_BINARY)
        return false;
    return disabledInStartupSettings(std::span<const uint8_t>(data, size));
}

}  // namespace

bool launchAtLoginEnabled() {
    RegKey key(KEY_READ);
    if (!key.ok()) return false;
    DWORD type = 0;
    return RegQueryValueExW(key.get(), kValueName, nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS &&
           type == REG_SZ && !turnedOffByUser();
}

bool setLaunchAtLogin(bool on) {
    if (on && turnedOffByUser()) return false;
    RegKey key(KEY_SET_VALUE);
    if (!key.ok()) return false;
    if (!on) {
        LSTATUS status = RegDeleteValueW(key.get(), kValueName);
        return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
    }
    wchar_t path[260];
    DWORD length = GetModuleFileNameW(nullptr, path, 260);
    std::wstring quoted = L"\"" + std::wstring(path, length) + L"\"";
    return RegSetValueExW(key.get(), kValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(quoted.c_str()),
                          DWORD((quoted.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

}  // namespace quillom::tray
