#include "updater.h"

#include "quillom_version.h"

namespace quillom::tray {
namespace {

template <typename F, typename... Args>
void callIfPresent(F* function, Args... args) {
    if (function) function(args...);
}

}  // namespace

void Updater::initialise(const std::string& frequency) {
    callIfPresent(api_.setAppcastUrl, appcastUrl_.c_str());
    callIfPresent(api_.setEddsaPublicKey, kUpdaterPublicKey);
    callIfPresent(api_.setAppDetails, L"Brevant", L"Quillom", L"" QUILLOM_VERSION);
    applyFrequency(frequency);
    callIfPresent(api_.init);
    if (frequency == "startup") callIfPresent(api_.checkUpdateWithoutUi);
}

void Updater::applyFrequency(const std::string& frequency) {
    if (frequency == "never" || frequency == "startup") {
        callIfPresent(api_.setAutomaticCheckForUpdates, 0);
        return;
    }
    callIfPresent(api_.setAutomaticCheckForUpdates, 1);
    callIfPresent(api_.setUpdateCheckInterval, frequency == "1h" ? 3600 : 86400);
}

void Updater::checkWithUi() { callIfPresent(api_.checkUpdateWithUi); }

void Updater::cleanup() { callIfPresent(api_.cleanup); }

}  // namespace quillom::tray
