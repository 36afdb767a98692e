#include "config/json.h"
#include "config/rules_config.h"
#include "unicode/unicode.h"

namespace quillom {

namespace {

bool allMembersAre(const json::Value& object, json::Value::Kind kind) {
    for (const auto& [name, v] : object.asObject())
        if (v.kind() != kind) return false;
    return true;
}

}  // namespace

ManualOverridesConfig parseManualOverrides(const json::Value& object) {
    ManualOverridesConfig out;
    if (!object.isObject()) return out;
    if (const json::Value* pairs = json::findObject(object, "exact_pairs");
        pairs && allMembersAre(*pairs, json::Value::Kind::String)) {
        for (const auto& [typed, corrected] : pairs->asObject())
            out.exactPairs.insert_or_assign(unicode::toLower(typed), std::string(corrected.asString()));
    }
    if (const json::Value* never = json::findArray(object, "never_correct")) {
        bool allStrings = true;
        for (const auto& v : never->asArray()) allStrings = allStrings && v.isString();
        if (allStrings)
            for (const auto& v : never->asArray()) out.neverCorrect.insert(unicode::toLower(v.asString()));
    }
    if (const json::Value* meta = json::findObject(object, "exact_pairs_meta");
        meta && allMembersAre(*meta, json::Value::Kind::Object)) {
        bool wellTyped = true;
        for (const auto& [typed, record] : meta->asObject())
            wellTyped = wellTyped && allMembersAre(record, json::Value::Kind::String);
        if (wellTyped) {
            for (const auto& [typed, record] : meta->asObject()) {
                auto dst = json::findString(record, "dst");
                if (dst && !dst->empty()) out.exactPairTargetLang[unicode::toLower(typed)] = unicode::toLower(*dst);
            }
        }
    }
    if (const json::Value* meta = json::findObject(object, "never_correct_meta");
        meta && allMembersAre(*meta, json::Value::Kind::String)) {
        for (const auto& [word, lang] : meta->asObject())
            if (!lang.asString().empty())
                out.neverCorrectLang[unicode::toLower(word)] = unicode::toLower(lang.asString());
    }
    return out;
}

}  // namespace quillom
