// The update checker, reached through the updater library's C functions.
// The library is optional: a missing function is simply not called.
#pragma once

#include <string>

namespace quillom::tray {

// Entry points of the updater library; any may be null.
struct UpdaterApi {
    void (*setAppcastUrl)(const char* url) = nullptr;
    int (*setEddsaPublicKey)(const char* key) = nullptr;
    void (*setAppDetails)(const wchar_t* company, const wchar_t* app, const wchar_t* version) = nullptr;
    void (*setAutomaticCheckForUpdates)(int state) = nullptr;
    void (*setUpdateCheckInterval)(int seconds) = nullptr;
    void (*init)() = nullptr;
    void (*checkUpdateWithUi)() = nullptr;
    void (*checkUpdateWithoutUi)() = nullptr;
    void (*cleanup)() = nullptr;
};

inline constexpr const char* kUpdaterPublicKey = "PtYgjmUhBel31iEl2hpChYgCfrL1spNxnyVmihA/2O4=";

// Main thread.
class Updater {
public:
    Updater(UpdaterApi api, std::string appcastUrl) : api_(api), appcastUrl_(std::move(appcastUrl)) {}

    // frequency: "1h", "1d", "startup" or "never" (anything else counts as "1d").
    void initialise(const std::string& frequency);
    void applyFrequency(const std::string& frequency);
    // The user chose a frequency: applies it, and "startup" checks quietly at once too, since
    // that choice only checks when the program starts.
    void changeFrequency(const std::string& frequency);
    void checkWithUi();
    void cleanup();

private:
    UpdaterApi api_;
    std::string appcastUrl_;
};

}  // namespace quillom::tray
