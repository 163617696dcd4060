#include "app/font_a_win32.h"

#include <string>

#include "app/main_window_texts.h"
#include "app/wide_text_win32.h"

HFONT FontA() {
  static HFONT font = [] {
    LOGFONTW logFont{};
    logFont.lfHeight = -12;
    logFont.lfWidth = 0;
    logFont.lfWeight = FW_NORMAL;
    logFont.lfItalic = FALSE;
    logFont.lfUnderline = FALSE;
    logFont.lfStrikeOut = FALSE;
    logFont.lfCharSet = GB2312_CHARSET;
    logFont.lfOutPrecision = OUT_TT_PRECIS;        // 3
    logFont.lfClipPrecision = CLIP_STROKE_PRECIS;  // 2
    logFont.lfQuality = DRAFT_QUALITY;             // 1
    logFont.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    // The face name goes in as UTF-16: through the ANSI call it would be looked up under
    // whatever the system's code page makes of its bytes.
    const std::wstring face = WideFrom936(main_window_text::kFontAFace);
    face.copy(logFont.lfFaceName, LF_FACESIZE - 1);
    return CreateFontIndirectW(&logFont);
  }();
  return font;
}
