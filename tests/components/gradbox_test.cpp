// Tests of the gradient box: its published properties and form files, repaint requests, the pixels it paints on a
// form and into a memory DC, and (on the emulation) the caption's text calls.
#include "components/GradBox.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "harness/Harness.h"
#include "harness/MemoryDc.h"
#include "vcl/Forms.h"
#include "vcl/Streaming.h"
#ifndef _WIN32
#include "winapi/emu/control.h"
#endif

namespace {

constexpr TColor kInstallerTop = 0x444444;
constexpr TColor kInstallerLast = 0x999999;

constexpr COLORREF Grey(unsigned level) { return level * 0x010101U; }

std::string Hex(COLORREF c) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%06X", static_cast<unsigned>(c));
  return buffer;
}

// The table the box must paint from, with system colours resolved the way the platform resolves them.
gradient::BandTable TableFor(TColor top, TColor last, TGradStyle style) {
  gradient::BandTable table{};
  gradient::BuildBandTable(table, static_cast<gradient::Color>(top), static_cast<gradient::Color>(last),
                           static_cast<gradient::Style>(style),
                           [](int index) -> gradient::Color { return GetSysColor(index); });
  return table;
}

// What the device shows for a table entry: entries 0 and 255 may be system colours, which the brush resolves.
COLORREF Shown(gradient::Color entry) { return ColorToRGB(static_cast<TColor>(entry)); }

// Draws over the whole box from its OnPaint, and notes what had been drawn before it ran.
class PaintWatcher : public TObject {
 public:
  int calls = 0;
  TColor fill = clNone;  // clNone: draw nothing
  std::size_t textCallsBefore = 0;

  void Paint(TObject* sender) {
    ++calls;
#ifndef _WIN32
    textCallsBefore = emu::TextCalls().size();
#endif
    if (fill == clNone) return;
    auto* box = static_cast<TGradBox*>(sender);
    box->Canvas()->Brush()->SetColor(fill);
    box->Canvas()->FillRect(RECT{0, 0, box->Width(), box->Height()});
  }
};

// A box painted straight into a DC, without a parent.
class PaintableBox : public TGradBox {
 public:
  using TGradBox::TGradBox;
  void PaintOn(HDC dc) {
    Canvas()->SetHandle(dc);
    try {
      Paint();
    } catch (...) {
      Canvas()->SetHandle(nullptr);
      throw;
    }
    Canvas()->SetHandle(nullptr);
  }
  void PaintUnbound() { Paint(); }
};

using th::MemoryDc;

// ---- Caption layers

TEST(GradBoxCaptionLayers, OffsetsByStyleAndDepth) {
  struct Case {
    TFontStyle3D style;
    int depth;
    std::vector<std::pair<int, int>> offsets;
  };
  const Case cases[] = {
      {fsLowShadow, 1, {{1, 1}}},
      {fsLowShadow, 4, {{4, 4}}},
      {fsLowShadow, 0, {{0, 0}}},
      {fsRaiseShadow, 3, {{-3, -3}}},
      {fsRaiseShadow, 0, {{0, 0}}},
      {fsLow3D, 3, {{1, 1}, {2, 2}, {3, 3}}},
      {fsLow3D, 0, {}},
      {fsRaise3D, 1, {{-1, -1}}},
      {fsRaise3D, 4, {{-1, -1}, {-2, -2}, {-3, -3}, {-4, -4}}},
      {fsRaise3D, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "style " << int{c.style} << " depth " << c.depth);
    std::vector<std::pair<int, int>> got;
    for (const POINT& p : CaptionLayers(c.style, c.depth)) got.emplace_back(p.x, p.y);
    EXPECT_EQ(got, c.offsets);
  }
  const std::vector<POINT> deepest = CaptionLayers(fsLow3D, 255);
  ASSERT_EQ(deepest.size(), 255U);
  EXPECT_EQ(deepest.back().x, 255);
  EXPECT_EQ(deepest.back().y, 255);
}

// ---- Construction, published properties and form files

TEST(GradBoxClass, StartValuesAndStyle) {
  th::Fresh();
  TGradBox box(nullptr);
  EXPECT_EQ(box.CaptionLeft(), 10);
  EXPECT_EQ(box.CaptionTop(), 10);
  EXPECT_EQ(box.TopColor(), clGreen);
  EXPECT_EQ(box.LastColor(), clLime);
  EXPECT_EQ(box.OutLineColor(), clBlack);
  EXPECT_FALSE(box.DrawOutLine());
  EXPECT_EQ(box.GradStyle(), gsTopBottom);
  EXPECT_FALSE(box.Font3D());
  EXPECT_EQ(box.FontDepth(), 1);
  EXPECT_EQ(box.Style3D(), fsRaise3D);
  EXPECT_EQ(box.BackFont(), clYellow);
  EXPECT_FALSE(static_cast<bool>(box.OnPaint));
  EXPECT_EQ(box.Width(), 200);
  EXPECT_EQ(box.Height(), 100);
  const unsigned base = TGraphicControl(nullptr).ControlStyle();
  EXPECT_EQ(box.ControlStyle(), base | csReplicatable);
  EXPECT_EQ(box.ControlStyle() & csOpaque, 0U);
}

