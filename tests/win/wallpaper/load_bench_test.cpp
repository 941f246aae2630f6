// Measurement, not a test: opening a large category on the real page. Run by bench/wallpaper.sh
// (disabled in the normal test run). ZEL_BENCH_LIST names a list file whose pictures are
// loaded; the figures are printed as "bench: key value" lines.
#include <process.h>

#include <algorithm>
#include <atomic>
#include <cstdio>

#include "core/system.h"
#include "core/text.h"
#include "imaging/thumbnail.h"
#include "ui/prompts.h"
#include "wallpaper_fixture.h"

namespace zel::test {
namespace {

double Now() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return double(t.QuadPart) * 1000.0 / double(f.QuadPart);
}

// Stands in for the user: every 10 ms a second thread posts a message stamped with the time
// to a window of the GUI thread, which notes how long it waited for the message loop.
class InputProbe {
 public:
  InputProbe() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ZelInputProbe";
    RegisterClassA(&wc);
    hwnd_ = CreateWindowA("ZelInputProbe", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    self_ = this;
    thread_ = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &Poster, this, 0, nullptr));
  }
  ~InputProbe() {
    stop_ = true;
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    DestroyWindow(hwnd_);
    self_ = nullptr;
  }
  double worst = 0, total = 0;
  int answered = 0;
  const ui::ThumbView* view = nullptr;   // the items shown when the worst wait ended
  int worstAt = -1;

 private:
  static unsigned __stdcall Poster(void* p) {
    auto* self = static_cast<InputProbe*>(p);
    while (!self->stop_) {
      // The time of posting in microseconds (wrapping after 71 minutes), which fits a WPARAM.
      PostMessageA(self->hwnd_, WM_APP + 1, WPARAM(uint32_t(uint64_t(Now() * 1000.0))), 0);
      Sleep(10);
    }
    return 0;
  }
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_APP + 1 && self_) {
      double waited = double(uint32_t(uint64_t(Now() * 1000.0)) - uint32_t(wp)) / 1000.0;
      if (waited > self_->worst && self_->view) self_->worstAt = self_->view->Count();
      self_->worst = std::max(self_->worst, waited);
      self_->total += waited;
      ++self_->answered;
      return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
  }
  static inline InputProbe* self_ = nullptr;
  HWND hwnd_ = nullptr;
  HANDLE thread_ = nullptr;
  std::atomic<bool> stop_{false};
};

class WallpaperBench : public WallpaperTest {};

TEST_F(WallpaperBench, DISABLED_OpenACategoryOfManyPhotos) {
  char list[MAX_PATH] = {};
  ASSERT_TRUE(GetEnvironmentVariableA("ZEL_BENCH_LIST", list, MAX_PATH)) << "ZEL_BENCH_LIST is not set";
  auto& f = StartOnPage();
  // The window as a user would have it on a 1280 x 1024 screen.
  SetWindowPos(f.hwnd(), nullptr, 0, 0, 1280, 1000, SWP_NOZORDER);
  WriteCategory("Bench", ReadTextFile(list));
  f.FormActivate();
  // The engine alone under Wine, on this thread, on the same files: what the page adds is
  // the difference.
  {
    wallpaper::CategoryList files;
    files.LoadFromText(ReadTextFile(list));
    double t0 = Now();
    for (const std::string& file : files.Items()) {
      try {
        img::LoadThumbnail(file, f.wallpaper.WPList.ThumbnailSide());
      } catch (const std::exception&) {
      }
    }
    printf("bench: engine_per_picture_ms %.2f\n", files.Count() ? (Now() - t0) / files.Count() : 0.0);
  }
  ProcessMemory before = ProcessMemoryNow();

  double start = Now(), end = 0;
  {
    InputProbe probe;
    probe.view = &f.wallpaper.WPList;
    PickCategory(f, "Bench");
    UpdateWindow(f.wallpaper.WPList.hwnd());
    end = Now();
    ui::ProcessMessages();
    printf("bench: input_answered %d\n", probe.answered);
    printf("bench: input_wait_worst_ms %.1f\n", probe.worst);
    printf("bench: input_wait_mean_ms %.1f\n", probe.answered ? probe.total / probe.answered : 0.0);
    printf("bench: input_wait_worst_at %s\n",
           probe.worstAt >= 0 ? ExtractFileName(f.wallpaper.WList[std::min(probe.worstAt, f.wallpaper.WList.Count() - 1)]).c_str()
                              : "-");
  }
  ProcessMemory after = ProcessMemoryNow();
  int count = f.wallpaper.WPList.Count();
  int unreadable = 0;
  for (int i = 0; i < count; ++i) unreadable += !f.wallpaper.WPList.HasPicture(i);
  printf("bench: pictures %d\n", count);
  printf("bench: unreadable %d\n", unreadable);
  printf("bench: total_ms %.0f\n", end - start);
  printf("bench: per_picture_ms %.2f\n", count ? (end - start) / count : 0.0);
  printf("bench: working_set_before_mb %.1f\n", before.current / 1048576.0);
  printf("bench: working_set_after_mb %.1f\n", after.current / 1048576.0);
  printf("bench: peak_working_set_mb %.1f\n", after.peak / 1048576.0);
  EXPECT_GT(count, 0);
}

}  // namespace
}  // namespace zel::test
