// The protocol trace window on the running program connected to the simulated gateway: opened
// from the Display menu, it shows the synchronisation, filters it and saves it as text.
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "gui/SimulatorSiteRig.h"
#include "support/FileText.h"
#include "trace/TraceText.h"

namespace mav::test {
namespace {

using TraceWindowTest = SimulatorSiteRig;

// The shown rows as "kind|mode|line".
std::vector<std::string> shown(const TraceWindow& window) {
  std::vector<std::string> rows;
  const TraceFilterModel& model = window.shown_rows();
  for (int row = 0; row < model.rowCount(); ++row) {
    const TraceRow& trace_row = model.row_at(row);
    rows.push_back(std::string(trace_kind_text(trace_row)) + "|" +
                   std::string(trace_mode_text(trace_row)) + "|" + trace_visible_text(trace_row));
  }
  return rows;
}

bool has(const std::vector<std::string>& rows, const std::string& row) {
  return std::find(rows.begin(), rows.end(), row) != rows.end();
}

// Opened once the synchronisation is over, the window still shows it: the trace records from
// the program's start.
TEST_F(TraceWindowTest, ShowsTheSynchronisationAndFiltersAndSavesIt) {
  start();
  TraceWindow& window = program_->trace_window();
  bool synchronised = false;
  QTimer probe;
  QObject::connect(&probe, &QTimer::timeout, [&] {
    if (!window.isVisible()) {
      const bool quiet = program_->model().CountModules() > 0 &&
                         program_->session().input_ready.load() &&
                         program_->link().queued_lines() == 0;
      if (quiet) trigger(40071);  // Display > Protocol Trace
      return;
    }
    const std::vector<std::string> rows = shown(window);
    synchronised =
        (has(rows, "sent|queued|CONNECT_S ALL ?") || has(rows, "sent|at once|CONNECT_S ALL ?")) &&
        std::any_of(rows.begin(), rows.end(),
                    [](const std::string& row) { return row.starts_with("received||%SYSTEM "); });
    if (synchronised) QCoreApplication::exit(0);
  });
  probe.start(20);
  QTimer::singleShot(20000, &probe, [] { QCoreApplication::exit(1); });
  ASSERT_EQ(program_->run(), 0);
  ASSERT_TRUE(synchronised);
  EXPECT_EQ(window.windowTitle(), "Protocol Trace");

  window.findChild<QLineEdit*>("keyword")->setText("system");
  window.findChild<QComboBox*>("port")->setCurrentIndex(0);
  const std::vector<std::string> filtered = shown(window);
  ASSERT_FALSE(filtered.empty());
  for (const std::string& row : filtered) EXPECT_NE(row.find("SYSTEM"), std::string::npos) << row;

  const std::filesystem::path saved = dir_.path() / "trace.txt";
  prompts_.dialog_script = [&](QDialog& dialog) {
    static_cast<QFileDialog&>(dialog).selectFile(QString::fromStdString(saved.string()));
    return int(QDialog::Accepted);
  };
  window.findChild<QPushButton*>("save")->click();
  const std::string text = file_text(saved);
  EXPECT_NE(text.find("\tsent\t"), std::string::npos) << text;
  EXPECT_NE(text.find("\tSYSTEM\n"), std::string::npos) << text;
  EXPECT_EQ(text.rfind("MAV Controller protocol trace, saved 20", 0), 0u) << text;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), static_cast<long>(filtered.size()) + 1);

  window.findChild<QPushButton*>("clear")->click();
  EXPECT_EQ(window.shown_rows().rowCount(), 0);
  window.close();
}

}  // namespace
}  // namespace mav::test
