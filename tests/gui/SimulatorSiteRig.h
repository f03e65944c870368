// The running program set to connect at start-up to the simulated gateway as a network site on
// loopback TCP, the simulator writing its transcript into the scratch directory.
#pragma once

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

  // Whether the simulator has received `text` by now.
  bool gateway_received(const char* text) {
    return file_text(transcript_).find(text) != std::string::npos;
  }

  sim::test::SimProcess sim_;
  std::filesystem::path transcript_;
};

}  // namespace mav::test
