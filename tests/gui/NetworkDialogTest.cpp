// The network site dialog as the operator fills it in and uses it, and the recent-connection
// items of the Connect menu.
#include <QListWidget>
#include <QTest>

#include "gui/ProgramRig.h"

namespace mav::test {
namespace {

using Texts = std::vector<std::string>;

class NetworkDialogTest : public ProgramRig {
 protected:
  void with_sites_dialog(const std::function<void(QDialog&)>& steps) {
    with_dialog(40065, steps, QDialog::Accepted);
  }
};

// Each row: the address (an empty part leaves its field empty), port, description, what is told.
TEST_F(NetworkDialogTest, TypedSitesAreCheckedBeforeTheyAreStored) {
  const std::string bad_address =
      "Each field in the IP address must contain a number from 0 to 255";
  const struct {
    const char *address, *port, *description;
    std::string told;  // empty: added
  } rows[] = {
      {"10.0.256.7", "23", "North", bad_address},
      {"10.0..7", "23", "North", bad_address},
      {"10.0.0.7", "65536", "North", "The Port field must contain a number from 1 to 65535"},
      {"10.0.0.7", "23", "North", ""},
      {"10.0.0.7", "23", "North",
       "The site could not be added.\rThe address is already in the list, or the list is full."},
      {"10.0.0.7", "2300", "", ""},
  };
  start();
  with_sites_dialog([&](QDialog& dialog) {
    EXPECT_EQ(child(dialog, 1399)->text(), "23");
    for (const auto& row : rows) {
      SCOPED_TRACE(row.address);
      prompts_.told.clear();
      const QStringList parts = QString(row.address).split('.');
      for (int i = 0; i < 4; ++i) type(dialog, 1394 + i, parts[i]);
      type(dialog, 1399, row.port);
      type(dialog, 1400, row.description);
      click(dialog, 1369);
      EXPECT_EQ(prompts_.told_texts(), row.told.empty() ? Texts{} : Texts{row.told});
    }
    auto* list = child<QListWidget>(dialog, 1358);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(1)->text(), "10.0.0.7:2300 ()");
  });
  EXPECT_EQ(saved_preferences().sites.at(1).port, 2300);
}

// Enter or a double click on a listed site connects to it; the site in use is marked in bold.
// Disconnect without a network connection and Remove without a selection refuse.
TEST_F(NetworkDialogTest, ListedSitesConnectAndTheButtonsRefuseWhatTheyCannotDo) {
  Preferences prefs;
  prefs.sites = {{{127, 0, 0, 1}, 1, "First"}, {{127, 0, 0, 1}, 2, "Second"}};
  write_preferences(prefs);
  start();
  with_sites_dialog([&](QDialog& dialog) {
    click(dialog, 1372);
    // The keyboard's current row without a highlight is no selection: nothing happens.
    child<QListWidget>(dialog, 1358)->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    click(dialog, 1366);
  });
  EXPECT_EQ(prompts_.told_texts(),
            Texts{"This button can only be used if a network connection is active"});
  for (const int row : {1, 0}) {
    with_sites_dialog([&](QDialog& dialog) {
      dialog.show();
      auto* list = child<QListWidget>(dialog, 1358);
      EXPECT_EQ(list->item(1)->font().bold(), row == 0);
      list->setCurrentRow(row);
      if (row == 1) {
        QTest::keyClick(list, Qt::Key_Return);
      } else {
        emit list->itemDoubleClicked(list->item(row));
      }
      EXPECT_EQ(dialog.result(), QDialog::Accepted);
    });
    EXPECT_EQ(program_->application().preferences().site_count(), 2);
    EXPECT_EQ(program_->application().link_status().site, row);
  }
}

// Nothing listens on these ports; the connections are only started.
TEST_F(NetworkDialogTest, RecentConnectionsKeepTenWithTheLatestOnTop) {
  start();
  Application& app = program_->application();
  for (int i = 1; i <= 11; ++i) {
    ASSERT_TRUE(app.add_site({127, 0, 0, 1}, 1000 + i, "Site " + std::to_string(i)));
  }
  for (int i : {0, 1, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10}) app.select_connection(i);
  std::string labels;
  for (int id = 50000; id <= 50010; ++id) {
    if (QAction* item = action(id)) labels += item->text().toStdString() + "|";
  }
  EXPECT_TRUE(labels.starts_with("&1 - Site 11 (Network)|&2 - Site 10")) << labels;
  EXPECT_TRUE(labels.ends_with("|&10 - Site 1 (Network)|")) << labels;  // Site 2 fell out
  EXPECT_EQ(saved_preferences().recent.size(), 10u);
}

}  // namespace
}  // namespace mav::test
