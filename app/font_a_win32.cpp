#include "app/font_a_win32.h"

#include <cstring>

#include "app/main_window_texts.h"

HFONT FontA() {
  static HFONT font = [] {
    LOGFONTA logFont{};
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
    std::strncpy(logFont.lfFaceName, main_window_text::kFontAFace, LF_FACESIZE - 1);
    return CreateFontIndirectA(&logFont);
  }();
  return font;
}
