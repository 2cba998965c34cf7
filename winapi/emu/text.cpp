// The built-in font and text output: metrics, measuring, DrawTextA layout and rasterising, and the record of drawn
// text.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "state.h"

namespace emu {
namespace {

std::vector<TextCall>& Calls() {
  static std::vector<TextCall> calls;
  return calls;
}

bool IsLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Byte length of the character at `i`: a lead byte with a byte after it makes one double-byte character.
int CharBytes(const char* text, int length, int i) {
  return IsLead(static_cast<unsigned char>(text[i])) && i + 1 < length ? 2 : 1;
}

int WidthOf(const FontMetrics& m, int bytes) { return bytes == 2 ? m.doubleWidth : m.singleWidth; }

const LOGFONTA& FontOf(const Dc& dc) {
  static const LOGFONTA fallback = [] {
    LOGFONTA lf{};
    lf.lfHeight = 16;
    lf.lfWeight = FW_BOLD;
    return lf;
  }();
  return dc.state.font != nullptr ? dc.state.font->font : fallback;
}

// One character as laid out: where its bytes are, how wide it is and how it shows.
struct Glyph {
  int offset = 0;
  int bytes = 1;
  int width = 0;  // tabs get theirs when the line is laid out
  bool space = false;
  bool tab = false;
  bool visible = false;
  bool underline = false;
};

struct Line {
  std::vector<Glyph> glyphs;
  int width = 0;      // what alignment uses: a wrapped line without the blanks it broke at
  int fullWidth = 0;  // every glyph of the line, blanks included (measured rectangle, opaque background)
};

class Layout {
 public:
  Layout(const char* text, int length, UINT format, const FontMetrics& m, int lineWidth)
      : text_(text), length_(length), format_(format), m_(m), limit_(lineWidth) {
    for (const auto& paragraph : Paragraphs()) Wrap(Glyphs(paragraph.first, paragraph.second));
  }
  const std::vector<Line>& Lines() const { return lines_; }

 private:
  // Byte ranges between line breaks (CR, LF, or the two in either order); a break at the very end opens no line.
  std::vector<std::pair<int, int>> Paragraphs() const {
    std::vector<std::pair<int, int>> out;
    if ((format_ & DT_SINGLELINE) != 0) {
      out.emplace_back(0, length_);
      return out;
    }
    int start = 0;
    int i = 0;
    while (i < length_) {
      char c = text_[i];
      if (c == '\r' || c == '\n') {
        out.emplace_back(start, i);
        char other = c == '\r' ? '\n' : '\r';
        i += (i + 1 < length_ && text_[i + 1] == other) ? 2 : 1;
        start = i;
        continue;
      }
      i += CharBytes(text_, length_, i);
    }
    if (start < length_) out.emplace_back(start, length_);
    return out;
  }

  // The characters of a range after prefix handling: "&x" underlines x, "&&" shows one '&', a last lone '&' shows.
  std::vector<Glyph> Glyphs(int begin, int end) const {
    std::vector<Glyph> out;
    bool prefixes = (format_ & DT_NOPREFIX) == 0;
    int i = begin;
    int underlined = -1;
    while (i < end) {
      bool mark = false;
      if (prefixes && text_[i] == '&' && i + 1 < end) {
        ++i;
        mark = text_[i] != '&';
      }
      Glyph g;
      g.offset = i;
      g.bytes = std::min(CharBytes(text_, length_, i), end - i);
      auto b = static_cast<unsigned char>(text_[i]);
      g.width = WidthOf(m_, g.bytes);
      g.space = b == ' ';
      g.tab = b == '\t' && (format_ & DT_EXPANDTABS) != 0;
      g.visible = g.bytes == 2 || b > ' ';
      if (mark) underlined = static_cast<int>(out.size());
      out.push_back(g);
      i += g.bytes;
    }
    // Only the last marked character of a line shows its underline.
    if (underlined >= 0) out[static_cast<std::size_t>(underlined)].underline = true;
    return out;
  }

  int TabStop() const { return 8 * m_.singleWidth; }

  // Tab widths depend on where the tab falls in its line.
  int Advance(Glyph& g, int x) const {
    if (g.tab) g.width = TabStop() - x % TabStop();
    return g.width;
  }

