// The running program set to connect at start-up to the simulated gateway as a network site on
// loopback TCP, the simulator writing its transcript into the scratch directory.
#pragma once

#include <QTimer>
#include <filesystem>

#include "gui/ProgramRig.h"
#include "sim/SimProcess.h"
#include "support/FileText.h"

namespace mav::test {

class SimulatorSiteRig : public ProgramRig {
 protected:
  void SetUp() override {
    transcript_ = dir_.path() / "sim-transcript.txt";
    ASSERT_TRUE(sim_.start({"--tcp", "127.0.0.1:0", "--control-port", "0", "--preset", "half",
                            "--transcript", transcript_.string()}));
    Preferences prefs;
    prefs.auto_connect = true;
    prefs.network_mode = true;
    prefs.sites = {{{127, 0, 0, 1}, sim_.tcp_port, "Loopback Gateway"}};
    write_preferences(prefs);
  }

  bool gateway_received(const std::string& text) {
    return file_text(transcript_).find(text) != std::string::npos;
  }
  // Synchronised, every reply handled and nothing waiting to leave.
  bool quiet() {
    return program_->model().CountModules() > 0 && program_->session().input_ready.load() &&
           program_->link().queued_lines() == 0;
  }
  // Runs the program's own loop, calling `probe` every 20 ms until it returns true; false at
  // the deadline.
  bool run_until(const std::function<bool()>& probe, int deadline_ms = 30000) {
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
      if (probe()) QCoreApplication::exit(0);
    });
    timer.start(20);
    // Tied to the timer, so the deadline ends with this run and never stops a later one.
    QTimer::singleShot(deadline_ms, &timer, [] { QCoreApplication::exit(1); });
    return program_->run() == 0;
  }

  sim::test::SimProcess sim_;
  std::filesystem::path transcript_;
};

}  // namespace mav::test
