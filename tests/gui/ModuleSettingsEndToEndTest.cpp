// A module settings dialog of the running program against the simulated gateway over loopback
// TCP: the operator's one change reaches the gateway as exactly one line, and the gateway's
// answer comes back into the model.
#include <QComboBox>
#include <QTimer>
#include <sstream>

#include "gui/SimulatorSiteRig.h"
#include "support/FileText.h"

namespace mav::test {
namespace {

// The lines the gateway received, in order, from a transcript's text.
std::vector<std::string> received_lines(const std::string& transcript) {
  std::vector<std::string> lines;
  std::istringstream in(transcript);
  for (std::string line; std::getline(in, line);) {
    const std::size_t mark = line.find(" tcp <- ");
    if (mark != std::string::npos) lines.push_back(line.substr(mark + 8));
  }
  return lines;
}

using ModuleSettingsEndToEnd = SimulatorSiteRig;

TEST_F(ModuleSettingsEndToEnd, OneChangedRadioSettingIsOneLineAndItsReplyUpdatesTheModel) {
  constexpr int kRadioPort = 1;  // a TOV-5 in the simulator's line-up
  start();
  std::size_t received_before = 0;
  int chosen = -1;
  prompts_.dialog_script = [&](QDialog& dialog) {
    QComboBox* tx_level = dialog.findChild<QComboBox*>(QStringLiteral("id1404"));
    chosen = (tx_level->currentIndex() + 1) % tx_level->count();
    tx_level->setCurrentIndex(chosen);
    received_before = received_lines(file_text(transcript_)).size();
    dialog.findChild<QPushButton*>(QStringLiteral("id1"))->click();
    return dialog.result();
  };

  bool opened = false;
  bool answered = false;
  QTimer probe;
  QObject::connect(&probe, &QTimer::timeout, [&] {
    PortRecord record{};
    program_->model().GetPort(kRadioPort, record);
    if (!opened && record.mod_type == MOD_TOV5 && program_->session().mek_squelch_type != -1 &&
        program_->link().queued_lines() == 0 && program_->session().input_ready) {
      opened = true;
      // The operator's way in: the port selected, then clicked again.
      program_->gestures().click(0, HIT_PORT, kRadioPort);
      program_->gestures().click(0, HIT_PORT, kRadioPort);
    }
    answered = opened && record.settings.tx_level == chosen;
    if (answered) QCoreApplication::exit(0);
  });
  probe.start(20);
  QTimer::singleShot(30000, &probe, [] { QCoreApplication::exit(1); });
  EXPECT_EQ(program_->run(), 0);
  ASSERT_TRUE(answered);

  // What reached the gateway for the radio's port since OK, queries left aside (other traffic,
  // such as relay reports, may interleave).
  const auto received = received_lines(file_text(transcript_));
  ASSERT_GE(received.size(), received_before);
  std::vector<std::string> settings_lines;
  for (std::size_t i = received_before; i < received.size(); ++i) {
    const std::string& line = received[i];
    if (line.find(" 01 ") != std::string::npos && line.back() != '?') {
      settings_lines.push_back(line);
    }
  }
  EXPECT_EQ(settings_lines, std::vector<std::string>{"TX_LEVEL 01 " + std::to_string(chosen)});
}

}  // namespace
}  // namespace mav::test
