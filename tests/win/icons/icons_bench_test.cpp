// Measurements of the icon customizer under Wine, run by bench/icons.sh (disabled in the
// normal test run; nothing here asserts a time). Prints:
//  - the start-up cost of filling the shell-icon and drive grids, without and with overrides;
//  - the load of the file types with 5,000 extensions in the registry, and the time of a full
//    repaint of the grid and of scrolling it afterwards.
#include "icons_fixture.h"

#include <algorithm>
#include <cstdio>

#include "icons/icon_location.h"

namespace zel::test {
namespace {

double Now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return double(c.QuadPart) / double(f.QuadPart);
}

template <typename F>
double MedianMs(int runs, F&& f) {
  std::vector<double> t;
  for (int i = 0; i < runs; ++i) {
    double t0 = Now();
    f();
    t.push_back((Now() - t0) * 1000);
  }
  std::sort(t.begin(), t.end());
  return t[t.size() / 2];
}

class IconsBench : public IconsFrame {};

TEST_F(IconsBench, DISABLED_StartUpGrids) {
  ScopedRegistryKey shell{HKEY_LOCAL_MACHINE, icons::kShellIconsKey};
  auto& f = StartFrame();
  auto& p = f.icons;
  double empty = MedianMs(7, [&] {
    p.ReadShell32();
    p.ReadDriveICO();
  });
  for (int i = 0; i < icons::kShellIconSlots; ++i)
    WriteLMString(icons::kShellIconsKey, std::to_string(i), "C:\\Windows\\System32\\shell32.dll," + std::to_string(i));
  double shellFull = MedianMs(7, [&] { p.ReadShell32(); });
  double drives = MedianMs(7, [&] { p.ReadDriveICO(); });
  std::printf("BENCH start-up grids, no overrides: ReadShell32 + ReadDriveICO %.1f ms\n", empty);
  std::printf("BENCH start-up grids, 306 overrides: ReadShell32 %.1f ms, ReadDriveICO %.1f ms\n", shellFull, drives);
}

TEST_F(IconsBench, DISABLED_LoadFileTypes5000) {
  const int kExtensions = 5000, kTypes = 250;
  double t0 = Now();
  for (int i = 0; i < kTypes; ++i)
    WriteCRString("zelbench.type" + std::to_string(i) + "\\DefaultIcon", "",
                  "C:\\Windows\\System32\\shell32.dll," + std::to_string(i % 100));
  for (int i = 0; i < kExtensions; ++i)
    WriteCRString(Format(".zb%05d", i), "", "zelbench.type" + std::to_string(i % kTypes));
  std::printf("BENCH created %d extensions and %d types in %.0f ms\n", kExtensions, kTypes, (Now() - t0) * 1000);

  auto& f = StartFrame();
  auto& p = f.icons;
  f.PageControl1.SetActivePage(IndexOfIconsSheet(f));
  p.PageControl4.SetActivePage(3);
  Pump(50);
  std::vector<std::string> names;
  double list = MedianMs(5, [&] { ListRegSubKeys(HKEY_CLASSES_ROOT, "", names); });
  t0 = Now();
  SendMessageA(p.btnLoadFA.hwnd(), BM_CLICK, 0, 0);
  double load = (Now() - t0) * 1000;
  t0 = Now();
  RedrawWindow(p.nxFile.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  double paint = (Now() - t0) * 1000;
  t0 = Now();
  for (int i = 0; i < 20; ++i) {
    SendMessageA(p.nxFile.hwnd(), WM_VSCROLL, SB_PAGEDOWN, 0);
    UpdateWindow(p.nxFile.hwnd());
  }
  double scroll = (Now() - t0) * 1000 / 20;
  t0 = Now();
  p.nxFile.ColumnClick(1);
  UpdateWindow(p.nxFile.hwnd());
  double sort = (Now() - t0) * 1000;
  std::printf("BENCH HKCR root: %zu subkeys, listing %.1f ms\n", names.size(), list);
  std::printf("BENCH LoadFA: %d rows in %.0f ms\n", p.nxFile.RowCount(), load);
  std::printf("BENCH afterwards: full repaint %.1f ms, page down + paint %.1f ms, header sort + paint %.1f ms\n",
              paint, scroll, sort);
  EXPECT_GE(p.nxFile.RowCount(), kExtensions);

  t0 = Now();
  for (int i = 0; i < kExtensions; ++i) DeleteRegKey(HKEY_CLASSES_ROOT, Format(".zb%05d", i));
  for (int i = 0; i < kTypes; ++i) DeleteRegKey(HKEY_CLASSES_ROOT, "zelbench.type" + std::to_string(i));
  std::printf("BENCH removed them in %.0f ms\n", (Now() - t0) * 1000);
}

}  // namespace
}  // namespace zel::test
