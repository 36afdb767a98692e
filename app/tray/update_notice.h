// Update checks of a portable copy: they only tell the user. The appcast is read, its newest
// version compared with this one, and the user told what to do; nothing is installed.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillom::tray {

// The highest version the appcast offers (its sparkle:version attributes or elements);
// empty when it names none.
std::string newestVersionIn(std::string_view appcast);

// Dotted numbers compared part by part ("1.10" is newer than "1.9"; a missing part is 0).
bool isNewerVersion(std::string_view candidate, std::string_view current);

// What the user is told after a check: nothing for a quiet check that found nothing new.
// appcast is empty when it could not be fetched.
std::optional<std::u16string> updateNotice(const std::optional<std::string>& appcast, std::string_view current,
                                           bool askedByUser);

}  // namespace quillom::tray
