#include "config/json.h"

#include <charconv>
#include <cstdio>
#include <deque>

#include "unicode/unicode.h"

namespace quillom::json {

Value Value::makeBool(bool b) {
    Value v;
    v.kind_ = Kind::Bool;
    v.bool_ = b;
    return v;
}

Value Value::makeNumber(double d) {
    Value v;
    v.kind_ = Kind::Number;
    v.number_ = d;
    return v;
}

Value Value::makeString(std::string_view s, std::shared_ptr<const void> owner) {
    Value v;
    v.kind_ = Kind::String;
    v.string_ = s;
    v.stringOwner_ = std::move(owner);
    return v;
}

Value Value::makeArray(Array a) {
    Value v;
    v.kind_ = Kind::Array;
    v.array_ = std::make_unique<Array>(std::move(a));
    return v;
}

Value Value::makeObject(Object o) {
    Value v;
    v.kind_ = Kind::Object;
    v.object_ = std::make_unique<Object>(std::move(o));
    return v;
}

Value::Value(const Value& other)
    : kind_(other.kind_),
      bool_(other.bool_),
      number_(other.number_),
      string_(other.string_),
      stringOwner_(other.stringOwner_),
      array_(other.array_ ? std::make_unique<Array>(*other.array_) : nullptr),
      object_(other.object_ ? std::make_unique<Object>(*other.object_) : nullptr) {}

Value& Value::operator=(const Value& other) {
    if (this != &other) *this = Value(other);
    return *this;
}

const Value* Value::find(std::string_view key) const {
    if (kind_ != Kind::Object) return nullptr;
    for (const auto& [k, v] : *object_)
        if (k == key) return &v;
    return nullptr;
}

namespace {

constexpr int kMaxDepth = 256;

// What the string values of one document view: the text itself, and the
// decoded copies of the strings that differ from their bytes in the text
// (a deque, so that adding one moves none of the others).
struct Document {
    std::string text;
    std::deque<std::string> decoded;
};

// True when the bytes at p are a well-formed sequence; moves p past it, or
// past its maximal ill-formed part.
bool consumeScalar(const char*& p, const char* end) {
    std::size_t pos = 0;
    const std::string_view rest(p, static_cast<std::size_t>(end - p));
    const char32_t scalar = unicode::decodeScalar(rest, pos);
    p += pos;
    return scalar != unicode::kReplacement || rest.substr(0, pos) == "\xEF\xBF\xBD";
}

// Whether a well-formed JSON number too large or too small for a double is
// too large: its first significant digit stands at a place above the units.
bool beyondOne(std::string_view number) {
    std::size_t i = number.starts_with('-') ? 1 : 0;
    long long place = 0;  // of the first significant digit: 1 for units, 0 for tenths
    bool found = false;
    for (; i < number.size() && number[i] >= '0' && number[i] <= '9'; ++i) {
        if (number[i] != '0') found = true;
        if (found) ++place;
    }
    if (i < number.size() && number[i] == '.')
        for (++i; i < number.size() && number[i] >= '0' && number[i] <= '9'; ++i) {
            if (found) continue;
            if (number[i] != '0') found = true;
            else --place;
        }
    long long exponent = 0;
    if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
        const bool negative = number[++i] == '-';
        if (number[i] == '-' || number[i] == '+') ++i;
        for (; i < number.size(); ++i)
            if (exponent < 1'000'000) exponent = exponent * 10 + (number[i] - '0');
        if (negative) exponent = -exponent;
    }
    return place + exponent > 0;
}

}  // namespace

class Parser {
public:
    explicit Parser(std::string_view text) : doc_(std::make_shared<Document>()) {
        doc_->text.assign(text);
        p_ = doc_->text.data();
        end_ = p_ + doc_->text.size();
    }

    std::optional<Value> parseDocument() {
        skipWhitespace();
        auto v = parseValue(0);
        if (!v) return std::nullopt;
        skipWhitespace();
        if (p_ != end_) return fail("unexpected text after the value");
        return v;
    }

    const std::string& error() const { return error_; }

private:
    std::nullopt_t fail(const char* what) {
        if (error_.empty()) error_ = what;
        return std::nullopt;
    }

