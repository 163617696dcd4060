// The translation front's decisions: is there anything to translate, which engine, which
// direction. It works over the hand-over boxes of MainWindow and the two service clients.
#pragma once

#include <cstdint>
#include <vector>

#include "text/ansi_text.h"

class TranslationHandOver {
 public:
  virtual ~TranslationHandOver() = default;
  virtual AnsiText ReadSourceText() = 0;           // 原文内容
  virtual void SetResultText(const AnsiText&) = 0;  // 翻译结果
  virtual bool IsMicrosoftBoxChecked() = 0;        // 选择框_必应
  virtual int DirectionCurrentItem() = 0;          // 组合框1, -1 when none
  virtual int DirectionItemValue(int itemIndex) = 0;  // -1 outside the items
};

class TranslationClients {
 public:
  virtual ~TranslationClients() = default;
  virtual AnsiText TranslateWithGoogle(const AnsiText& text, std::int32_t direction) = 0;
  virtual AnsiText TranslateWithMicrosoft(const AnsiText& text, std::int32_t direction) = 0;
  // Before the first text of a pass: the texts it will ask for, with the engine and direction
  // in effect, so the service can start the pass's budget and batch what it can.
  virtual void BeginPass(bool microsoft, std::int32_t direction,
                         const std::vector<AnsiText>& texts) {
    (void)microsoft;
    (void)direction;
    (void)texts;
  }
};

// The item value of 组合框1's current item (not its index); -1 when there is none.
std::int32_t CurrentTranslationDirection(TranslationHandOver& handOver);

// Translates 原文内容 into 翻译结果. A blank source (only half-width and full-width spaces)
// is left alone and 翻译结果 keeps what it held; otherwise the result is set, also when empty.
void TranslateSourceBoxWith(TranslationHandOver& handOver, TranslationClients& clients);

// Starts a pass with the engine and direction set on the window now.
void BeginTranslationsWith(TranslationHandOver& handOver, TranslationClients& clients,
                           const std::vector<AnsiText>& texts);
