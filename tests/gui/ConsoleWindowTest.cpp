// Two controllers attached to one gateway service, the simulator as the gateway and mavctl as a
// third client: what is typed on one window shows on the other, and a port locked elsewhere
// carries its owner on both and refuses their gestures with the owner's name.
#include <QComboBox>
#include <QInputDialog>
#include <QTest>
#include <cstdio>
#include <optional>

#include "app/WindowTitles.h"
#include "frontend/MenuIds.h"
#include "gui/ProgramRig.h"
#include "sim/SimProcess.h"
#include "support/ControllerProcess.h"
#include "support/FileText.h"
#include "support/GatewaydArguments.h"
#include "trace/TraceText.h"

namespace mav::test {
namespace {

class TwoConsoles : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sim_.start({"--tcp", "127.0.0.1:0", "--lineup", "11110001", "--transcript",
                            (dir_ / "wire.txt").string()}));
    service_.emplace(GATEWAYD_PATH, dir_.path(),
                     gatewayd_arguments(dir_.path(), sim_.tcp_port, socket_), dir_.path());
    ASSERT_TRUE(process_events_until(
        [&] { return mavctl("status").find(", synchronised;") != std::string::npos; }, 60000));
    RunConnection none;
    none.kind = RunConnection::Kind::None;
    for (int i = 0; i < 2; ++i) {
      const std::filesystem::path folder = dir_ / ("desk-" + std::to_string(i + 1));
      std::filesystem::create_directories(folder);
      desks_[i] =
          std::make_unique<ControllerProgram>(ProgramFolders{folder, folder}, prompts_, none);
      ASSERT_TRUE(desks_[i]->init());
      desks_[i]->attach_service({"desk-" + std::to_string(i + 1), socket_.string(), ""});
    }
    ASSERT_TRUE(process_events_until(
        [&] { return attached(0) && attached(1) && desks_[1]->model().CountModules() == 5; }));
  }
  bool attached(int desk) {
    return desks_[desk]->console()->client().link() == ServiceLink::Identified;
  }
  std::string mavctl(const std::string& arguments) const {
    const std::string command =
        std::string(MAVCTL_PATH) + " --socket " + socket_.string() + " " + arguments + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string out;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
    ::pclose(pipe);
    return out;
  }
  bool together(int desk, int a, int b) {
    PortRecord first;
    PortRecord second;
    desks_[desk]->model().GetPort(a, first);
    desks_[desk]->model().GetPort(b, second);
    return first.net != GROUP_NONE && first.net == second.net;
  }
  // Whether the gateway received the line (without its terminator).
  bool wire_has(const std::string& line) {
    return process_events_until([&] {
      return file_text(dir_ / "wire.txt").find("tcp <- " + line + "\n") != std::string::npos;
    });
  }
  // Whether the desk's protocol trace window shows a change row ending with `change`.
  bool traced(int desk, std::string_view change) {
    TraceWindow& trace = desks_[desk]->trace_window();
    trace.take_rows();
    for (int row = 0; row < trace.shown_rows().rowCount(); ++row) {
      const TraceRow& shown = trace.shown_rows().row_at(row);
      if (trace_kind_text(shown) == "change" && shown.view().ends_with(change)) return true;
    }
    return false;
  }
  std::string lock_owner(int desk, int port) {
    return desks_[desk]->window().findChild<MatrixWidget*>()->lock_owners()[port];
  }
  std::string status_line(int desk) {
    return desks_[desk]
        ->window()
        .findChild<MatrixWidget*>()
        ->status_text()
        .value_or("")
        .toStdString();
  }

  ScratchDirectory dir_;
  std::filesystem::path socket_ = dir_ / "control.sock";
  sim::test::SimProcess sim_;
  std::optional<ControllerProcess> service_;
  RecordingPrompts prompts_;
  std::unique_ptr<ControllerProgram> desks_[2];
};