    void skipWhitespace() {
        while (p_ != end_ && (*p_ == ' ' || *p_ == '\t' || *p_ == '\n' || *p_ == '\r')) ++p_;
    }

    bool consumeLiteral(std::string_view lit) {
        if (static_cast<size_t>(end_ - p_) < lit.size() || std::string_view(p_, lit.size()) != lit) return false;
        p_ += lit.size();
        return true;
    }

    std::optional<Value> parseValue(int depth) {
        if (p_ == end_) return fail("unexpected end of text");
        switch (*p_) {
        case '{': return parseObject(depth + 1);
        case '[': return parseArray(depth + 1);
        case '"': {
            std::string_view s;
            if (!parseString(s)) return std::nullopt;
            return Value::makeString(s, doc_);
        }
        case 't':
            if (consumeLiteral("true")) return Value::makeBool(true);
            return fail("invalid literal");
        case 'f':
            if (consumeLiteral("false")) return Value::makeBool(false);
            return fail("invalid literal");
        case 'n':
            if (consumeLiteral("null")) return Value();
            return fail("invalid literal");
        default: return parseNumber();
        }
    }

    std::optional<Value> parseNumber() {
        const char* start = p_;
        auto digits = [&] {
            const char* s = p_;
            while (p_ != end_ && *p_ >= '0' && *p_ <= '9') ++p_;
            return p_ != s;
        };
        if (p_ != end_ && *p_ == '-') ++p_;
        if (p_ != end_ && *p_ == '0') {
            ++p_;
        } else if (!digits()) {
            return fail("invalid number");
        }
        if (p_ != end_ && *p_ == '.') {
            ++p_;
            if (!digits()) return fail("invalid number");
        }
        if (p_ != end_ && (*p_ == 'e' || *p_ == 'E')) {
            ++p_;
            if (p_ != end_ && (*p_ == '+' || *p_ == '-')) ++p_;
            if (!digits()) return fail("invalid number");
        }
        double d = 0.0;
        auto [ptr, ec] = std::from_chars(start, p_, d);
        if (ec == std::errc::result_out_of_range) {
            const double magnitude =
                beyondOne(std::string_view(start, static_cast<std::size_t>(p_ - start))) ? 1e308 : 0.0;
            d = (*start == '-') ? -magnitude : magnitude;
        } else if (ec != std::errc() || ptr != p_) {
            return fail("invalid number");
        }
        return Value::makeNumber(d);
    }

