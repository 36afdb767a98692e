#include "launch_at_login_win.h"

#include <windows.h>

#include <string>

namespace quillom::tray {
namespace {

constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kValueName = L"Quillom";

class RegKey {
public:
    RegKey(REGSAM access) : ok_(RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, access, &key_) == ERROR_SUCCESS) {}
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

}  // namespace

bool launchAtLoginEnabled() {
    RegKey key(KEY_READ);
    if (!key.ok()) return false;
    DWORD type = 0;
    return RegQueryValueExW(key.get(), kValueName, nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS &&
           type == REG_SZ;
}

bool setLaunchAtLogin(bool on) {
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
