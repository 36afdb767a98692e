// The engine's reader of JSON text (strict RFC 8259, UTF-8). The engine only
// reads its two files; it never writes JSON. String values view one buffer
// per parsed document (a copy of the text, plus the decoded form of strings
// with escapes or invalid UTF-8), which every string value shares, so a
// rules file of a few hundred thousand words costs no allocation per word.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillom::json {

class Parser;

class Value {
public:
    enum class Kind { Null, Bool, Number, String, Array, Object };
    using Array = std::vector<Value>;
    using Object = std::vector<std::pair<std::string, Value>>;

    Value() = default;
    static Value makeBool(bool b);
    static Value makeNumber(double d);
    static Value makeArray(Array a);
    static Value makeObject(Object o);

    Kind kind() const { return kind_; }
    bool isObject() const { return kind_ == Kind::Object; }
    bool isArray() const { return kind_ == Kind::Array; }
    bool isString() const { return kind_ == Kind::String; }
    bool isNumber() const { return kind_ == Kind::Number; }
    bool isBool() const { return kind_ == Kind::Bool; }

    bool asBool() const { return bool_; }
    double asNumber() const { return number_; }
    std::string_view asString() const { return string_; }
    const Array& asArray() const { return *array_; }
    const Object& asObject() const { return *object_; }
    Object& asObject() { return *object_; }

    // First member with this key, or null when absent or not an object.
    const Value* find(std::string_view key) const;

    Value(const Value& other);
    Value& operator=(const Value& other);
    Value(Value&&) noexcept = default;
    Value& operator=(Value&&) noexcept = default;

private:
    friend class Parser;
    static Value makeString(std::string_view s, std::shared_ptr<const void> owner);

    Kind kind_ = Kind::Null;
    bool bool_ = false;
    double number_ = 0.0;
    std::string_view string_;
    std::shared_ptr<const void> stringOwner_;  // keeps the bytes string_ views alive
    std::unique_ptr<Array> array_;
    std::unique_ptr<Object> object_;
};

// Nothing on any syntax error or nesting deeper than 256 levels (invalid
// UTF-8 inside strings is read as U+FFFD);
// errorOut (when given) then receives a short description.
std::optional<Value> parse(std::string_view text, std::string* errorOut = nullptr);

// Typed member access: nothing when the member is missing or of another type.
const Value* findObject(const Value& object, std::string_view key);
const Value* findArray(const Value& object, std::string_view key);
std::optional<std::string> findString(const Value& object, std::string_view key);
std::optional<double> findNumber(const Value& object, std::string_view key);
std::optional<bool> findBool(const Value& object, std::string_view key);

// text as a JSON string literal, quotes included; bytes from 0x80 up are copied as they are.
std::string quote(std::string_view text);

}  // namespace quillom::json
