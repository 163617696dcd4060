#include "services/translation_front.h"

std::int32_t CurrentTranslationDirection(TranslationHandOver& handOver) {
  const int current = handOver.DirectionCurrentItem();
  if (current < 0) return -1;
  return handOver.DirectionItemValue(current);
}

void TranslateSourceBoxWith(TranslationHandOver& handOver, TranslationClients& clients) {
  if (ansi::IsBlank(handOver.ReadSourceText())) return;
  const bool microsoft = handOver.IsMicrosoftBoxChecked();
  const std::int32_t direction = CurrentTranslationDirection(handOver);
  // Read afresh and passed with its spaces: the space-free copy only served the test.
  const AnsiText source = handOver.ReadSourceText();
  handOver.SetResultText(microsoft ? clients.TranslateWithMicrosoft(source, direction)
                                   : clients.TranslateWithGoogle(source, direction));
}

void BeginTranslationsWith(TranslationHandOver& handOver, TranslationClients& clients,
                           const std::vector<AnsiText>& texts) {
  clients.BeginPass(handOver.IsMicrosoftBoxChecked(), CurrentTranslationDirection(handOver), texts);
}
