#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quillom_version.h"
#include "tray/updater.h"

namespace quillom::tray {
namespace {

std::vector<std::string> calls;

UpdaterApi recordingApi() {
    UpdaterApi api;
    api.setAppcastUrl = [](const char* url) { calls.push_back(std::string("url ") + url); };
    api.setEddsaPublicKey = [](const char* key) {
        calls.push_back(std::string("key ") + key);
        return 1;
    };
    api.setAppDetails = [](const wchar_t* company, const wchar_t* app, const wchar_t* version) {
        calls.push_back("details " + std::string(company, company + 7) + " " + std::string(app, app + 7) + " " +
                        std::string(version, version + 6));
    };
    api.setAutomaticCheckForUpdates = [](int on) { calls.push_back("auto " + std::to_string(on)); };
    api.setUpdateCheckInterval = [](int s) { calls.push_back("interval " + std::to_string(s)); };
    api.init = [] { calls.push_back("init"); };
    api.checkUpdateWithUi = [] { calls.push_back("check ui"); };
    api.checkUpdateWithoutUi = [] { calls.push_back("check quiet"); };
    api.cleanup = [] { calls.push_back("cleanup"); };
    return api;
}

TEST(Updater, InitialiseMakesTheCallsInOrder) {
    calls.clear();
    Updater updater(recordingApi(), "https://updates.example/api/updates/quillom-windows/appcast.xml");
    updater.initialise("startup");
    EXPECT_EQ(calls, (std::vector<std::string>{
                         "url https://updates.example/api/updates/quillom-windows/appcast.xml",
                         "key PtYgjmUhBel31iEl2hpChYgCfrL1spNxnyVmihA/2O4=", "details Brevant Quillom " QUILLOM_VERSION,
                         "auto 0", "init", "check quiet"}));
}

TEST(Updater, FrequencyTable) {
    struct Case {
        const char* frequency;
        std::vector<std::string> expected;
    } cases[] = {
        {"never", {"auto 0"}},
        {"startup", {"auto 0"}},
        {"1h", {"auto 1", "interval 3600"}},
        {"1d", {"auto 1", "interval 86400"}},
        {"weekly", {"auto 1", "interval 86400"}},
    };
    Updater updater(recordingApi(), "u");
    for (const Case& c : cases) {
        calls.clear();
        updater.applyFrequency(c.frequency);
        EXPECT_EQ(calls, c.expected) << c.frequency;
    }
    calls.clear();
    updater.checkWithUi();
    updater.cleanup();
    EXPECT_EQ(calls, (std::vector<std::string>{"check ui", "cleanup"}));
}

TEST(Updater, ChoosingStartupOnlyChecksQuietlyAtOnce) {
    Updater updater(recordingApi(), "u");
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"startup", {"auto 0", "check quiet"}},
        {"never", {"auto 0"}},
        {"1h", {"auto 1", "interval 3600"}},
        {"1d", {"auto 1", "interval 86400"}},
    };
    for (const auto& [frequency, expected] : cases) {
        calls.clear();
        updater.changeFrequency(frequency);
        EXPECT_EQ(calls, expected) << frequency;
    }
}

TEST(Updater, MissingFunctionsAreSkipped) {
    calls.clear();
    UpdaterApi api = recordingApi();
    api.setAppDetails = nullptr;
    api.setUpdateCheckInterval = nullptr;
    Updater(api, "u").initialise("1h");
    EXPECT_EQ(calls, (std::vector<std::string>{"url u", "key PtYgjmUhBel31iEl2hpChYgCfrL1spNxnyVmihA/2O4=", "auto 1",
                                               "init"}));
    calls.clear();
    Updater(UpdaterApi{}, "u").initialise("startup");
    EXPECT_TRUE(calls.empty());
}

}  // namespace
}  // namespace quillom::tray