TEST(GradBoxClass, PublishedInOrderAndCreatableByName) {
  // The base classes' own come first, in their order; the box's list follows them.
  std::vector<std::string> base, names;
  for (const PropInfo* p : TGraphicControl::StaticClass().AllProps()) base.push_back(p->name);
  for (const PropInfo* p : TGradBox::StaticClass().AllProps()) names.push_back(p->name);
  const std::vector<std::string> own = {
      "CaptionLeft", "CaptionTop", "TopColor",   "LastColor",  "OutLineColor",   "DrawOutLine", "GradStyle",
      "Font3D",      "FontDepth",  "Style3D",    "BackFont",   "Align",          "Caption",     "DragCursor",
      "DragMode",    "Enabled",    "Font",       "ParentFont", "ParentShowHint", "PopupMenu",   "ShowHint",
      "Visible",     "OnClick",    "OnDblClick", "OnDragDrop", "OnDragOver",     "OnEndDrag",   "OnMouseDown",
      "OnMouseMove", "OnMouseUp",  "OnPaint",    "OnStartDrag"};
  std::vector<std::string> expected = base;
  expected.insert(expected.end(), own.begin(), own.end());
  EXPECT_EQ(names, expected);
  std::vector<std::string> positional;
  for (const std::string& n : base)
    if (n == "Tag" || n == "Left" || n == "Top" || n == "Width" || n == "Height" || n == "Cursor" || n == "Hint")
      positional.push_back(n);
  EXPECT_EQ(positional, (std::vector<std::string>{"Tag", "Left", "Top", "Width", "Height", "Cursor", "Hint"}));
  EXPECT_EQ(TGradBox::StaticClass().FindProp("Color"), nullptr);
  EXPECT_EQ(TGradBox::StaticClass().FindProp("ParentColor"), nullptr);
  EXPECT_EQ(FindClass("TGradBox"), &TGradBox::StaticClass());
  EXPECT_EQ(FindClass("tgradbox"), &TGradBox::StaticClass());
}

class TBoxForm : public TForm {
  VCL_DECLARE_CLASS(TBoxForm)
 public:
  explicit TBoxForm(TComponent* owner) : TForm(owner) {}
  TGradBox* GradBox1 = nullptr;
  void GradBox1Paint(TObject*) {}
};

const TClassInfo& TBoxForm::StaticClass() {
  static const TClassInfo info{"TBoxForm",
                               &TForm::StaticClass(),
                               nullptr,
                               {},
                               {PublishedMethod<&TBoxForm::GradBox1Paint>("GradBox1Paint")},
                               {PublishedField<&TBoxForm::GradBox1>("GradBox1")}};
  return info;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    out.push_back(line);
  }
  return out;
}

// The lines of the named component's block, without its "object" and "end" lines.
std::vector<std::string> Section(const std::string& text, const std::string& header) {
  std::vector<std::string> lines = Lines(text);
  std::vector<std::string> out;
  std::size_t i = 0;
  while (i < lines.size() && lines[i] != header) ++i;
  const std::string end = header.substr(0, header.find("object")) + "end";
  for (++i; i < lines.size() && lines[i] != end; ++i) out.push_back(lines[i]);
  return out;
}

class GradBoxStreaming : public ::testing::Test {
 protected:
  void SetUp() override {
    th::Fresh();
    Application->CreateForm(form_);
    form_->SetName("BoxForm");
    box_ = new TGradBox(form_);
    box_->SetParent(form_);
    box_->SetName("GradBox1");
    box_->SetCaption("");
  }
  TBoxForm* form_ = nullptr;
  TGradBox* box_ = nullptr;
};

TEST_F(GradBoxStreaming, DefaultsLeaveOnlyTheTwoFlagsWithoutDefault) {
  const std::vector<std::string> expected = {
      "    Left = 0",      "    Top = 0", "    Width = 200", "    Height = 100", "    DrawOutLine = False",
      "    Font3D = False"};
  EXPECT_EQ(Section(WriteComponent(form_).ToString(), "  object GradBox1: TGradBox"), expected);
}

