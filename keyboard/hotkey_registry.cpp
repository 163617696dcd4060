#include "keyboard/hotkey_registry.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr std::uint8_t kVkShift = 16;
constexpr std::uint8_t kVkControl = 17;
constexpr std::uint8_t kVkMenu = 18;
constexpr std::uint8_t kVkLeftWin = 91;

std::int16_t SlotOf(const KeySnapshot& snapshot, std::uint8_t virtualKey) {
  // Key k lives in slot k-1; key 0 has no slot of its own and reads as the unused last slot.
  return virtualKey == 0 ? snapshot[255] : snapshot[virtualKey - 1];
}

bool IsDown(const KeySnapshot& snapshot, std::uint8_t virtualKey) {
  return SlotOf(snapshot, virtualKey) < 0;
}

}  // namespace

std::uint8_t HotkeyVirtualKey(std::int32_t keyCode) {
  // Widen first: the absolute value of INT32_MIN does not fit in 32 bits.
  return static_cast<std::uint8_t>(std::llabs(static_cast<long long>(keyCode)) & 0xFF);
}

std::int32_t HeldModifierMask(const KeySnapshot& snapshot) {
  std::int32_t mask = 0;
  if (IsDown(snapshot, kVkMenu)) mask += kHotkeyAlt;
  if (IsDown(snapshot, kVkControl)) mask += kHotkeyCtrl;
  if (IsDown(snapshot, kVkShift)) mask += kHotkeyShift;
  if (IsDown(snapshot, kVkLeftWin)) mask += kHotkeyWin;
  return mask;
}

HotkeyRegistration HotkeyRegistry::Register(HotkeyRoutine callback, std::int32_t keyCode,
                                            std::int32_t modifierMask, std::int32_t secondKey,
                                            std::int32_t intervalMs, std::int32_t callMode) {
  if (released_ || HotkeyVirtualKey(keyCode) == 0) return {0, 0};
  // A second key with no slot in the snapshot could never be seen down: refuse it.
  if (secondKey != 0 && HotkeyVirtualKey(secondKey) == 0) return {0, 0};

  for (HotkeyEntry& entry : entries_) {
    if (entry.keyCode == keyCode && entry.modifierMask == modifierMask &&
        entry.secondKey == secondKey) {
      entry.callback = callback;
      entry.callMode = callMode;
      return {entry.id, 0};
    }
  }

  const auto id = static_cast<std::int32_t>(kFirstId + entries_.size());
  entries_.push_back({id, callback, keyCode, modifierMask, secondKey, kHotkeyIdle, callMode});
  // Every tick computes the held mask, whatever a record's own mask is.
  for (std::uint8_t modifier : {kVkShift, kVkControl, kVkMenu, kVkLeftWin}) NeedKey(modifier);
  NeedKey(HotkeyVirtualKey(keyCode));
  if (secondKey != 0) NeedKey(HotkeyVirtualKey(secondKey));
  if (id != kFirstId) return {id, 0};
  return {id, intervalMs > 0 ? intervalMs : kDefaultIntervalMs};
}

void HotkeyRegistry::Poll(const KeySnapshot& snapshot, HotkeyFirePort& firePort) {
  const std::size_t count = entries_.size();
  // Address by position and re-check the size: a synchronous callback may append records
  // (which moves them) or, at exit, release them all.
  for (std::size_t position = 0; position < count && position < entries_.size(); ++position) {
    HotkeyEntry& entry = entries_[position];
    const std::int16_t value = SlotOf(snapshot, HotkeyVirtualKey(entry.keyCode));

    if (value == 0) {
      if (entry.state != kHotkeyHeld) {
        entry.state = kHotkeyIdle;
        continue;
      }
      entry.state = kHotkeyReleased;
    } else if (value < 0) {
      if (entry.state == kHotkeyIdle) entry.state = kHotkeyHeld;
      if (entry.keyCode < 0) continue;
    }

    if (entry.state == kHotkeyIdle || entry.state == kHotkeyFired) continue;
    // Used up before the tests below: a press with the wrong modifiers waits for a full release.
    entry.state = kHotkeyFired;
    if (HeldModifierMask(snapshot) != entry.modifierMask) continue;
    if (entry.secondKey != 0 && !IsDown(snapshot, HotkeyVirtualKey(entry.secondKey))) continue;

    firePort.Fire(entry.callback, entry.id, entry.callMode);
  }
}

void HotkeyRegistry::NeedKey(std::uint8_t virtualKey) {
  const auto at = std::lower_bound(neededKeys_.begin(), neededKeys_.end(), virtualKey);
  if (at == neededKeys_.end() || *at != virtualKey) neededKeys_.insert(at, virtualKey);
}

void HotkeyRegistry::Release() {
  std::vector<HotkeyEntry>().swap(entries_);
  std::vector<std::uint8_t>().swap(neededKeys_);
  released_ = true;
}
