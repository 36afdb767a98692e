#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace quillom {

// A pair of language keys: the layout a word was typed in and the one it is read in.
struct LayoutDirection {
    std::string from;
    std::string to;
    bool operator==(const LayoutDirection& o) const { return from == o.from && to == o.to; }
};

struct LayoutDirectionHash {
    std::size_t operator()(const LayoutDirection& d) const {
        std::hash<std::string> h;
        return h(d.from) * 31u ^ h(d.to);
    }
};

}  // namespace quillom