TEST_F(GradBoxStreaming, ChangedValuesAreWrittenInOrderAndReadBack) {
  box_->SetBounds(5, 6, 241, 121);
  box_->SetCaptionLeft(12);
  box_->SetCaptionTop(0);
  box_->SetTopColor(kInstallerTop);
  box_->SetLastColor(kInstallerLast);
  box_->SetOutLineColor(clNone);
  box_->SetDrawOutLine(true);
  box_->SetGradStyle(gsRightLeft);
  box_->SetFont3D(true);
  box_->SetFontDepth(0);
  box_->SetStyle3D(fsLowShadow);
  box_->SetBackFont(clRed);
  box_->SetCaption("Setup");
  box_->SetDragMode(dmAutomatic);
  box_->SetEnabled(false);
  box_->SetShowHint(true);
  box_->OnPaint = Bind<&TBoxForm::GradBox1Paint>(form_);
  const std::string text = WriteComponent(form_).ToString();
  const std::vector<std::string> expected = {"    Left = 5",
                                             "    Top = 6",
                                             "    Width = 241",
                                             "    Height = 121",
                                             "    CaptionLeft = 12",
                                             "    CaptionTop = 0",
                                             "    TopColor = 4473924",
                                             "    LastColor = 10066329",
                                             "    OutLineColor = clNone",
                                             "    DrawOutLine = True",
                                             "    GradStyle = gsRightLeft",
                                             "    Font3D = True",
                                             "    FontDepth = 0",
                                             "    Style3D = fsLowShadow",
                                             "    BackFont = clRed",
                                             "    Caption = 'Setup'",
                                             "    DragMode = dmAutomatic",
                                             "    Enabled = False",
                                             "    ParentShowHint = False",
                                             "    ShowHint = True",
                                             "    OnPaint = GradBox1Paint"};
  EXPECT_EQ(Section(text, "  object GradBox1: TGradBox"), expected);

  // Not owned by the application, which holds a form of the same name already.
  auto copy = std::make_unique<TBoxForm>(nullptr);
  ReadComponent(copy.get(), text);
  TGradBox* read = copy->GradBox1;
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->Parent(), copy.get());
  EXPECT_EQ(read->Owner(), copy.get());
  EXPECT_EQ(read->Left(), 5);
  EXPECT_EQ(read->Top(), 6);
  EXPECT_EQ(read->Width(), 241);
  EXPECT_EQ(read->Height(), 121);
  EXPECT_EQ(read->CaptionLeft(), 12);
  EXPECT_EQ(read->CaptionTop(), 0);
  EXPECT_EQ(read->TopColor(), kInstallerTop);
  EXPECT_EQ(read->LastColor(), kInstallerLast);
  EXPECT_EQ(read->OutLineColor(), clNone);
  EXPECT_TRUE(read->DrawOutLine());
  EXPECT_EQ(read->GradStyle(), gsRightLeft);
  EXPECT_TRUE(read->Font3D());
  EXPECT_EQ(read->FontDepth(), 0);
  EXPECT_EQ(read->Style3D(), fsLowShadow);
  EXPECT_EQ(read->BackFont(), clRed);
  EXPECT_EQ(read->Caption(), "Setup");
  EXPECT_FALSE(read->Enabled());
  EXPECT_EQ(read->OnPaint, Bind<&TBoxForm::GradBox1Paint>(copy.get()));
  EXPECT_EQ(Section(WriteComponent(copy.get()).ToString(), "  object GradBox1: TGradBox"), expected);
}

TEST_F(GradBoxStreaming, InstallerDeclarationReads) {
  auto copy = std::make_unique<TBoxForm>(nullptr);
  ReadComponent(copy.get(),
                "object BoxForm: TBoxForm\r\n"
                "  object GradBox1: TGradBox\r\n"
                "    Left = 0\r\n    Top = 0\r\n    Width = 241\r\n    Height = 121\r\n"
                "    TopColor = 4473924\r\n    LastColor = 10066329\r\n    OutLineColor = clNone\r\n"
                "    DrawOutLine = False\r\n    Font3D = False\r\n"
                "  end\r\n"
                "end\r\n");
  TGradBox* read = copy->GradBox1;
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->Width(), 241);
  EXPECT_EQ(read->Height(), 121);
  EXPECT_EQ(read->TopColor(), kInstallerTop);
  EXPECT_EQ(read->LastColor(), kInstallerLast);
  EXPECT_EQ(read->OutLineColor(), clNone);
  EXPECT_EQ(read->GradStyle(), gsTopBottom);
  EXPECT_EQ(read->CaptionLeft(), 10);
  EXPECT_EQ(read->Caption(), "");
}

// ---- On a form: pixels and repaint requests

class GradBoxOnForm : public ::testing::Test {
 protected:
  void SetUp() override {
    th::Fresh();
    Application->CreateForm(form_);
    form_->SetClientWidth(320);
    form_->SetClientHeight(280);
    box_ = new TGradBox(form_);
    box_->SetParent(form_);
    box_->SetCaption("");
    box_->OnPaint = Bind<&PaintWatcher::Paint>(&watcher_);
  }

  void Installer() {
    box_->SetBounds(0, 0, 241, 121);
    box_->SetTopColor(kInstallerTop);
    box_->SetLastColor(kInstallerLast);
    box_->SetOutLineColor(clNone);
  }

  void Show() {
    form_->Show();
    th::Pump();
  }

  COLORREF At(int x, int y) const { return th::Pixel(form_, box_->Left() + x, box_->Top() + y); }
  COLORREF Background() const { return th::Pixel(form_, 315, 275); }

  // The first pixel of the box that differs from the band that must show there, or "".
  std::string BandMismatch(int x0, int x1, int y0, int y1) const {
    const gradient::BandTable table = TableFor(box_->TopColor(), box_->LastColor(), box_->GradStyle());
    const bool rows = gradient::StacksRows(static_cast<gradient::Style>(box_->GradStyle()));
    const int size = rows ? box_->Height() : box_->Width();
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) {
        const int band = gradient::RowBand(rows ? y : x, size);
        const COLORREF expected = Shown(table[static_cast<std::size_t>(band)]);
        const COLORREF got = At(x, y);
        if (got != expected)
          return "(" + std::to_string(x) + "," + std::to_string(y) + ") band " + std::to_string(band) + ": " +
                 Hex(got) + " instead of " + Hex(expected);
      }
    }
    return "";
  }
  std::string BandMismatch() const { return BandMismatch(0, box_->Width(), 0, box_->Height()); }

  bool RepaintRequested(RECT* where = nullptr) const {
    RECT r{};
    const bool pending = GetUpdateRect(form_->Handle(), &r, FALSE) != 0;
    if (where) *where = r;
    return pending;
  }

  TForm* form_ = nullptr;
  TGradBox* box_ = nullptr;
  PaintWatcher watcher_;
};

