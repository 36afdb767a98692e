// Conversions between the application's UTF-16 text and the engine's UTF-8.
// Unpaired surrogates and invalid UTF-8 become U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace quillom::pipeline {

std::string toUtf8(std::u16string_view text);
std::u16string toUtf16(std::string_view text);

}  // namespace quillom::pipeline
