// The rules members that turn on what the engine learnt after the rules
// format was first written down. A rules file that leaves such a member out
// gets its first value (the format as first documented) unless it asks for
// a later generation ("decision": {"generation": 2}), which gets the value of
// that generation; a member the file gives wins either way.
//
// later_members.cpp holds one row per member. To add a behaviour: give it a
// field that is off by default, and a row. tools/rulesgen/later_members.py
// reads the rows (the generator leaves out what generation 2 already gives,
// and checks engine/README.md's table against them).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace quillom {

struct RulesConfig;

namespace json {
class Value;
}

struct LaterMember {
    enum class Type : std::uint8_t { Bool, Integer };
    std::string_view section;  // the object holding it: "tokenization", "decision", "decision.auto_thresholds"...
    std::string_view key;
    Type type;
    int64_t first;  // generation 1
    int64_t generation2;
    void (*apply)(RulesConfig&, int64_t);
};

std::span<const LaterMember> laterMembers();

// The generation a rules object asks for: "decision"."generation", 1 when
// missing, ill-typed or below 1.
int64_t requestedGeneration(const json::Value& rules);

// Sets every later member: from the rules object where it gives the member
// with its type, else the generation's value.
void applyLaterMembers(const json::Value& rules, int64_t generation, RulesConfig& config);

}  // namespace quillom
