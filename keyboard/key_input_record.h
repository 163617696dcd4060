// The field values of the keyboard input record a synthetic key event hands to SendInput.
#pragma once

#include <cstdint>

enum class KeyTransition { kDown, kUp };

inline constexpr std::uint32_t kInputKeyboard = 1;
inline constexpr std::uint32_t kKeyEventExtendedKey = 0x1;
inline constexpr std::uint32_t kKeyEventKeyUp = 0x2;

struct KeyInputFields {
  std::uint32_t type;  // always kInputKeyboard
  std::uint16_t virtualKey;
  std::uint16_t scanCode;
  std::uint32_t flags;  // never the scan-code flag: the system acts on the virtual key
  std::uint32_t time;
  std::uintptr_t extraInfo;  // always 0
};

// `scanCode` is what the system maps the virtual key to; `extended` counts as set when nonzero;
// `tickCount` is the moment the record is built.
KeyInputFields MakeKeyInputFields(std::int32_t virtualKey, std::uint32_t scanCode,
                                  std::int32_t extended, KeyTransition transition,
                                  std::uint32_t tickCount);
