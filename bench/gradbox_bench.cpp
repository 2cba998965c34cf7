// Times one paint of the installer's gradient box into a memory DC and counts the GDI calls a paint makes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "components/GradBox.h"
#include "harness/MemoryDc.h"
#include "winapi/emu/control.h"

namespace {

std::map<std::string, long>& Calls() {
  static std::map<std::string, long> calls;
  return calls;
}

}  // namespace

// Link-time wrappers (see bench/CMakeLists.txt): count, then call the emulation's own function.
#define COUNTED(Result, name, mangled, params, args) \
  extern "C" Result __real_##mangled params;         \
  extern "C" Result __wrap_##mangled params {        \
    ++Calls()[#name];                                \
    return __real_##mangled args;                    \
  }

COUNTED(int, FillRect, _Z8FillRectP5HDC__PK4RECTP8HBRUSH__, (HDC dc, const RECT* r, HBRUSH b), (dc, r, b))
COUNTED(HGDIOBJ, SelectObject, _Z12SelectObjectP5HDC__Pv, (HDC dc, HGDIOBJ o), (dc, o))
COUNTED(HBRUSH, CreateSolidBrush, _Z16CreateSolidBrushj, (COLORREF c), (c))
COUNTED(HPEN, CreatePen, _Z9CreatePeniij, (int s, int w, COLORREF c), (s, w, c))
COUNTED(HFONT, CreateFontIndirectA, _Z19CreateFontIndirectAPK8LOGFONTA, (const LOGFONTA* lf), (lf))
COUNTED(BOOL, DeleteObject, _Z12DeleteObjectPv, (HGDIOBJ o), (o))
COUNTED(HGDIOBJ, GetStockObject, _Z14GetStockObjecti, (int i), (i))
COUNTED(COLORREF, SetBkColor, _Z10SetBkColorP5HDC__j, (HDC dc, COLORREF c), (dc, c))
COUNTED(int, SetBkMode, _Z9SetBkModeP5HDC__i, (HDC dc, int m), (dc, m))
COUNTED(COLORREF, SetTextColor, _Z12SetTextColorP5HDC__j, (HDC dc, COLORREF c), (dc, c))
COUNTED(BOOL, Rectangle, _Z9RectangleP5HDC__iiii, (HDC dc, int l, int t, int r, int b), (dc, l, t, r, b))
COUNTED(int, DrawTextA, _Z9DrawTextAP5HDC__PKciP4RECTj, (HDC dc, LPCSTR s, int n, LPRECT r, UINT f), (dc, s, n, r, f))
COUNTED(DWORD, GetSysColor, _Z11GetSysColori, (int i), (i))
COUNTED(BOOL, OffsetRect, _Z10OffsetRectP4RECTii, (LPRECT r, int dx, int dy), (r, dx, dy))

namespace {

class PaintableBox : public TGradBox {
 public:
  using TGradBox::TGradBox;
  void PaintOn(HDC dc) {
    Canvas()->SetHandle(dc);
    Paint();
    Canvas()->SetHandle(nullptr);
  }
};

using th::MemoryDc;

void Installer(TGradBox& box) {
  box.SetBounds(0, 0, 241, 121);
  box.SetTopColor(0x444444);
  box.SetLastColor(0x999999);
  box.SetOutLineColor(clNone);
}

// The calls of one paint after a first one: what every repaint of a live window costs.
std::map<std::string, long> CountOnePaint(PaintableBox& box, HDC dc) {
  box.PaintOn(dc);
  Calls().clear();
  box.PaintOn(dc);
  return Calls();
}

void Report(benchmark::State& state, const std::map<std::string, long>& calls) {
  long total = 0;
  for (const auto& [name, count] : calls) {
    state.counters[name] = static_cast<double>(count);
    total += count;
  }
  state.counters["calls"] = static_cast<double>(total);
}

void InstallerBoxPaint(benchmark::State& state) {
  emu::Reset();
  MemoryDc target(241, 121);
  PaintableBox box(nullptr);
  Installer(box);
  Report(state, CountOnePaint(box, target.dc()));
  for (auto _ : state) box.PaintOn(target.dc());
}
BENCHMARK(InstallerBoxPaint);

void InstallerBoxWithLow3DCaption(benchmark::State& state) {
  emu::Reset();
  MemoryDc target(241, 121);
  PaintableBox box(nullptr);
  Installer(box);
  box.SetCaption("Setup");
  box.SetFont3D(true);
  box.SetStyle3D(fsLow3D);
  box.SetFontDepth(3);
  Report(state, CountOnePaint(box, target.dc()));
  for (auto _ : state) box.PaintOn(target.dc());
}
BENCHMARK(InstallerBoxWithLow3DCaption);

// Exactly 256 fills for every gradient style and size, none for gsNone; prints the counts of the installer box.
int CheckCalls() {
  emu::Reset();
  int failures = 0;
  MemoryDc target(300, 300);
  for (TGradStyle style : {gsTopBottom, gsBottomTop, gsLeftRight, gsRightLeft, gsNone}) {
    for (int size : {0, 1, 2, 121, 254, 255, 256, 1000}) {
      PaintableBox box(nullptr);
      box.SetGradStyle(style);
      box.SetBounds(0, 0, size, size);
      const long fills = CountOnePaint(box, target.dc())["FillRect"];
      const long expected = style == gsNone ? 0 : 256;
      if (fills != expected) {
        std::printf("style %d, size %d: %ld fills instead of %ld\n", int{style}, size, fills, expected);
        ++failures;
      }
    }
  }
  PaintableBox box(nullptr);
  Installer(box);
  long total = 0;
  for (const auto& [name, count] : CountOnePaint(box, target.dc())) {
    std::printf("%-20s %ld\n", name.c_str(), count);
    total += count;
  }
  std::printf("%-20s %ld\n", "total", total);
  return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--check-calls") == 0) return CheckCalls();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
