#include "config/json_fields.h"

#include "unicode/unicode.h"

namespace quillom::fields {

const json::Value* memberOfKind(const json::Value& object, std::string_view key, std::string_view alternativeKey,
                                json::Value::Kind kind) {
    const json::Value* v = object.find(key);
    if (v && v->kind() == kind) return v;
    if (alternativeKey.empty()) return nullptr;
    v = object.find(alternativeKey);
    return v && v->kind() == kind ? v : nullptr;
}

double numberOr(const json::Value& object, std::string_view key, double fallback, std::string_view alternativeKey) {
    const json::Value* v = memberOfKind(object, key, alternativeKey, json::Value::Kind::Number);
    return v ? v->asNumber() : fallback;
}

int64_t toInteger(double d) {
    constexpr double limit = 9.0e18;
    if (d >= limit) return static_cast<int64_t>(limit);
    if (d <= -limit) return -static_cast<int64_t>(limit);
    return static_cast<int64_t>(d);
}

int64_t integerOr(const json::Value& object, std::string_view key, int64_t fallback) {
    auto n = json::findNumber(object, key);
    return n ? toInteger(*n) : fallback;
}

bool boolOr(const json::Value& object, std::string_view key, bool fallback) {
    return json::findBool(object, key).value_or(fallback);
}

std::vector<std::string> strings(const json::Value& array) {
    std::vector<std::string> out;
    if (!array.isArray()) return out;
    out.reserve(array.asArray().size());
    for (const auto& v : array.asArray())
        if (v.isString()) out.emplace_back(v.asString());
    return out;
}

CharSet characterSet(const json::Value& array) {
    CharSet out;
    if (!array.isArray()) return out;
    for (const auto& v : array.asArray()) {
        if (!v.isString() || v.asString().empty()) continue;
        out.insert(std::string(unicode::graphemes(v.asString()).front()));
    }
    return out;
}

}  // namespace quillom::fields
