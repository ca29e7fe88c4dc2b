#include "platform/text/mbcs.h"

namespace mbcs {

static bool IsLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
static bool IsTrail(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }
static bool IsDigit(unsigned char b) { return b >= 0x30 && b <= 0x39; }

size_t CharacterLength(std::string_view text, size_t index) {
  const auto at = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  if (index >= text.size() || !IsLead(at(index))) return 1;
  if (index + 3 < text.size() && IsDigit(at(index + 1)) && IsLead(at(index + 2)) && IsDigit(at(index + 3))) {
    return 4;
  }
  if (index + 1 < text.size() && IsTrail(at(index + 1))) return 2;
  return 1;
}

size_t NextCharacterStart(std::string_view text, size_t index) {
  size_t i = 0;
  while (i < index) i += CharacterLength(text, i);
  return i;
}

unsigned long CharacterValue(std::string_view text, size_t index) {
  unsigned long value = 0;
  const size_t len = CharacterLength(text, index);
  for (size_t k = 0; k < len; ++k) value = (value << 8) | static_cast<unsigned char>(text[index + k]);
  return value;
}

}  // namespace mbcs
