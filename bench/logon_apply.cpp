// "Apply" of the logon page without the window: prepares the logon file for a picture at a
// screen size and writes it, timing each stage.
//   usage: logon_bench IN OUT WIDTH HEIGHT [RUNS]
// Prints: decode seconds, prepare seconds (best of RUNS), encodes, quality, bytes, size.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "imaging/io.h"
#include "logon/logon_picture.h"

namespace {
double Seconds(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
  return std::chrono::duration<double>(b - a).count();
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: logon_bench IN OUT WIDTH HEIGHT [RUNS]\n");
    return 2;
  }
  const int w = std::atoi(argv[3]), h = std::atoi(argv[4]), runs = argc > 5 ? std::atoi(argv[5]) : 3;
  try {
    auto t0 = std::chrono::steady_clock::now();
    const zel::img::Image picture = zel::img::Load(argv[1]);
    auto t1 = std::chrono::steady_clock::now();
    double best = 1e9;
    zel::logon::LogonPicture r;
    for (int i = 0; i < runs; ++i) {
      auto a = std::chrono::steady_clock::now();
      // The first Apply of a session starts from the default quality.
      r = zel::logon::PrepareLogonPicture(picture, w, h, 80);
      zel::img::WriteFileReplacing(argv[2], r.file);
      best = std::min(best, Seconds(a, std::chrono::steady_clock::now()));
    }
    std::printf("picture %dx%d decode %.3fs apply %.3fs encodes %d quality %d bytes %zu fit %d resampled %d\n",
                picture.width(), picture.height(), Seconds(t0, t1), best, r.encodes, r.quality, r.file.size(),
                int(r.fit), int(r.resampled));
    return r.fit ? 0 : 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "logon_bench: %s\n", e.what());
    return 1;
  }
}
