#include "config/keyboard_layout_decoder.h"

#include <optional>

#include "config/json_fields.h"
#include "layout/builtin_layouts.h"
#include "unicode/unicode.h"

namespace quillom {

namespace {

struct MapName {
    LayoutDirection direction;
    bool shift = false;
};

// "en_to_ru" or "en_to_ru_shift"; anything else is not a map name.
std::optional<MapName> parseMapName(std::string_view name) {
    MapName out;
    constexpr std::string_view suffix = "_shift";
    if (name.size() >= suffix.size() && name.substr(name.size() - suffix.size()) == suffix) {
        out.shift = true;
        name.remove_suffix(suffix.size());
    }
    constexpr std::string_view sep = "_to_";
    size_t at = name.find(sep);
    if (at == std::string_view::npos) return std::nullopt;
    std::string_view from = name.substr(0, at), to = name.substr(at + sep.size());
    if (from.empty() || to.empty() || to.find(sep) != std::string_view::npos) return std::nullopt;
    out.direction = {std::string(from), std::string(to)};
    return out;
}

std::optional<CharMap> parseCharMap(const json::Value& value) {
    if (!value.isObject()) return std::nullopt;
    CharMap map;
    for (const auto& [name, v] : value.asObject()) {
        if (!v.isString()) return std::nullopt;
        if (name.empty() || v.asString().empty()) continue;
        map[std::string(unicode::graphemes(name).front())] = std::string(unicode::graphemes(v.asString()).front());
    }
    return map;
}

using DirectionMaps = std::unordered_map<LayoutDirection, CharMap, LayoutDirectionHash>;

void parseMaps(const json::Value* maps, DirectionMaps& lower, DirectionMaps& shift) {
    if (!maps) return;
    for (const auto& [name, value] : maps->asObject()) {
        auto mapName = parseMapName(name);
        auto map = mapName ? parseCharMap(value) : std::nullopt;
        if (!map) continue;
        auto& target = mapName->shift ? shift : lower;
        target[mapName->direction] = std::move(*map);
    }
}

}  // namespace

KeyboardLayoutConfig parseKeyboardLayout(const json::Value& object) {
    KeyboardLayoutConfig layout;
    parseMaps(json::findObject(object, "maps"), layout.maps, layout.shiftMaps);
    parseMaps(json::findObject(object, "selection_maps"), layout.selectionMaps, layout.selectionShiftMaps);
    for (const auto& builtin : layout::builtinDirections()) {
        layout.maps.try_emplace(builtin.direction, *builtin.lowerMap);
        layout.shiftMaps.try_emplace(builtin.direction, *builtin.shiftMap);
    }
    layout.preserveCase = fields::boolOr(object, "preserve_case", true);
    layout.preserveUnknownCharacters = fields::boolOr(object, "preserve_unknown_characters", true);
    layout.selectionKeepsTypedMarks = fields::boolOr(object, "selection_keeps_typed_marks", false);
    return layout;
}

}  // namespace quillom
