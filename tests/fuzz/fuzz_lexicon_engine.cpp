// libFuzzer target: arbitrary bytes as the packed lexicon a real rules file
// names, through qm_engine_create and a few evaluations. As in the direct
// target, inputs whose first byte is even get their checksum written in.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "config/packed_lexicon.h"
#include "quillom.hpp"

namespace {

namespace cabi = quillom::cabi;
namespace fs = std::filesystem;

struct Folder {
    fs::path dir = fs::temp_directory_path() / ("quillom-fuzz-lexicon-" + std::to_string(::getpid()));
    std::string rulesBody;  // the small rules file after its opening brace
    Folder() {
        fs::create_directories(dir);
        std::ifstream in(QUILLOM_SMALL_RULES, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        rulesBody = text.substr(text.find('{') + 1);
        std::ofstream(dir / "prefs.json") << R"({"active_languages": ["en", "uk", "ru"]})";
    }
    ~Folder() { fs::remove_all(dir); }
};

const Folder& folder() {
    static const Folder f;
    return f;
}

std::string idOf(const std::string& b) {
    std::uint64_t v;
    std::memcpy(&v, b.data() + 8, 8);
    char out[17];
    std::snprintf(out, sizeof out, "%016llx", static_cast<unsigned long long>(v));
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 25) return 0;
    std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (!(data[0] & 1)) {
        const std::uint32_t sum = quillom::PackedLexiconFile::checksum(bytes);
        std::memcpy(bytes.data() + 20, &sum, 4);
    }
    const Folder& f = folder();
    std::ofstream(f.dir / "lexicon.bin", std::ios::binary) << bytes;
    std::ofstream(f.dir / "rules.json", std::ios::binary)
        << R"({"packed_lexicon": {"file": "lexicon.bin", "id": ")" << idOf(bytes) << "\"}," << f.rulesBody;
    const cabi::EnginePtr engine = cabi::createEngine((f.dir / "rules.json").string(), (f.dir / "prefs.json").string());
    if (!engine) return 0;
    for (const char* word : {"ghbdtn", "dlheu", "the", "мир", "vbh", "ру", "a"}) {
        cabi::evaluateContext(engine.get(), word, "fuzz.exe", "en", false);
        cabi::evaluate(engine.get(), word, "fuzz.exe");
    }
    return 0;
}
