#include "key_tables.h"

#include <fstream>
#include <sstream>

namespace quillom::bench {

std::optional<KeyTables> KeyTables::load(const std::string& path) {
    std::ifstream in(path);
    if (!in) return std::nullopt;
    KeyTables tables;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string layout;
        uint32_t vk = 0, lower = 0, upper = 0;
        if (!(fields >> layout >> std::hex >> vk >> lower >> upper)) return std::nullopt;
        tables.keys_[layout][vk] = {static_cast<char16_t>(lower), static_cast<char16_t>(upper)};
        auto& reverse = tables.reverse_[layout];
        // The first key listed for a character wins, as in the generator.
        reverse.emplace(static_cast<char16_t>(lower), KeyStroke{vk, false});
        reverse.emplace(static_cast<char16_t>(upper), KeyStroke{vk, true});
    }
    if (tables.keys_.empty()) return std::nullopt;
    return tables;
}

std::optional<KeyStroke> KeyTables::keyFor(const std::string& layout, char16_t ch) const {
    auto table = reverse_.find(layout);
    if (table == reverse_.end()) return std::nullopt;
    auto key = table->second.find(ch);
    if (key == table->second.end()) return std::nullopt;
    return key->second;
}

char16_t KeyTables::charFor(const std::string& layout, KeyStroke key) const {
    auto table = keys_.find(layout);
    if (table == keys_.end()) return 0;
    auto entry = table->second.find(key.vk);
    if (entry == table->second.end()) return 0;
    return key.shift ? entry->second.second : entry->second.first;
}

}  // namespace quillom::bench
