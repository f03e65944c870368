// Paint cost of the matrix: a full 1280 x 1024 frame of a busy gateway, the per-frame cost of an
// icon slide, and a slide at the real pace with the worker on its own thread (frames per second,
// and the CPU used before and after it).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QImage>
#include <QMetaObject>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "matrix/SlideAnimator.h"
#include "matrix/ui/IconStore.h"
#include "matrix/ui/MatrixWidget.h"
#include "model/DeviceModel.h"
#include "platform/Clock.h"
#include "support/FakeClock.h"

namespace mav {
namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "bench_matrix_paint";
  static char* argv[] = {name, nullptr};
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static QApplication app(argc, argv);
  return app;
}

IconStore& Icons() {
  static IconStore* icons = [] {
    App();  // fonts need the application
    auto* store = new IconStore;
    store->LoadAll();
    return store;
  }();
  return *icons;
}

// 26 modules in seven nets, with names, monitor lists, DISCH groups and lamps.
void Populate(DeviceModel& model) {
  for (int port = 0; port < kPortCount; ++port) {
    PortRecord record{};
    model.GetPort(port, record);
    record.mod_type = static_cast<std::uint32_t>(1 + port % 5);
    record.icon_preset = 1;
    record.icon_color = static_cast<std::uint8_t>(port % 8);
    std::snprintf(record.port_name, sizeof record.port_name, "Port %d radio", port);
    if (port < 21) record.bus = static_cast<std::int16_t>(port / 3);
    if (port % 3 == 0) record.bus_link = static_cast<std::int16_t>(port % 4);
    record.disch_group = static_cast<std::int16_t>(port % 4 == 1 ? port % 7 : GROUP_NONE);
    record.perm_conn = port % 5 == 0;
    record.cor_active = port % 2;
    record.ptt_active = port % 3 == 0;
    const std::uint8_t list[] = {
        static_cast<std::uint8_t>((port + 1) % 26), static_cast<std::uint8_t>((port + 2) % 26),
        static_cast<std::uint8_t>((port + 5) % 26), static_cast<std::uint8_t>(PORT_NONE)};
    std::memcpy(record.monitors, list, sizeof list);
    model.SetPort(port, record);
  }
}

struct Bench {
  DeviceModel model;
  test::FakeClock fake_clock;
  SlideAnimator slides{model, fake_clock};
  MatrixWidget widget{model, slides, Icons()};

  Bench() {
    App();
    Populate(model);
    MatrixAppearance look;
    look.screen_size = 2;
    look.animation_delay = 450;
    widget.set_appearance(look);
    widget.resize(widget.sizeHint());
  }
};

void BM_FullFrame1280x1024(benchmark::State& state) {
  Bench bench;
  for (auto _ : state) {
    bench.widget.paint_now();
    benchmark::DoNotOptimize(bench.widget.picture().constBits());
  }
}
BENCHMARK(BM_FullFrame1280x1024)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// One slide frame as the window shows it: the back buffer copied, the moving icon drawn over it.
void BM_SlideFrame(benchmark::State& state) {
  Bench bench;
  QImage window(1280, 1024, QImage::Format_ARGB32_Premultiplied);
  bench.widget.render(&window);
  bench.slides.start_move(25, GROUP_NONE, 7);
  for (auto _ : state) {
    bench.fake_clock.advance_ms(1);
    if (!bench.slides.animation_step().any_active) bench.slides.start_move(25, 7, GROUP_NONE);
    bench.widget.render(&window);
  }
  state.counters["frames_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SlideFrame)->Unit(benchmark::kMillisecond);

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Counts the frames the widget really paints.
class PaintCounter : public QObject {
 public:
  std::atomic<int> paints{0};
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

// Runs the UI event loop for ms milliseconds; answers the CPU share used meanwhile.
double RunLoop(int ms) {
  const double cpu = CpuSeconds();
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < ms) {
    QApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return (CpuSeconds() - cpu) * 1000.0 / ms;
}

// A 450 ms slide on the system clock: the worker advances it every pass (5 ms sleeps when idle,
// as the worker loop does) and posts a frame to the UI thread when one is due.
void BM_SlideAtRealPace(benchmark::State& state) {
  App();
  DeviceModel model;
  Populate(model);
  SystemClock clock;
  SlideAnimator slides(model, clock);
  MatrixWidget widget(model, slides, Icons());
  MatrixAppearance look;
  look.screen_size = 2;
  look.animation_delay = 450;
  widget.set_appearance(look);
  widget.resize(widget.sizeHint());
  widget.show();
  PaintCounter counter;
  widget.installEventFilter(&counter);

  std::atomic<bool> stop{false};
  std::thread worker([&] {
    while (!stop.load()) {
      const SlideStep step = slides.animation_step();
      if (step.frame_due) QMetaObject::invokeMethod(&widget, &MatrixWidget::slide_frame);
      if (step.slide_ended) QMetaObject::invokeMethod(&widget, &MatrixWidget::request_repaint);
      if (!step.any_active) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  });

  double idle_before = 0, idle_after = 0, fps = 0;
  for (auto _ : state) {
    idle_before = RunLoop(1000);
    const int paints_before = counter.paints.load();
    const SlideStep start = slides.start_move(25, GROUP_NONE, 7);
    if (start.frame_due) QMetaObject::invokeMethod(&widget, &MatrixWidget::slide_frame);
    QElapsedTimer timer;
    timer.start();
    while (slides.any_active()) RunLoop(1);
    fps = (counter.paints.load() - paints_before) * 1000.0 / static_cast<double>(timer.elapsed());
    RunLoop(50);  // the closing repaint
    idle_after = RunLoop(1000);
  }
  stop.store(true);
  worker.join();
  state.counters["slide_frames_per_s"] = fps;
  state.counters["cpu_share_idle_before"] = idle_before;
  state.counters["cpu_share_idle_after"] = idle_after;
}
BENCHMARK(BM_SlideAtRealPace)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mav
