// Character boundaries of code page 936 text (with the GB18030 four-byte
// form, which the conversions produce for characters outside the code page).
#pragma once

#include <cstddef>
#include <string_view>

namespace mbcs {

// Bytes of the character starting at `index` (1, 2 or 4; 1 for a lone lead byte).
size_t CharacterLength(std::string_view text, size_t index);
// The first character start at or after `index`.
size_t NextCharacterStart(std::string_view text, size_t index);
// The character at `index` as one number (lead byte in the high bits), for ordering.
unsigned long CharacterValue(std::string_view text, size_t index);

}  // namespace mbcs