TEST_F(GradBoxOnForm, InstallerBoxPixelByPixel) {
  Installer();
  Show();
  ASSERT_GE(watcher_.calls, 1);
  const COLORREF rows[] = {0x454545, 0x454545, 0x464646, 0x474747, 0x474747,
                           0x484848, 0x494949, 0x494949, 0x4A4A4A, 0x4B4B4B};
  for (int y = 0; y < 10; ++y) {
    for (int x : {0, 1, 120, 239, 240}) EXPECT_EQ(Hex(At(x, y)), Hex(rows[y])) << "row " << y << " column " << x;
  }
  for (int x : {0, 120, 240}) EXPECT_EQ(Hex(At(x, 120)), Hex(0x999999)) << "bottom row, column " << x;
  EXPECT_EQ(BandMismatch(), "");
  // Nothing outside the box.
  const COLORREF background = Background();
  for (int x : {0, 120, 240}) EXPECT_EQ(Hex(At(x, 121)), Hex(background));
  for (int y : {0, 60, 120}) EXPECT_EQ(Hex(At(241, y)), Hex(background));
}

struct BandCase {
  const char* name;
  TGradStyle style;
  int width, height;
  TColor top, last;
  std::vector<std::pair<POINT, COLORREF>> probes;  // box coordinates and the colour that must show there
};

TEST_F(GradBoxOnForm, BandsBySizeStyleAndColours) {
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
  // clang-format off
  const BandCase cases[] = {
      {"bottom to top, 255 high", gsBottomTop, 40, 255, kInstallerTop, kInstallerLast,
       {{{0, 0}, 0x989898}, {{5, 2}, 0x989898}, {{39, 227}, 0x4C4C4C}, {{0, 254}, 0x444444}}},
      {"top to bottom, 1 high", gsTopBottom, 50, 1, kInstallerTop, kInstallerLast,
       {{{0, 0}, 0x999999}, {{49, 0}, 0x999999}}},
      {"bottom to top, 1 high", gsBottomTop, 50, 1, kInstallerTop, kInstallerLast,
       {{{0, 0}, 0x444444}, {{49, 0}, 0x444444}}},
      {"left to right, 1 wide", gsLeftRight, 1, 30, kInstallerTop, kInstallerLast,
       {{{0, 0}, 0x999999}, {{0, 29}, 0x999999}}},
      {"right to left, 1 wide", gsRightLeft, 1, 30, kInstallerTop, kInstallerLast,
       {{{0, 0}, 0x444444}, {{0, 29}, 0x444444}}},
      {"top to bottom, 255 high", gsTopBottom, 30, 255, clBlack, clWhite,
       {{{0, 0}, Grey(1)}, {{29, 99}, Grey(100)}, {{3, 253}, Grey(254)}, {{0, 254}, 0xFFFFFF}}},
      {"left to right, 255 wide", gsLeftRight, 255, 20, clBlack, clWhite,
       {{{0, 0}, Grey(1)}, {{99, 19}, Grey(100)}, {{253, 7}, Grey(254)}, {{254, 0}, 0xFFFFFF}}},
      {"right to left, 255 wide", gsRightLeft, 255, 20, clBlack, clWhite,
       {{{0, 0}, Grey(254)}, {{254, 0}, 0x000000}, {{254, 19}, 0x000000}}},
      {"right to left, 241 wide", gsRightLeft, 241, 20, kInstallerTop, kInstallerLast,
       {{{240, 10}, 0x444444}}},
      {"equal colours", gsTopBottom, 100, 100, 0x336699, 0x336699,
       {{{0, 0}, 0x336699}, {{50, 50}, 0x336699}, {{99, 99}, 0x336699}}},
      {"equal system colours", gsLeftRight, 100, 100, clBtnShadow, clBtnShadow,
       {{{0, 0}, shadow}, {{50, 50}, shadow}, {{99, 99}, shadow}}},
      {"system colours", gsTopBottom, 60, 255, clBtnShadow, clBtnHighlight,
       {{{0, 254}, highlight}}},
  };
  // clang-format on
  Show();
  for (const BandCase& c : cases) {
    SCOPED_TRACE(c.name);
    box_->SetBounds(10, 10, c.width, c.height);
    box_->SetGradStyle(c.style);
    box_->SetTopColor(c.top);
    box_->SetLastColor(c.last);
    th::Pump();
    for (const auto& [p, colour] : c.probes) EXPECT_EQ(Hex(At(p.x, p.y)), Hex(colour)) << p.x << "," << p.y;
    // Along the stacking direction, every row or column; across it, both edges.
    if (gradient::StacksRows(static_cast<gradient::Style>(c.style))) {
      EXPECT_EQ(BandMismatch(0, 1, 0, c.height), "");
      EXPECT_EQ(BandMismatch(c.width - 1, c.width, 0, c.height), "");
    } else {
      EXPECT_EQ(BandMismatch(0, c.width, 0, 1), "");
      EXPECT_EQ(BandMismatch(0, c.width, c.height - 1, c.height), "");
    }
    const COLORREF background = Background();
    EXPECT_EQ(Hex(At(c.width, 0)), Hex(background));
    EXPECT_EQ(Hex(At(0, c.height)), Hex(background));
  }
}

TEST_F(GradBoxOnForm, Height255ShowsOneEntryPerRow) {
  box_->SetBounds(0, 0, 12, 255);
  box_->SetTopColor(0x102030);
  box_->SetLastColor(0xF0E0D0);
  Show();
  const gradient::BandTable table = TableFor(0x102030, 0xF0E0D0, gsTopBottom);
  for (int y = 0; y < 255; ++y) EXPECT_EQ(Hex(At(6, y)), Hex(Shown(table[static_cast<std::size_t>(y + 1)]))) << y;
}

