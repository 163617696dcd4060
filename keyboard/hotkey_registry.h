// The polled hotkey registry: registrations and the per-tick state machine, over a key
// snapshot. Portable: the Win32 side supplies the snapshot and carries out the firings.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// A routine address of either shape (thread start routine or window procedure); the fire
// port knows which one from the call mode.
using HotkeyRoutine = void (*)();

// One tick's view of the keyboard: slot k-1 holds the async state of virtual key k (1..255),
// the last slot stays 0. Negative: down. Zero: fully up. Positive: up, pressed since last query.
using KeySnapshot = std::array<std::int16_t, 256>;

// Modifier bits of a registration's exact mask.
enum HotkeyModifier : std::int32_t {
  kHotkeyAlt = 1,
  kHotkeyCtrl = 2,
  kHotkeyShift = 4,
  kHotkeyWin = 8,
};

// Trigger states. The fired state is 88, not 3.
enum HotkeyState : std::uint8_t {
  kHotkeyIdle = 0,
  kHotkeyHeld = 1,
  kHotkeyReleased = 2,
  kHotkeyFired = 88,
};

struct HotkeyEntry {
  std::int32_t id;
  HotkeyRoutine callback;
  std::int32_t keyCode;  // sign: press (+) or release (-) trigger; low 8 bits of |code|: the key
  std::int32_t modifierMask;
  std::int32_t secondKey;  // 0 or a code whose low 8 bits of |code| name a key that must be down
  std::uint8_t state;
  std::int32_t callMode;  // 0: a new thread per firing; otherwise a synchronous call
};

// Carries out one firing. The id and routine are passed by value: a synchronous callback may
// register hotkeys and so move the registry's records while it runs.
class HotkeyFirePort {
 public:
  virtual void Fire(HotkeyRoutine callback, std::int32_t id, std::int32_t callMode) = 0;

 protected:
  ~HotkeyFirePort() = default;
};

struct HotkeyRegistration {
  std::int32_t id;  // 0 when refused
  // Nonzero when this registration created the first record: start the poll timer with it.
  std::int32_t pollTimerIntervalMs;
};

// The virtual key (0..255) a key code names: the low 8 bits of its absolute value.
std::uint8_t HotkeyVirtualKey(std::int32_t keyCode);

// The exact modifier mask a snapshot shows held (only the left Windows key counts as Win).
std::int32_t HeldModifierMask(const KeySnapshot& snapshot);

class HotkeyRegistry {
 public:
  static constexpr std::int32_t kFirstId = 1000001;
  static constexpr std::int32_t kDefaultIntervalMs = 10;

  HotkeyRegistration Register(HotkeyRoutine callback, std::int32_t keyCode,
                              std::int32_t modifierMask, std::int32_t secondKey,
                              std::int32_t intervalMs, std::int32_t callMode);

  // One tick. Records appended by a callback during the tick are first visited on the next one.
  void Poll(const KeySnapshot& snapshot, HotkeyFirePort& firePort);

  // Frees the records (the exit clean-up). Later ticks find nothing to do and later
  // registrations are refused, so a timer left running stays harmless.
  void Release();

  bool released() const { return released_; }
  const std::vector<HotkeyEntry>& entries() const { return entries_; }
  HotkeyEntry& entryAt(std::size_t position) { return entries_.at(position); }

  // The virtual keys a tick can look at: every record's key and second key, and the four
  // modifier keys of the held mask. Ascending, each once; empty while there is no record.
  // Poll reads no other slot of the snapshot, so a snapshot that holds only these keys (the
  // rest left 0) fires exactly as a full one would.
  const std::vector<std::uint8_t>& neededKeys() const { return neededKeys_; }

 private:
  void NeedKey(std::uint8_t virtualKey);

  std::vector<HotkeyEntry> entries_;
  std::vector<std::uint8_t> neededKeys_;
  bool released_ = false;
};
