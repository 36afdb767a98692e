#include "json.h"

namespace quillom::settings {

JsonValue JsonValue::makeArray() {
    JsonValue v;
    v.v_ = ArrayItems{};
    return v;
}

JsonValue JsonValue::makeObject() {
    JsonValue v;
    v.v_ = ObjectMembers{};
    return v;
}

bool operator==(const JsonValue& a, const JsonValue& b) { return a.v_ == b.v_; }

const JsonValue* find(const JsonValue& object, std::string_view key) {
    if (!object.isObject()) return nullptr;
    for (const JsonMember& m : object.members())
        if (m.key == key) return &m.value;
    return nullptr;
}

JsonValue* find(JsonValue& object, std::string_view key) {
    return const_cast<JsonValue*>(find(static_cast<const JsonValue&>(object), key));
}

JsonValue& member(JsonValue& value, std::string_view key) {
    if (!value.isObject()) value = JsonValue::makeObject();
    if (JsonValue* existing = find(value, key)) return *existing;
    auto& members = value.members();
    members.push_back(JsonMember{std::string(key), JsonValue()});
    return members.back().value;
}

void erase(JsonValue& object, std::string_view key) {
    if (!object.isObject()) return;
    auto& members = object.members();
    for (auto it = members.begin(); it != members.end(); ++it) {
        if (it->key == key) {
            members.erase(it);
            return;
        }
    }
}

void push(JsonValue& array, JsonValue value) {
    if (!array.isArray()) array = JsonValue::makeArray();
    array.items().push_back(std::move(value));
}

bool getBool(const JsonValue& object, std::string_view key, bool fallback) {
    const JsonValue* v = find(object, key);
    return v && v->isBool() ? v->asBool() : fallback;
}

std::string getString(const JsonValue& object, std::string_view key, std::string_view fallback) {
    const JsonValue* v = find(object, key);
    if (v && v->isString() && !v->asString().empty()) return v->asString();
    return std::string(fallback);
}

}  // namespace quillom::settings
