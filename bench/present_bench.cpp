// The cost of showing one finished frame through the SDL backend: texture upload, the
// stretch over the whole window and the present (presentFrame), and of a battle's usual frame
// that changed in part (presentBattleFrame), on the X display named by DISPLAY, with a
// window of its desktop's size. present_under_xvfb.sh runs it on virtual displays of
// 1680 x 1050, 1920 x 1080 and 2560 x 1440: a machine without a graphics card holds at most
// `fps` frames per second, less the compositor's own work.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/copy_ratio.h"
#include "media/media.h"
#include "media/sdl_backend.h"

namespace {

// Sea with a pattern, so that no renderer can take a shortcut on a flat picture.
std::vector<uint32_t> battleLikeFrame() {
  std::vector<uint32_t> frame(static_cast<size_t>(kScreenWidth) * kScreenHeight, 0x0177FE);
  for (size_t i = 0; i < frame.size(); i += 7)
    frame[i] = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFF;
  return frame;
}

// CPU seconds the X server has used so far, when present_under_xvfb.sh names its process.
double xServerSeconds() {
  const char* pid = std::getenv("KF_XSERVER_PID");
  if (pid == nullptr) return 0;
  std::ifstream stat(std::string("/proc/") + pid + "/stat");
  std::string line;
  std::getline(stat, line);
  // Fields 14 and 15 (user and system time in clock ticks) follow the ")" that ends field 2.
  std::istringstream rest(line.substr(std::min(line.size(), line.rfind(')') + 1)));
  std::string field;
  double ticks = 0;
  for (int i = 3; i <= 15 && rest >> field; ++i) {
    if (i >= 14) ticks += std::stod(field);
  }
  return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double processSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

// A battle window over the whole desktop; false (the benchmark skipped) without one.
bool openBattleWindow(SdlBackend& backend, benchmark::State& state) {
  if (!backend.initScreen() || !backend.initKeyboard()) {
    state.SkipWithError("no display: run me through present_under_xvfb.sh");
    return false;
  }
  const Size desktop = backend.desktopSize();
  if (!backend.openWindow(desktop.w, desktop.h) ||
      !backend.openScreen(kScreenWidth, kScreenHeight)) {
    state.SkipWithError("no battle window");
    return false;
  }
  return true;
}

// Game and X server work per frame since the given starts, and what was measured.
void reportWork(benchmark::State& state, SdlBackend& backend, double processStart,
                double serverStart) {
  const auto frames = static_cast<double>(state.iterations());
  state.counters["game_ms"] = (processSeconds() - processStart) * 1000 / frames;
  state.counters["xserver_ms"] = (xServerSeconds() - serverStart) * 1000 / frames;
  const Size desktop = backend.desktopSize();
  state.SetLabel(std::to_string(desktop.w) + "x" + std::to_string(desktop.h) + " " +
                 backend.rendererName());
}

void presentFrame(benchmark::State& state) {
  SdlBackend backend;
  if (!openBattleWindow(backend, state)) return;
  const std::vector<uint32_t> frame = battleLikeFrame();
  backend.present(frame.data(), kScreenWidth, kScreenHeight);  // first-use costs out of the way
  const double processStart = processSeconds(), serverStart = xServerSeconds();
  for (auto _ : state) backend.present(frame.data(), kScreenWidth, kScreenHeight);
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  // Work rather than waiting, steadier on a busy machine: every thread of this process (the
  // renderer may have helpers) and the X server, in milliseconds per frame.
  reportWork(state, backend, processStart, serverStart);
}
// Real time: the X server's share of the work happens in another process.
BENCHMARK(presentFrame)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);

// A battle's usual frame: two ships under way (150 x 150 each), 300 balls in flight and the
// panels drawn again as they were, each told to the backend as a changed box.
struct BattleChanges {
  std::vector<ScreenBox> boxes;
  void draw(std::vector<uint32_t>& frame, int step) {
    boxes.clear();
    const auto box = [&](int x, int y, int w, int h, uint32_t colour) {
      for (int r = y; r < y + h; ++r)
        std::fill_n(frame.begin() + static_cast<ptrdiff_t>(r) * kScreenWidth + x, w, colour);
      boxes.push_back({x, y, w, h});
    };
    for (int ship = 0; ship < 2; ++ship) {
      box(200 + 900 * ship + step % 2, 300 + 300 * ship, 150, 150, 0x0177FE);
      box(200 + 900 * ship + (step + 1) % 2, 300 + 300 * ship, 150, 150, 0x8B5A2B + step % 2);
    }
    for (int ball = 0; ball < 300; ++ball) {
      const int x = (ball * 5381 + step * 5) % (kScreenWidth - 4);
      const int y = (ball * 769) % (kScreenHeight - 4);
      box(x, y, 3, 3, (step + ball) % 2 != 0 ? 0x020202 : 0x0177FE);
    }
    for (const ScreenBox panel : {ScreenBox{0, 700, 20, 350}, ScreenBox{1660, 700, 20, 350},
                                  ScreenBox{100, 1030, 230, 20}, ScreenBox{1350, 1030, 230, 20}})
      box(panel.x, panel.y, panel.w, panel.h, 0x000000);
  }
};

void presentBattleFrame(benchmark::State& state) {
  SdlBackend backend;
  if (!openBattleWindow(backend, state)) return;
  std::vector<uint32_t> frame = battleLikeFrame();
  backend.present(frame.data(), kScreenWidth, kScreenHeight);
  BattleChanges changes;
  int step = 0;
  const double processStart = processSeconds(), serverStart = xServerSeconds();
  for (auto _ : state) {
    changes.draw(frame, ++step);
    backend.presentChanges(frame.data(), kScreenWidth, kScreenHeight,
                           FrameChanges{false, changes.boxes});
  }
  reportWork(state, backend, processStart, serverStart);
}
BENCHMARK(presentBattleFrame)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) { return runWithCopyRatios(argc, argv); }
