// The application's JSON tree and codec: every file the program writes and the
// feedback request body go through it. Objects keep their members in insertion
// (or parse) order and may hold duplicate keys; lookups find the first one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace quillom::settings {

enum class JsonKind : uint8_t { Null = 0, Bool = 1, Number = 2, String = 3, Array = 4, Object = 5 };

struct JsonMember;

class JsonValue {
public:
    using ArrayItems = std::vector<JsonValue>;
    using ObjectMembers = std::vector<JsonMember>;

    // Defined below JsonMember: clang checks the variant's alternatives for completeness
    // where a constructor is defined.
    JsonValue() = default;
    JsonValue(bool b);
    JsonValue(double n);
    JsonValue(int n);
    JsonValue(unsigned n);
    JsonValue(std::string s);
    JsonValue(std::string_view s);
    JsonValue(const char* s);

    static JsonValue makeArray();
    static JsonValue makeObject();

    JsonKind kind() const { return static_cast<JsonKind>(v_.index()); }
    bool isNull() const { return kind() == JsonKind::Null; }
    bool isBool() const { return kind() == JsonKind::Bool; }
    bool isNumber() const { return kind() == JsonKind::Number; }
    bool isString() const { return kind() == JsonKind::String; }
    bool isArray() const { return kind() == JsonKind::Array; }
    bool isObject() const { return kind() == JsonKind::Object; }

    // Accessors of the payload; calling one of the wrong kind is a programming error.
    bool asBool() const { return std::get<bool>(v_); }
    double asNumber() const { return std::get<double>(v_); }
    const std::string& asString() const { return std::get<std::string>(v_); }
    std::string& asString() { return std::get<std::string>(v_); }
    const ArrayItems& items() const { return std::get<ArrayItems>(v_); }
    ArrayItems& items() { return std::get<ArrayItems>(v_); }
    const ObjectMembers& members() const { return std::get<ObjectMembers>(v_); }
    ObjectMembers& members() { return std::get<ObjectMembers>(v_); }

    friend bool operator==(const JsonValue&, const JsonValue&);

private:
    std::variant<std::monostate, bool, double, std::string, ArrayItems, ObjectMembers> v_;
};

struct JsonMember {
    std::string key;
    JsonValue value;
    friend bool operator==(const JsonMember&, const JsonMember&) = default;
};

inline JsonValue::JsonValue(bool b) : v_(b) {}
inline JsonValue::JsonValue(double n) : v_(n) {}
inline JsonValue::JsonValue(int n) : v_(static_cast<double>(n)) {}
inline JsonValue::JsonValue(unsigned n) : v_(static_cast<double>(n)) {}
inline JsonValue::JsonValue(std::string s) : v_(std::move(s)) {}
inline JsonValue::JsonValue(std::string_view s) : v_(std::string(s)) {}
inline JsonValue::JsonValue(const char* s) : v_(std::string(s)) {}

// Value of the first member named key; null when value is not an object or has no such member.
const JsonValue* find(const JsonValue& object, std::string_view key);
JsonValue* find(JsonValue& object, std::string_view key);

// Get-or-insert: a non-object first becomes an empty object (its contents dropped); a missing
// key is appended as Null at the end, so an existing key keeps its place.
JsonValue& member(JsonValue& value, std::string_view key);

// Removes the first member named key; nothing happens for a non-object or an absent key.
void erase(JsonValue& object, std::string_view key);

// Appends to an array; a non-array first becomes an empty array.
void push(JsonValue& array, JsonValue value);

// The member's value when it is a Bool; otherwise fallback (0/1 and "true" are not bools).
bool getBool(const JsonValue& object, std::string_view key, bool fallback);

// The member's text when it is a non-empty String; otherwise fallback.
std::string getString(const JsonValue& object, std::string_view key, std::string_view fallback);

// Deepest nesting of arrays and objects the parser accepts; deeper text fails to parse,
// so a hand-edited file cannot exhaust the stack.
inline constexpr int kMaxJsonDepth = 512;

// Parses the whole text. On success moves the tree into out; on failure returns false and
// leaves out exactly as it was. A byte-order mark is not whitespace and fails.
bool parseJson(std::string_view text, JsonValue& out);

// Appends the printed form of value (two-space indentation) at nesting depth.
void writeJson(const JsonValue& value, std::string& buffer, int depth);

// The exact bytes written to files: the printed root followed by one line feed.
std::string toJsonText(const JsonValue& value);

}  // namespace quillom::settings
