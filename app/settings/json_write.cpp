#include "json.h"

#include <charconv>
#include <cmath>

namespace quillom::settings {
namespace {

void writeNumber(double x, std::string& out) {
    char buf[32];
    std::to_chars_result r;
    if (!std::isfinite(x)) {
        // Our data never holds these; null keeps the file valid JSON.
        out += "null";
        return;
    }
    if (std::floor(x) == x && std::fabs(x) < 1e15) r = std::to_chars(buf, buf + sizeof buf, static_cast<long long>(x));
    else  // same text as printf "%g" in the C locale, whatever the host locale is
        r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 6);
    out.append(buf, r.ptr);
}

void writeString(std::string_view s, std::string& out) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    for (char c : s) {
        const auto b = static_cast<unsigned char>(c);
        switch (b) {
        case 8: out += "\\b"; break;
        case 9: out += "\\t"; break;
        case 10: out += "\\n"; break;
        case 12: out += "\\f"; break;
        case 13: out += "\\r"; break;
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        default:
            if (b < 0x20) {
                out += "\\u00";
                out += kHex[b >> 4];
                out += kHex[b & 0xF];
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

void indent(int depth, std::string& out) { out.append(static_cast<size_t>(depth) * 2, ' '); }

// An array's items or an object's members between brackets ("[]" or "{}"): empty on one line,
// otherwise one entry a line, indented one step deeper than the brackets.
template <typename Entries, typename WriteEntry>
void writeEntries(const Entries& entries, std::string_view brackets, std::string& out, int depth,
                  const WriteEntry& writeEntry) {
    out += brackets[0];
    if (entries.empty()) {
        out += brackets[1];
        return;
    }
    out += '\n';
    for (size_t i = 0; i < entries.size(); ++i) {
        indent(depth + 1, out);
        writeEntry(entries[i]);
        out += i + 1 < entries.size() ? ",\n" : "\n";
    }
    indent(depth, out);
    out += brackets[1];
}

}  // namespace

void writeJson(const JsonValue& value, std::string& buffer, int depth) {
    switch (value.kind()) {
    case JsonKind::Null: buffer += "null"; return;
    case JsonKind::Bool: buffer += value.asBool() ? "true" : "false"; return;
    case JsonKind::Number: writeNumber(value.asNumber(), buffer); return;
    case JsonKind::String: writeString(value.asString(), buffer); return;
    case JsonKind::Array:
        writeEntries(value.items(), "[]", buffer, depth,
                     [&](const JsonValue& item) { writeJson(item, buffer, depth + 1); });
        return;
    case JsonKind::Object:
        writeEntries(value.members(), "{}", buffer, depth, [&](const JsonMember& member) {
            writeString(member.key, buffer);
            buffer += ": ";
            writeJson(member.value, buffer, depth + 1);
        });
        return;
    }
}

std::string toJsonText(const JsonValue& value) {
    std::string text;
    writeJson(value, text, 0);
    text += '\n';
    return text;
}

}  // namespace quillom::settings
