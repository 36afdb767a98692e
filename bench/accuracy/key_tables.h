// Physical key tables of the three Windows layouts, read from the file the
// rules generator writes, so typing here and the rules' layout maps agree.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace quillom::bench {

struct KeyStroke {
    uint32_t vk = 0;
    bool shift = false;
};

class KeyTables {
public:
    // Lines "layout vk lower upper" (hexadecimal); '#' starts a comment line.
    static std::optional<KeyTables> load(const std::string& path);

    // The key that gives ch on the layout, if the layout has one.
    std::optional<KeyStroke> keyFor(const std::string& layout, char16_t ch) const;
    // What the key gives on the layout; 0 when it gives nothing.
    char16_t charFor(const std::string& layout, KeyStroke key) const;

private:
    std::map<std::string, std::map<uint32_t, std::pair<char16_t, char16_t>>> keys_;
    std::map<std::string, std::map<char16_t, KeyStroke>> reverse_;
};

}  // namespace quillom::bench