    bool hex4(uint32_t& out) {
        if (end_ - p_ < 4) return false;
        out = 0;
        for (int i = 0; i < 4; ++i) {
            char c = *p_++;
            out <<= 4;
            if (c >= '0' && c <= '9') out |= uint32_t(c - '0');
            else if (c >= 'a' && c <= 'f') out |= uint32_t(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F') out |= uint32_t(c - 'A' + 10);
            else return false;
        }
        return true;
    }

    bool parseEscape(std::string& out) {
        if (p_ == end_) return false;
        char c = *p_++;
        switch (c) {
        case '"': out += '"'; return true;
        case '\\': out += '\\'; return true;
        case '/': out += '/'; return true;
        case 'b': out += '\b'; return true;
        case 'f': out += '\f'; return true;
        case 'n': out += '\n'; return true;
        case 'r': out += '\r'; return true;
        case 't': out += '\t'; return true;
        case 'u': break;
        default: return false;
        }
        uint32_t cp = 0;
        if (!hex4(cp)) return false;
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            uint32_t low = 0;
            if (end_ - p_ >= 6 && p_[0] == '\\' && p_[1] == 'u') {
                const char* save = p_;
                p_ += 2;
                if (hex4(low) && low >= 0xDC00 && low <= 0xDFFF) {
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                } else {
                    p_ = save;
                    cp = unicode::kReplacement;
                }
            } else {
                cp = unicode::kReplacement;
            }
        } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
            cp = unicode::kReplacement;
        }
        unicode::appendUtf8(out, cp);
        return true;
    }

    // out views the document: the text itself when the string has no escapes
    // and is valid UTF-8, else its decoded copy.
    bool parseString(std::string_view& out) {
        ++p_;  // opening quote
        const char* runStart = p_;
        std::string decoded;
        bool escaped = false;
        bool needsSanitize = false;
        for (;;) {
            if (p_ == end_) {
                fail("unterminated string");
                return false;
            }
            unsigned char c = static_cast<unsigned char>(*p_);
            if (c == '"') break;
            if (c < 0x20) {
                fail("control character in string");
                return false;
            }
            if (c == '\\') {
                decoded.append(runStart, p_);
                escaped = true;
                ++p_;
                if (!parseEscape(decoded)) {
                    fail("invalid escape");
                    return false;
                }
                runStart = p_;
                continue;
            }
            if (c >= 0x80) {
                if (!consumeScalar(p_, end_)) needsSanitize = true;
                continue;
            }
            ++p_;
        }
        const std::string_view run(runStart, static_cast<std::size_t>(p_ - runStart));
        ++p_;  // closing quote
        if (!escaped && !needsSanitize) {
            out = run;
            return true;
        }
        decoded.append(run);
        if (needsSanitize) decoded = unicode::sanitizeUtf8(decoded);
        out = doc_->decoded.emplace_back(std::move(decoded));
        return true;
    }

    std::optional<Value> parseArray(int depth) {
        if (depth > kMaxDepth) return fail("nesting too deep");
        ++p_;
        Value::Array items;
        skipWhitespace();
        if (p_ != end_ && *p_ == ']') {
            ++p_;
            return Value::makeArray(std::move(items));
        }
        for (;;) {
            skipWhitespace();
            auto v = parseValue(depth);
            if (!v) return std::nullopt;
            items.push_back(std::move(*v));
            skipWhitespace();
            if (p_ == end_) return fail("unterminated array");
            if (*p_ == ',') {
                ++p_;
                continue;
            }
            if (*p_ == ']') {
                ++p_;
                return Value::makeArray(std::move(items));
            }
            return fail("expected ',' or ']'");
        }
    }

    std::optional<Value> parseObject(int depth) {
        if (depth > kMaxDepth) return fail("nesting too deep");
        ++p_;
        Value::Object members;
        skipWhitespace();
        if (p_ != end_ && *p_ == '}') {
            ++p_;
            return Value::makeObject(std::move(members));
        }
        for (;;) {
            skipWhitespace();
            if (p_ == end_ || *p_ != '"') return fail("expected a member name");
            std::string_view key;
            if (!parseString(key)) return std::nullopt;
            skipWhitespace();
            if (p_ == end_ || *p_ != ':') return fail("expected ':'");
            ++p_;
            skipWhitespace();
            auto v = parseValue(depth);
            if (!v) return std::nullopt;
            members.emplace_back(std::string(key), std::move(*v));
            skipWhitespace();
            if (p_ == end_) return fail("unterminated object");
            if (*p_ == ',') {
                ++p_;
                continue;
            }
            if (*p_ == '}') {
                ++p_;
                return Value::makeObject(std::move(members));
            }
            return fail("expected ',' or '}'");
        }
    }

    std::shared_ptr<Document> doc_;
    const char* p_;
    const char* end_;
    std::string error_;
};

std::optional<Value> parse(std::string_view text, std::string* errorOut) {
    Parser parser(text);
    auto v = parser.parseDocument();
    if (!v && errorOut) *errorOut = parser.error();
    return v;
}

const Value* findObject(const Value& object, std::string_view key) {
    const Value* v = object.find(key);
    return v && v->isObject() ? v : nullptr;
}

const Value* findArray(const Value& object, std::string_view key) {
    const Value* v = object.find(key);
    return v && v->isArray() ? v : nullptr;
}

std::optional<std::string> findString(const Value& object, std::string_view key) {
    const Value* v = object.find(key);
    if (v && v->isString()) return std::string(v->asString());
    return std::nullopt;
}

std::optional<double> findNumber(const Value& object, std::string_view key) {
    const Value* v = object.find(key);
    if (v && v->isNumber()) return v->asNumber();
    return std::nullopt;
}

std::optional<bool> findBool(const Value& object, std::string_view key) {
    const Value* v = object.find(key);
    if (v && v->isBool()) return v->asBool();
    return std::nullopt;
}

std::string quote(std::string_view text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

}  // namespace quillom::json
