#include "keyboard/key_input_record.h"

KeyInputFields MakeKeyInputFields(std::int32_t virtualKey, std::uint32_t scanCode,
                                  std::int32_t extended, KeyTransition transition,
                                  std::uint32_t tickCount) {
  std::uint32_t flags = extended != 0 ? kKeyEventExtendedKey : 0;
  if (transition == KeyTransition::kUp) flags |= kKeyEventKeyUp;
  return {kInputKeyboard,
          static_cast<std::uint16_t>(static_cast<std::uint32_t>(virtualKey) & 0xFFFF),
          static_cast<std::uint16_t>(scanCode & 0xFFFF),
          flags,
          tickCount,
          0};
}