TEST_F(GradBoxOnForm, EmptySizesPaintNothing) {
  Show();
  const COLORREF background = Background();
  for (auto [w, h] : {std::pair{0, 50}, std::pair{50, 0}, std::pair{0, 0}}) {
    box_->SetBounds(20, 20, w, h);
    for (TGradStyle style : {gsTopBottom, gsLeftRight}) {
      box_->SetGradStyle(style);
      th::Pump();
      for (int x : {0, 1, 25, 49})
        for (int y : {0, 1, 25, 49}) EXPECT_EQ(Hex(At(x, y)), Hex(background)) << w << "x" << h << " " << x << "," << y;
    }
  }
}

TEST_F(GradBoxOnForm, NoStyleLeavesTheBackgroundAndSwitchingBackUsesCurrentColours) {
  Installer();
  box_->SetGradStyle(gsNone);
  box_->SetOutLineColor(clBlack);
  box_->SetDrawOutLine(true);
  Show();
  const COLORREF background = Background();
  EXPECT_EQ(Hex(At(60, 60)), Hex(background));
  EXPECT_EQ(Hex(At(1, 1)), Hex(background));
  EXPECT_EQ(Hex(At(0, 60)), Hex(0x000000)) << "the outline still shows";
  box_->SetTopColor(0x000000);
  box_->SetLastColor(0xFFFFFF);
  th::Pump();
  EXPECT_EQ(Hex(At(60, 60)), Hex(background));
  box_->SetGradStyle(gsTopBottom);
  th::Pump();
  EXPECT_EQ(BandMismatch(1, 240, 1, 120), "");
  EXPECT_EQ(Hex(At(5, 1)), Hex(Grey(5))) << "row 1 shows entry 5 of the new table";
}

TEST_F(GradBoxOnForm, OutlineIsAOnePixelFrameOverTheBands) {
  Installer();
  box_->SetOutLineColor(clBlack);
  box_->SetDrawOutLine(true);
  Show();
  for (int x = 0; x < 241; ++x) {
    EXPECT_EQ(Hex(At(x, 0)), Hex(0)) << x;
    EXPECT_EQ(Hex(At(x, 120)), Hex(0)) << x;
  }
  for (int y = 0; y < 121; ++y) {
    EXPECT_EQ(Hex(At(0, y)), Hex(0)) << y;
    EXPECT_EQ(Hex(At(240, y)), Hex(0)) << y;
  }
  EXPECT_EQ(BandMismatch(1, 240, 1, 120), "");
}

TEST_F(GradBoxOnForm, OutlineColourStoredQuietlyShowsWithTheOutline) {
  Installer();
  Show();
  box_->SetOutLineColor(clRed);
  EXPECT_FALSE(RepaintRequested());
  box_->SetDrawOutLine(true);
  th::Pump();
  EXPECT_EQ(Hex(At(0, 0)), Hex(0x0000FF));
  EXPECT_EQ(Hex(At(240, 120)), Hex(0x0000FF));
}

TEST_F(GradBoxOnForm, DesignStateDrawsADashedFrameWhateverDrawOutLineSays) {
  Installer();
  box_->SetOutLineColor(clRed);
  box_->SetDesigning(true);
  Show();
  int red = 0, other = 0;
  for (int x = 0; x < 241; ++x) (At(x, 0) == 0x0000FF ? red : other)++;
  EXPECT_GT(red, 0);
  EXPECT_GT(other, 0) << "a solid frame";
  EXPECT_EQ(Hex(At(120, 1)), Hex(0x454545)) << "one pixel wide";
}

TEST_F(GradBoxOnForm, OnPaintRunsLastAndDrawsOverEverything) {
  Installer();
  box_->SetDrawOutLine(true);
  box_->SetOutLineColor(clBlack);
  box_->SetCaption("WWWW WWWW");
  box_->Font()->SetColor(clWhite);
  watcher_.fill = clBlue;
  Show();
  for (int y : {0, 10, 12, 15, 60, 120})
    for (int x : {0, 10, 12, 20, 60, 240}) EXPECT_EQ(Hex(At(x, y)), Hex(0xFF0000)) << x << "," << y;
}