  void Emit(const std::vector<Glyph>& glyphs, std::size_t begin, std::size_t end, bool wrapped) {
    Line line;
    int x = 0;
    for (std::size_t i = begin; i < end; ++i) {
      Glyph g = glyphs[i];
      x += Advance(g, x);
      line.glyphs.push_back(g);
    }
    line.fullWidth = x;
    line.width = x;
    if (wrapped) {
      for (auto it = line.glyphs.rbegin(); it != line.glyphs.rend() && it->space; ++it) line.width -= it->width;
    }
    lines_.push_back(std::move(line));
  }

  static std::size_t SkipSpaces(const std::vector<Glyph>& glyphs, std::size_t i) {
    while (i < glyphs.size() && glyphs[i].space) ++i;
    return i;
  }

  // Greedy word wrap. When a character does not fit, the line ends before the last word that starts at or before
  // it, so a word keeps the line only with the blank after it; a word longer than the line is kept whole unless the
  // edit-control rule lets it break.
  void Wrap(std::vector<Glyph> glyphs) {
    if ((format_ & DT_WORDBREAK) == 0 || (format_ & DT_SINGLELINE) != 0) {
      Emit(glyphs, 0, glyphs.size(), false);
      return;
    }
    std::size_t start = 0;
    bool first = true;
    while (first || start < glyphs.size()) {
      first = false;
      int x = 0;
      std::size_t i = start;
      for (; i < glyphs.size(); ++i) {
        Glyph g = glyphs[i];
        int w = Advance(g, x);
        if (i > start && x + w > limit_) break;
        x += w;
      }
      if (i >= glyphs.size()) {
        Emit(glyphs, start, glyphs.size(), false);
        return;
      }
      std::size_t cut = 0;
      for (std::size_t j = i; j > start; --j) {
        if (glyphs[j - 1].space && !glyphs[j].space) {
          cut = j;
          break;
        }
      }
      if (cut != 0) {
        Emit(glyphs, start, cut, true);
        start = cut;
      } else if (glyphs[i].space) {
        Emit(glyphs, start, i, true);
        start = SkipSpaces(glyphs, i);
      } else if ((format_ & DT_EDITCONTROL) != 0) {
        Emit(glyphs, start, i, true);
        start = i;
      } else {
        std::size_t e = i;
        while (e < glyphs.size() && !glyphs[e].space) ++e;
        Emit(glyphs, start, e, true);
        start = SkipSpaces(glyphs, e);
      }
    }
  }

  const char* text_;
  int length_;
  UINT format_;
  FontMetrics m_;
  int limit_;
  std::vector<Line> lines_;
};

int FloorHalf(int v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); }

}  // namespace

FontMetrics MetricsOf(const LOGFONTA& font) {
  int h = std::abs(static_cast<int>(font.lfHeight));
  if (h == 0) h = 12;
  int bold = font.lfWeight >= FW_BOLD ? 1 : 0;
  return FontMetrics{h, h - h / 5, (h + 1) / 2 + bold, h + bold};
}

const std::vector<TextCall>& TextCalls() { return Calls(); }
void ClearTextCalls() { Calls().clear(); }
void ResetText() { Calls().clear(); }

}  // namespace emu

using emu::Dc;
using emu::FromHandle;

BOOL WINAPI GetTextMetricsA(HDC hdc, TEXTMETRICA* tm) {
  Dc* dc = FromHandle(hdc);
  if (dc == nullptr || tm == nullptr) return FALSE;
  const LOGFONTA& lf = emu::FontOf(*dc);
  emu::FontMetrics m = emu::MetricsOf(lf);
  *tm = TEXTMETRICA{};
  tm->tmHeight = m.height;
  tm->tmAscent = m.ascent;
  tm->tmDescent = m.height - m.ascent;
  tm->tmAveCharWidth = m.singleWidth;
  tm->tmMaxCharWidth = m.doubleWidth;
  tm->tmWeight = lf.lfWeight == 0 ? FW_NORMAL : lf.lfWeight;
  tm->tmDigitizedAspectX = 96;
  tm->tmDigitizedAspectY = 96;
  tm->tmFirstChar = 0x20;
  tm->tmLastChar = 0xFC;
  tm->tmDefaultChar = 0x1F;
  tm->tmBreakChar = 0x20;
  tm->tmItalic = lf.lfItalic;
  tm->tmUnderlined = lf.lfUnderline;
  tm->tmStruckOut = lf.lfStrikeOut;
  tm->tmPitchAndFamily = lf.lfPitchAndFamily;
  tm->tmCharSet = lf.lfCharSet;
  return TRUE;
}

