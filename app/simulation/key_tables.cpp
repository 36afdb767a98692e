#include "simulation/key_tables.h"

#include <fstream>
#include <sstream>
#include <vector>

namespace quillom::simulation {

namespace {

struct UsKey {
    uint32_t vk;
    char16_t lower, upper;
};

// The US layout's keys that give characters, besides the letters.
constexpr UsKey kUsMarks[] = {
    {0x20, u' ', u' '}, {0x30, u'0', u')'},  {0x31, u'1', u'!'}, {0x32, u'2', u'@'}, {0x33, u'3', u'#'},
    {0x34, u'4', u'$'}, {0x35, u'5', u'%'},  {0x36, u'6', u'^'}, {0x37, u'7', u'&'}, {0x38, u'8', u'*'},
    {0x39, u'9', u'('}, {0xBA, u';', u':'},  {0xBB, u'=', u'+'}, {0xBC, u',', u'<'}, {0xBD, u'-', u'_'},
    {0xBE, u'.', u'>'}, {0xBF, u'/', u'?'},  {0xC0, u'`', u'~'}, {0xDB, u'[', u'{'}, {0xDC, u'\\', u'|'},
    {0xDD, u']', u'}'}, {0xDE, u'\'', u'"'},
};

std::vector<UsKey> usKeys() {
    std::vector<UsKey> keys(std::begin(kUsMarks), std::end(kUsMarks));
    for (uint32_t vk = 'A'; vk <= 'Z'; ++vk) keys.push_back({vk, char16_t(vk - 'A' + 'a'), char16_t(vk)});
    return keys;
}

}  // namespace

void KeyTables::add(const std::string& layout, uint32_t vk, char16_t lower, char16_t upper) {
    keys_[layout][vk] = {lower, upper};
    auto& reverse = reverse_[layout];
    // The first key listed for a character wins, as in the generator.
    if (lower) reverse.emplace(lower, KeyStroke{vk, false});
    if (upper) reverse.emplace(upper, KeyStroke{vk, true});
}

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
        tables.add(layout, vk, static_cast<char16_t>(lower), static_cast<char16_t>(upper));
    }
    if (tables.keys_.empty()) return std::nullopt;
    return tables;
}

KeyTables KeyTables::fromUsLayout(const std::vector<std::string>& others,
                                  const std::function<char16_t(char16_t, const std::string&)>& convert) {
    KeyTables tables;
    for (const UsKey& key : usKeys()) {
        tables.add("en", key.vk, key.lower, key.upper);
        for (const std::string& layout : others)
            tables.add(layout, key.vk, key.vk == 0x20 ? u' ' : convert(key.lower, layout),
                       key.vk == 0x20 ? u' ' : convert(key.upper, layout));
    }
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

}  // namespace quillom::simulation