TEST_F(GradBoxOnForm, CaptionIsClippedAtTheBox) {
  box_->SetBounds(50, 20, 100, 60);
  box_->SetCaption("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
  box_->Font()->SetColor(clWhite);
  Show();
  const COLORREF background = Background();
  for (int x = 100; x < 160; x += 3)
    for (int y = 0; y < 40; y += 2) EXPECT_EQ(Hex(At(x, y)), Hex(background)) << x << "," << y;
}

struct WriterCase {
  const char* name;
  std::function<void(TGradBox*)> before;  // run before the box is shown
  std::function<void(TGradBox*)> change;
  bool repaints;
};

TEST_F(GradBoxOnForm, WritersRepaintOnlyWhatCanShow) {
  auto none = [](TGradBox*) {};
  auto font3D = [](TGradBox* b) { b->SetFont3D(true); };
  auto outline = [](TGradBox* b) { b->SetDrawOutLine(true); };
  const WriterCase cases[] = {
      {"TopColor same", none, [](TGradBox* b) { b->SetTopColor(kInstallerTop); }, false},
      {"TopColor", none, [](TGradBox* b) { b->SetTopColor(clRed); }, true},
      {"LastColor same", none, [](TGradBox* b) { b->SetLastColor(kInstallerLast); }, false},
      {"LastColor", none, [](TGradBox* b) { b->SetLastColor(clRed); }, true},
      {"GradStyle same", none, [](TGradBox* b) { b->SetGradStyle(gsTopBottom); }, false},
      {"GradStyle", none, [](TGradBox* b) { b->SetGradStyle(gsNone); }, true},
      {"CaptionLeft same", none, [](TGradBox* b) { b->SetCaptionLeft(10); }, false},
      {"CaptionLeft", none, [](TGradBox* b) { b->SetCaptionLeft(11); }, true},
      {"CaptionTop same", none, [](TGradBox* b) { b->SetCaptionTop(10); }, false},
      {"CaptionTop", none, [](TGradBox* b) { b->SetCaptionTop(-1); }, true},
      {"DrawOutLine same", none, [](TGradBox* b) { b->SetDrawOutLine(false); }, false},
      {"DrawOutLine", none, [](TGradBox* b) { b->SetDrawOutLine(true); }, true},
      {"DrawOutLine off", outline, [](TGradBox* b) { b->SetDrawOutLine(false); }, true},
      {"Font3D same", none, [](TGradBox* b) { b->SetFont3D(false); }, false},
      {"Font3D", none, [](TGradBox* b) { b->SetFont3D(true); }, true},
      {"Style3D same", none, [](TGradBox* b) { b->SetStyle3D(fsRaise3D); }, false},
      {"Style3D without Font3D", none, [](TGradBox* b) { b->SetStyle3D(fsLow3D); }, true},
      {"Style3D with Font3D", font3D, [](TGradBox* b) { b->SetStyle3D(fsLowShadow); }, true},
      {"OutLineColor without outline", none, [](TGradBox* b) { b->SetOutLineColor(clBlack); }, false},
      {"OutLineColor with outline", outline, [](TGradBox* b) { b->SetOutLineColor(clBlack); }, true},
      {"OutLineColor same with outline", outline, [](TGradBox* b) { b->SetOutLineColor(clNone); }, false},
      {"BackFont without Font3D", none, [](TGradBox* b) { b->SetBackFont(clRed); }, false},
      {"BackFont with Font3D", font3D, [](TGradBox* b) { b->SetBackFont(clRed); }, true},
      {"BackFont same with Font3D", font3D, [](TGradBox* b) { b->SetBackFont(clYellow); }, false},
      {"FontDepth without Font3D", none, [](TGradBox* b) { b->SetFontDepth(3); }, false},
      {"FontDepth with Font3D", font3D, [](TGradBox* b) { b->SetFontDepth(3); }, true},
      {"FontDepth same with Font3D", font3D, [](TGradBox* b) { b->SetFontDepth(1); }, false},
      {"Caption same", [](TGradBox* b) { b->SetCaption("Text"); }, [](TGradBox* b) { b->SetCaption("Text"); }, false},
      {"Caption", [](TGradBox* b) { b->SetCaption("Text"); }, [](TGradBox* b) { b->SetCaption("Other"); }, true},
      {"Caption emptied", [](TGradBox* b) { b->SetCaption("Text"); }, [](TGradBox* b) { b->SetCaption(""); }, true},
      {"Enabled", none, [](TGradBox* b) { b->SetEnabled(false); }, true},
      {"Font colour", none, [](TGradBox* b) { b->Font()->SetColor(clRed); }, true},
  };
  for (const WriterCase& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    Installer();
    box_->SetBounds(30, 40, 100, 50);
    c.before(box_);
    Show();
    ASSERT_FALSE(RepaintRequested());
    const int paints = watcher_.calls;
    c.change(box_);
    RECT where{};
    EXPECT_EQ(RepaintRequested(&where), c.repaints);
    if (c.repaints) {
      EXPECT_EQ(where.left, 30);
      EXPECT_EQ(where.top, 40);
      EXPECT_EQ(where.right, 130);
      EXPECT_EQ(where.bottom, 90);
    }
    th::Pump();
    EXPECT_EQ(watcher_.calls > paints, c.repaints);
  }
}

// ---- Painting straight into a DC

TEST(GradBoxPaint, EmptySizesRunThePaintWithoutDrawing) {
  th::Fresh();
  PaintWatcher watcher;
  for (auto [w, h] : {std::pair{0, 30}, std::pair{30, 0}}) {
    for (TGradStyle style : {gsTopBottom, gsBottomTop, gsLeftRight, gsRightLeft}) {
      MemoryDc target(40, 40, 0x123456);
      PaintableBox box(nullptr);
      box.SetBounds(0, 0, w, h);
      box.SetGradStyle(style);
      box.SetDrawOutLine(false);
      box.OnPaint = Bind<&PaintWatcher::Paint>(&watcher);
      const int before = watcher.calls;
      // Clipped to the box, as its parent's paint clips it.
      const int saved = SaveDC(target.dc());
      IntersectClipRect(target.dc(), 0, 0, w, h);
      box.PaintOn(target.dc());
      RestoreDC(target.dc(), saved);
      EXPECT_EQ(watcher.calls, before + 1);
      for (int x : {0, 1, 20, 39})
        for (int y : {0, 1, 20, 39}) EXPECT_EQ(Hex(target.At(x, y)), Hex(0x123456)) << x << "," << y;
    }
  }
}

TEST(GradBoxPaint, AFailingDrawLeavesThePaintBeforeOnPaint) {
  th::Fresh();
  PaintWatcher watcher;
  PaintableBox box(nullptr);
  box.SetGradStyle(gsNone);
  box.SetCaption("Text");
  box.OnPaint = Bind<&PaintWatcher::Paint>(&watcher);
  // No DC and no parent to get one from: the caption's first draw raises.
  EXPECT_THROW(box.PaintUnbound(), EInvalidOperation);
  EXPECT_EQ(watcher.calls, 0);
}

TEST(GradBoxPaint, ResolvesSystemColoursIntoTheTable) {
  th::Fresh();
  MemoryDc target(20, 255, 0x123456);
  PaintableBox box(nullptr);
  box.SetBounds(0, 0, 20, 255);
  box.SetTopColor(clBtnFace);
  box.SetLastColor(clWindowText);
  box.PaintOn(target.dc());
  const gradient::BandTable table = TableFor(clBtnFace, clWindowText, gsTopBottom);
  for (int y = 0; y < 255; ++y) EXPECT_EQ(Hex(target.At(10, y)), Hex(Shown(table[static_cast<std::size_t>(y + 1)])));
  EXPECT_EQ(Hex(target.At(0, 254)), Hex(GetSysColor(COLOR_WINDOWTEXT)));
}

#ifndef _WIN32
// ---- The caption's text calls on the emulation

struct Draw {
  int dx, dy;
  COLORREF color;
  bool operator==(const Draw&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Draw& d) {
  return out << "(" << d.dx << "," << d.dy << " " << Hex(d.color) << ")";
}

class GradBoxCaptionEmu : public GradBoxOnForm {
 protected:
  void SetUp() override {
    GradBoxOnForm::SetUp();
    box_->SetBounds(30, 20, 150, 80);
    box_->SetCaption("Gradient\tbox");
    box_->Font()->SetColor(clBlue);
    box_->SetBackFont(clRed);
    Show();
  }

  // The caption's draws of one paint, as offsets from the caption rectangle, checking what every draw shares.
  std::vector<Draw> Draws() {
    emu::ClearTextCalls();
    box_->Invalidate();
    th::Pump();
    std::vector<Draw> out;
    const RECT base{box_->CaptionLeft(), box_->CaptionTop(), box_->Left() + box_->Width(),
                    box_->Top() + box_->Height()};
    for (const emu::TextCall& call : emu::TextCalls()) {
      EXPECT_EQ(call.window, form_->Handle());
      EXPECT_EQ(call.text, box_->Caption().ToString());
      EXPECT_EQ(call.format, static_cast<UINT>(DT_EXPANDTABS | DT_WORDBREAK));
      EXPECT_EQ(call.bkMode, TRANSPARENT);
      EXPECT_EQ(call.rect.right - call.rect.left, base.right - base.left);
      EXPECT_EQ(call.rect.bottom - call.rect.top, base.bottom - base.top);
      out.push_back(Draw{call.rect.left - base.left, call.rect.top - base.top, call.textColor});
    }
    return out;
  }
};

TEST_F(GradBoxCaptionEmu, PlainCaptionOnceInTheFontColour) {
  EXPECT_EQ(Draws(), (std::vector<Draw>{{0, 0, 0xFF0000}}));
  box_->SetBackFont(clLime);
  box_->SetStyle3D(fsLowShadow);
  EXPECT_EQ(Draws(), (std::vector<Draw>{{0, 0, 0xFF0000}})) << "no effect without Font3D";
}

TEST_F(GradBoxCaptionEmu, EffectsDrawTheirLayersThenTheText) {
  struct Case {
    TFontStyle3D style;
    std::uint8_t depth;
    std::vector<Draw> draws;
  };
  constexpr COLORREF back = 0x0000FF, text = 0xFF0000;
  const Case cases[] = {
      {fsLowShadow, 1, {{1, 1, back}, {0, 0, text}}},
      {fsLowShadow, 3, {{3, 3, back}, {0, 0, text}}},
      {fsLowShadow, 0, {{0, 0, back}, {0, 0, text}}},
      {fsRaiseShadow, 2, {{-2, -2, back}, {0, 0, text}}},
      {fsRaiseShadow, 0, {{0, 0, back}, {0, 0, text}}},
      {fsLow3D, 3, {{1, 1, back}, {2, 2, back}, {3, 3, back}, {0, 0, text}}},
      {fsLow3D, 0, {{0, 0, text}}},
      {fsRaise3D, 1, {{-1, -1, back}, {0, 0, text}}},
      {fsRaise3D, 2, {{-1, -1, back}, {-2, -2, back}, {0, 0, text}}},
      {fsRaise3D, 0, {{0, 0, text}}},
  };
  box_->SetFont3D(true);
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "style " << int{c.style} << " depth " << int{c.depth});
    box_->SetStyle3D(c.style);
    box_->SetFontDepth(c.depth);
    EXPECT_EQ(Draws(), c.draws);
  }
}

