#include "updater_win.h"

#include <windows.h>

#include <string>

namespace quillom::tray {
namespace {

std::wstring besideProgram(const wchar_t* fileName) {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    size_t cut = folder.find_last_of(L"\\/");
    folder.resize(cut == std::wstring::npos ? 0 : cut + 1);
    return folder + fileName;
}

template <typename F>
void bind(HMODULE library, F*& slot, const char* name) {
    slot = reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

UpdaterApi loadUpdaterLibrary() {
    UpdaterApi api;
    HMODULE library = LoadLibraryW(besideProgram(L"WinSparkle.dll").c_str());
    if (!library) return api;
    bind(library, api.setAppcastUrl, "win_sparkle_set_appcast_url");
    bind(library, api.setEddsaPublicKey, "win_sparkle_set_eddsa_public_key");
    bind(library, api.setAppDetails, "win_sparkle_set_app_details");
    bind(library, api.setAutomaticCheckForUpdates, "win_sparkle_set_automatic_check_for_updates");
    bind(library, api.setUpdateCheckInterval, "win_sparkle_set_update_check_interval");
    bind(library, api.init, "win_sparkle_init");
    bind(library, api.checkUpdateWithUi, "win_sparkle_check_update_with_ui");
    bind(library, api.checkUpdateWithoutUi, "win_sparkle_check_update_without_ui");
    bind(library, api.cleanup, "win_sparkle_cleanup");
    return api;
}

}  // namespace quillom::tray
