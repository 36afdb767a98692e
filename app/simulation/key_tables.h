// Physical key tables of the three Windows layouts: which key gives which
// character. The accuracy benchmark reads them from the file the rules
// generator writes, so typing there and the rules' layout maps agree; the
// command-line tool derives them from the US layout and the engine's maps.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quillom::simulation {

struct KeyStroke {
    uint32_t vk = 0;
    bool shift = false;
};

class KeyTables {
public:
    // Lines "layout vk lower upper" (hexadecimal); '#' starts a comment line.
    static std::optional<KeyTables> load(const std::string& path);
    // The US layout, and each other layout as `convert` reads the US
    // layout's characters in it (0 where it has no single character).
    static KeyTables fromUsLayout(const std::vector<std::string>& others,
                                  const std::function<char16_t(char16_t, const std::string&)>& convert);

    // The key that gives ch on the layout, if the layout has one.
    std::optional<KeyStroke> keyFor(const std::string& layout, char16_t ch) const;
    // What the key gives on the layout; 0 when it gives nothing.
    char16_t charFor(const std::string& layout, KeyStroke key) const;

private:
    void add(const std::string& layout, uint32_t vk, char16_t lower, char16_t upper);

    std::map<std::string, std::map<uint32_t, std::pair<char16_t, char16_t>>> keys_;
    std::map<std::string, std::map<char16_t, KeyStroke>> reverse_;
};

}  // namespace quillom::simulation