TEST_F(GradBoxCaptionEmu, DeepestLow3D) {
  box_->SetFont3D(true);
  box_->SetStyle3D(fsLow3D);
  box_->SetFontDepth(255);
  const std::vector<Draw> draws = Draws();
  ASSERT_EQ(draws.size(), 256U);
  for (int i = 0; i < 255; ++i) EXPECT_EQ(draws[static_cast<std::size_t>(i)], (Draw{i + 1, i + 1, 0x0000FF}));
  EXPECT_EQ(draws.back(), (Draw{0, 0, 0xFF0000}));
}

TEST_F(GradBoxCaptionEmu, DisabledLookWithOrWithoutEffect) {
  const std::vector<Draw> disabled = {{1, 1, 0xFFFFFF}, {0, 0, 0x808080}};
  box_->SetEnabled(false);
  EXPECT_EQ(Draws(), disabled);
  box_->SetFont3D(true);
  box_->SetStyle3D(fsLow3D);
  box_->SetFontDepth(4);
  EXPECT_EQ(Draws(), disabled);
  box_->SetEnabled(true);
  EXPECT_EQ(Draws().size(), 5U);
}

TEST_F(GradBoxCaptionEmu, RectangleReachesLeftPlusWidthAndIsClippedAtTheBox) {
  box_->SetBounds(50, 20, 100, 60);
  box_->SetCaptionLeft(10);
  box_->SetCaptionTop(10);
  emu::ClearTextCalls();
  box_->Invalidate();
  th::Pump();
  ASSERT_EQ(emu::TextCalls().size(), 1U);
  const emu::TextCall& call = emu::TextCalls()[0];
  EXPECT_EQ(call.rect.left, 10);
  EXPECT_EQ(call.rect.top, 10);
  EXPECT_EQ(call.rect.right, 150);
  EXPECT_EQ(call.rect.bottom, 80);
  EXPECT_EQ(call.clip.left - call.origin.x, 0);
  EXPECT_EQ(call.clip.top - call.origin.y, 0);
  EXPECT_EQ(call.clip.right - call.origin.x, 100);
  EXPECT_EQ(call.clip.bottom - call.origin.y, 60);
}

