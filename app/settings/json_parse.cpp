#include "json.h"

#include <charconv>
#include <limits>

namespace quillom::settings {
namespace {

bool isWhitespace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool isNumberByte(char c) { return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E'; }

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Unlike the engine's encoder this keeps a lone surrogate escape as it stands, so
// the file's text reads back byte for byte.
void appendUtf8(uint32_t cp, std::string& out) {
    if (cp <= 0x7F) {
        out += static_cast<char>(cp);
    } else if (cp <= 0x7FF) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp <= 0xFFFF) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Whether a decimal text that does not fit a double is too large (rather than too small).
bool overflowsUpward(std::string_view t) {
    size_t i = 0;
    long long intDigits = 0, leadingFractionZeros = 0, exponent = 0;
    bool nonzero = false;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
        if (t[i] != '0' || nonzero) {
            nonzero = true;
            ++intDigits;
        }
    }
    if (i < t.size() && t[i] == '.') {
        for (++i; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
            if (nonzero) continue;
            if (t[i] == '0') ++leadingFractionZeros;
            else nonzero = true;
        }
    }
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        const bool negative = i < t.size() && t[i] == '-';
        if (i < t.size() && (t[i] == '-' || t[i] == '+')) ++i;
        for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i)
            if (exponent < 1'000'000) exponent = exponent * 10 + (t[i] - '0');
        if (negative) exponent = -exponent;
    }
    return (intDigits > 0 ? intDigits : -leadingFractionZeros) + exponent > 0;
}

// strtod's reading of the consumed bytes (unused trailing bytes ignored), independent of the
// host locale.
double toDouble(std::string_view t) {
    bool negative = false;
    if (!t.empty() && (t[0] == '+' || t[0] == '-')) {
        negative = t[0] == '-';
        t.remove_prefix(1);
    }
    if (t.empty() || t[0] == '+' || t[0] == '-') return 0.0;
    double v = 0.0;
    const auto r = std::from_chars(t.data(), t.data() + t.size(), v, std::chars_format::general);
    if (r.ec == std::errc::invalid_argument) return 0.0;
    if (r.ec == std::errc::result_out_of_range)
        v = overflowsUpward(std::string_view(t.data(), static_cast<size_t>(r.ptr - t.data())))
                ? std::numeric_limits<double>::infinity()
                : 0.0;
    return negative ? -v : v;
}

class Parser {
public:
    explicit Parser(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}

    bool parseDocument(JsonValue& out) {
        if (!parseValue(out, 0)) return false;
        skipWhitespace();
        return p_ == end_;
    }

private:
    void skipWhitespace() {
        while (p_ != end_ && isWhitespace(*p_)) ++p_;
    }

    bool literal(std::string_view word) {
        if (static_cast<size_t>(end_ - p_) < word.size()) return false;
        if (std::string_view(p_, word.size()) != word) return false;
        p_ += word.size();
        return true;
    }

    bool parseValue(JsonValue& out, int depth) {
        skipWhitespace();
        if (p_ == end_) return false;
        switch (*p_) {
        case '"': {
            std::string s;
            if (!parseString(s)) return false;
            out = JsonValue(std::move(s));
            return true;
        }
        case '[': return parseArray(out, depth + 1);
        case '{': return parseObject(out, depth + 1);
        case 't': out = JsonValue(true); return literal("true");
        case 'f': out = JsonValue(false); return literal("false");
        case 'n': out = JsonValue(); return literal("null");
        default: return parseNumber(out);
        }
    }

    bool parseNumber(JsonValue& out) {
        const char* start = p_;
        if (*p_ == '+' || *p_ == '-') ++p_;
        while (p_ != end_ && isNumberByte(*p_)) ++p_;
        if (p_ == start) return false;
        out = JsonValue(toDouble(std::string_view(start, static_cast<size_t>(p_ - start))));
        return true;
    }

    bool parseHex4(uint32_t& code) {
        if (end_ - p_ < 4) return false;
        code = 0;
        for (int i = 0; i < 4; ++i) {
            const int d = hexDigit(*p_++);
            if (d < 0) return false;
            code = (code << 4) | static_cast<uint32_t>(d);
        }
        return true;
    }

    bool parseUnicodeEscape(std::string& out) {
        uint32_t code = 0;
        if (!parseHex4(code)) return false;
        if (code >= 0xD800 && code <= 0xDBFF) {
            uint32_t low = 0;
            if (end_ - p_ < 2 || p_[0] != '\\' || p_[1] != 'u') return false;
            p_ += 2;
            if (!parseHex4(low) || low < 0xDC00 || low > 0xDFFF) return false;
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        }
        appendUtf8(code, out);
        return true;
    }

    bool parseEscape(std::string& out) {
        if (p_ == end_) return false;
        const char c = *p_++;
        switch (c) {
        case '"':
        case '\\':
        case '/': out += c; return true;
        case 'b': out += '\b'; return true;
        case 'f': out += '\f'; return true;
        case 'n': out += '\n'; return true;
        case 'r': out += '\r'; return true;
        case 't': out += '\t'; return true;
        case 'u': return parseUnicodeEscape(out);
        default: return false;
        }
    }

    // The cursor stands on the opening quote.
    bool parseString(std::string& out) {
        out.clear();
        ++p_;
        while (p_ != end_) {
            const char c = *p_++;
            if (c == '"') return true;
            if (c != '\\') out += c;
            else if (!parseEscape(out)) return false;
        }
        return false;
    }

    // What arrays and objects share: p_ is at the opening bracket; parseEntry reads one entry
    // (an item, or a key, a colon and a value); entries are separated by commas up to close.
    template <typename ParseEntry>
    bool parseEntries(char close, const ParseEntry& parseEntry) {
        ++p_;
        skipWhitespace();
        if (p_ != end_ && *p_ == close) {
            ++p_;
            return true;
        }
        for (;;) {
            if (!parseEntry()) return false;
            skipWhitespace();
            if (p_ == end_) return false;
            const char c = *p_++;
            if (c == close) return true;
            if (c != ',') return false;
        }
    }

    bool parseArray(JsonValue& out, int depth) {
        if (depth > kMaxJsonDepth) return false;
        out = JsonValue::makeArray();
        return parseEntries(']', [&] {
            JsonValue item;
            if (!parseValue(item, depth)) return false;
            out.items().push_back(std::move(item));
            return true;
        });
    }

    bool parseKey(std::string& key) {
        skipWhitespace();
        return p_ != end_ && *p_ == '"' && parseString(key);
    }

    bool parseObject(JsonValue& out, int depth) {
        if (depth > kMaxJsonDepth) return false;
        out = JsonValue::makeObject();
        return parseEntries('}', [&] {
            std::string key;
            if (!parseKey(key)) return false;
            skipWhitespace();
            if (p_ == end_ || *p_ != ':') return false;
            ++p_;
            JsonValue value;
            if (!parseValue(value, depth)) return false;
            // Duplicates stay: every lookup finds the first, printing keeps all.
            out.members().push_back(JsonMember{std::move(key), std::move(value)});
            return true;
        });
    }

    const char* p_;
    const char* end_;
};

}  // namespace

bool parseJson(std::string_view text, JsonValue& out) {
    JsonValue parsed;
    if (!Parser(text).parseDocument(parsed)) return false;
    out = std::move(parsed);
    return true;
}

}  // namespace quillom::settings