TEST_F(TwoConsoles, SeeEachOthersPatchAndRefuseAPortLockedElsewhere) {
  QTest::keyClicks(&desks_[0]->window(), "c03c07");
  ASSERT_TRUE(process_events_until([&] { return together(0, 3, 7); }));
  // The service's event reaches both consoles together: the other sees the net at once.
  EXPECT_TRUE(process_events_until([&] { return together(1, 3, 7); }, 1000));
  // The gateway's replies may reach the other desk in one batch or in two.
  EXPECT_TRUE(status_line(1).ends_with("07 connected by desk-1")) << status_line(1);
  EXPECT_TRUE(traced(1, "07 connected by desk-1"));
  EXPECT_EQ(desks_[1]->window().windowTitle().toStdString(),
            "MAV Controller - service " + socket_.string() +
                ", gateway 127.0.0.1:" + std::to_string(sim_.tcp_port));

  EXPECT_EQ(mavctl("--name A lock 3"), "");
  for (int desk : {0, 1}) {
    EXPECT_TRUE(process_events_until([&] { return lock_owner(desk, 3) == "A"; }));
  }
  QTest::keyClicks(&desks_[1]->window(), "d03");
  EXPECT_TRUE(process_events_until([&] { return status_line(1) == "Port 03 is locked by A"; }));
  EXPECT_TRUE(together(0, 3, 7));
}

TEST_F(TwoConsoles, SendModuleSettingsThroughTheServiceUnlessLockedElsewhere) {
  prompts_.dialog_script = [](QDialog& dialog) {
    auto* duplex = child<QComboBox>(dialog, 1408);
    duplex->setCurrentIndex(1 - duplex->currentIndex());
    click(dialog, 1);
    return dialog.result();
  };
  EXPECT_EQ(mavctl("--name A lock 3"), "");
  ASSERT_TRUE(process_events_until([&] { return lock_owner(0, 3) == "A"; }));
  desks_[0]->window().open_module_settings(3, false);
  EXPECT_TRUE(process_events_until([&] { return status_line(0) == "Port 03 is locked by A"; }));
  EXPECT_EQ(prompts_.dialogs_run, 1);

  EXPECT_EQ(mavctl("--name A unlock 3"), "");
  ASSERT_TRUE(process_events_until([&] { return lock_owner(0, 3).empty(); }));
  desks_[0]->window().open_module_settings(3, false);
  EXPECT_TRUE(wire_has("DUPLEX 03 FULL"));
}

TEST_F(TwoConsoles, LoadAndRevertConfigurationsThroughTheService) {
  const auto trigger = [&](int command_id) {
    desks_[0]->window().menus().action(command_id)->trigger();
  };
  std::string file = "none.mav";
  prompts_.dialog_script = [&](QDialog& dialog) {
    if (auto* name = qobject_cast<QInputDialog*>(&dialog))
      name->setTextValue(QString::fromStdString(file));
    return QDialog::Accepted;  // the name given, the changes confirmed
  };
  QTest::keyClicks(&desks_[0]->window(), "c03c07");
  ASSERT_TRUE(process_events_until([&] { return together(1, 3, 7); }));
  EXPECT_EQ(mavctl("save pair.mav"), "");
  trigger(menu::kLoadConfiguration);
  EXPECT_TRUE(
      process_events_until([&] { return status_line(0) == "Load file could not be opened"; }));

  trigger(menu::kDisconnectAll);
  ASSERT_TRUE(process_events_until([&] { return !together(1, 3, 7); }));
  trigger(menu::kRevertAfterDisconnectAll);
  EXPECT_TRUE(process_events_until([&] { return together(1, 3, 7); }));
  // The revert's replies may reach the other desk in one batch or in two.
  EXPECT_TRUE(status_line(1).ends_with("07 connected by desk-1")) << status_line(1);

  trigger(menu::kDisconnectAll);
  ASSERT_TRUE(process_events_until([&] { return !together(1, 3, 7); }));
  file = "pair.mav";
  trigger(menu::kLoadConfiguration);
  EXPECT_TRUE(process_events_until([&] { return together(1, 3, 7); }));
  EXPECT_EQ(prompts_.dialogs_run, 3);  // two names, one confirmation
  EXPECT_TRUE(wire_has("DISCH ALL"));
}

TEST_F(TwoConsoles, DetachGivesTheWindowBackToItsOwnLink) {
  QAction* detach = desks_[0]->window().menus().action(menu::kDetachService);
  ASSERT_TRUE(detach->isEnabled());
  detach->trigger();
  EXPECT_EQ(desks_[0]->console(), nullptr);
  EXPECT_FALSE(detach->isEnabled());
  EXPECT_EQ(desks_[0]->model().CountModules(), 0);
  EXPECT_EQ(desks_[0]->window().windowTitle().toStdString(), kNotConnectedTitle);
  // Attaching again needs no restart either.
  desks_[0]->attach_service({"desk-1", socket_.string(), ""});
  EXPECT_TRUE(
      process_events_until([&] { return attached(0) && desks_[0]->model().CountModules() == 5; }));
  EXPECT_TRUE(detach->isEnabled());
}

}  // namespace
}  // namespace mav::test