BOOL WINAPI GetTextExtentPoint32A(HDC hdc, LPCSTR text, int length, LPSIZE size) {
  Dc* dc = FromHandle(hdc);
  if (dc == nullptr || size == nullptr || length < 0 || (text == nullptr && length > 0)) return FALSE;
  emu::FontMetrics m = emu::MetricsOf(emu::FontOf(*dc));
  int width = 0;
  for (int i = 0; i < length;) {
    int bytes = emu::CharBytes(text, length, i);
    width += emu::WidthOf(m, bytes);
    i += bytes;
  }
  *size = SIZE{width, m.height};
  return TRUE;
}

int WINAPI DrawTextA(HDC hdc, LPCSTR text, int length, LPRECT rect, UINT format) {
  Dc* dc = FromHandle(hdc);
  if (dc == nullptr || rect == nullptr || text == nullptr) return 0;
  if (length < 0) length = static_cast<int>(std::strlen(text));
  const LOGFONTA& font = emu::FontOf(*dc);
  emu::FontMetrics m = emu::MetricsOf(font);
  bool calc = (format & DT_CALCRECT) != 0;
  bool single = (format & DT_SINGLELINE) != 0;

  if (!calc) {
    emu::TextCall call{dc->window != nullptr ? dc->window->handle : nullptr,
                       std::string(text, static_cast<std::size_t>(length)),
                       *rect,
                       format,
                       dc->state.textColor,
                       dc->state.bkColor,
                       dc->state.bkMode,
                       font,
                       dc->ToDevice(0, 0),
                       dc->state.clip};
    emu::Calls().push_back(std::move(call));
  }
  if (length == 0) {
    if (calc) {
      rect->right = rect->left;
      rect->bottom = single ? rect->top + m.height : rect->top;
    }
    return m.height;
  }

  emu::Layout layout(text, length, format, m, rect->right - rect->left);
  const auto& lines = layout.Lines();
  int total = static_cast<int>(lines.size()) * m.height;
  int y = rect->top;
  if (single && (format & DT_VCENTER) != 0) {
    y = rect->top + emu::FloorHalf(rect->bottom - rect->top) - m.height / 2;
  } else if (single && (format & DT_BOTTOM) != 0) {
    y = rect->bottom - m.height;
  }
  int result = single && (format & (DT_VCENTER | DT_BOTTOM)) != 0 ? y + m.height - rect->top : total;

  if (calc) {
    int widest = 0;
    for (const auto& line : lines) widest = std::max(widest, line.fullWidth);
    rect->right = rect->left + widest;
    rect->bottom = rect->top + total;
    return result;
  }

  // Clipped to the rectangle unless told otherwise, and always to the DC's clip.
  POINT a = dc->ToDevice(rect->left, rect->top), z = dc->ToDevice(rect->right, rect->bottom);
  RECT box{a.x, a.y, z.x, z.y};
  const RECT* limit = (format & DT_NOCLIP) != 0 ? nullptr : &box;
  for (const auto& line : lines) {
    int x = rect->left;
    if ((format & DT_CENTER) != 0) {
      x = rect->left + emu::FloorHalf(rect->right - rect->left - line.width);
    } else if ((format & DT_RIGHT) != 0) {
      x = rect->right - line.width;
    }
    POINT origin = dc->ToDevice(x, y);
    if (dc->state.bkMode == OPAQUE)
      emu::FillDevice(dc, RECT{origin.x, origin.y, origin.x + line.fullWidth, origin.y + m.height}, dc->state.bkColor,
                      limit);
    int gx = origin.x;
    int inkTop = origin.y + m.ascent - m.height * 3 / 5;
    for (const auto& g : line.glyphs) {
      if (g.visible)
        emu::FillDevice(dc, RECT{gx + 1, inkTop, gx + g.width - 1, origin.y + m.ascent}, dc->state.textColor, limit);
      if (g.underline)
        emu::FillDevice(dc, RECT{gx, origin.y + m.ascent + 1, gx + g.width, origin.y + m.ascent + 2},
                        dc->state.textColor, limit);
      gx += g.width;
    }
    y += m.height;
  }
  return result;
}