TEST_F(GradBoxCaptionEmu, WrapsAtLeftPlusWidth) {
  // 13 wide letters, a blank and three more (6 pixels each): 102 pixels, too wide for the box but not for the
  // rectangle, so the line stays whole and its end is clipped.
  box_->SetBounds(50, 20, 100, 60);
  box_->SetCaption("AAAAAAAAAAAAA BBB");
  box_->Font()->SetColor(clWhite);
  th::Pump();
  const int firstInk = 10 + 3, secondInk = 10 + 12 + 3;
  EXPECT_EQ(Hex(At(97, firstInk)), Hex(0xFFFFFF)) << "the first B, up to the box's edge";
  EXPECT_NE(Hex(At(12, secondInk + 1)), Hex(0xFFFFFF)) << "nothing wrapped to a second line";
  EXPECT_EQ(Hex(th::Pixel(form_, 50 + 102, 20 + firstInk)), Hex(Background()));
}

TEST_F(GradBoxCaptionEmu, OutlineUnderTheCaptionAndOnPaintAfterIt) {
  box_->SetDrawOutLine(true);
  box_->SetOutLineColor(clBlack);
  box_->SetCaptionLeft(-1);
  box_->SetCaptionTop(-3);
  box_->SetCaption("W");
  box_->Font()->SetColor(clWhite);
  box_->SetFont3D(true);
  box_->SetStyle3D(fsLowShadow);
  emu::ClearTextCalls();
  th::Pump();
  EXPECT_EQ(Hex(At(0, 0)), Hex(0xFFFFFF)) << "the caption covers the outline";
  EXPECT_EQ(Hex(At(0, 40)), Hex(0x000000));
  EXPECT_EQ(watcher_.textCallsBefore, 2U) << "OnPaint ran after both caption draws";
  EXPECT_EQ(emu::TextCalls().size(), 2U);
}

TEST_F(GradBoxCaptionEmu, EmptyCaptionDrawsNoInk) {
  box_->SetCaption("");
  box_->SetBounds(0, 0, 241, 121);
  box_->SetTopColor(kInstallerTop);
  box_->SetLastColor(kInstallerLast);
  box_->SetFont3D(true);
  box_->SetStyle3D(fsLowShadow);
  th::Pump();
  EXPECT_EQ(Draws().size(), 2U);
  for (const emu::TextCall& call : emu::TextCalls()) EXPECT_EQ(call.text, "");
  EXPECT_EQ(BandMismatch(), "");
}
#endif

}  // namespace

#ifndef _WIN32
// A user changing a system colour: the next paint follows it without anything told to the box.
TEST_F(GradBoxOnForm, SystemColoursFollowTheCurrentSettingAtEachPaintEmu) {
  box_->SetBounds(0, 0, 100, 255);
  box_->SetTopColor(clBtnShadow);
  box_->SetLastColor(clBtnHighlight);
  Show();
  EXPECT_EQ(Hex(At(50, 0)), Hex(GetSysColor(COLOR_BTNSHADOW))) << "row 0 shows entry 1, one step from the start";
  EXPECT_EQ(Hex(At(50, 254)), Hex(GetSysColor(COLOR_BTNHIGHLIGHT)));
  emu::SetSysColor(COLOR_BTNSHADOW, RGB(0, 0, 0));
  emu::SetSysColor(COLOR_BTNHIGHLIGHT, RGB(0, 0, 255));
  box_->Invalidate();
  th::Pump();
  EXPECT_EQ(Hex(At(50, 254)), Hex(RGB(0, 0, 255)));
  EXPECT_EQ(BandMismatch(), "") << "the whole table is rebuilt from the new setting";
}
#endif
