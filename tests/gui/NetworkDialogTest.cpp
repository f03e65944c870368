// The network site dialog as the operator fills it in and uses it from the keyboard, and the
// recent-connection items of the Connect menu.
#include <QListWidget>
#include <QTest>

#include "gui/ProgramRig.h"

namespace mav::test {
namespace {

// Fills the address fields from a dotted text (an empty part leaves its field empty).
void type_site(QDialog& dialog, const QString& address, const char* port, const char* text) {
  const QStringList parts = address.split('.');
  for (int i = 0; i < 4; ++i) type(dialog, 1394 + i, parts[i]);
  type(dialog, 1399, port);
  type(dialog, 1400, text);
}

class NetworkDialogTest : public ProgramRig {
 protected:
  // Runs the sites dialog, shown and active, under `steps`.
  void with_sites_dialog(const std::function<void(QDialog&)>& steps) {
    with_dialog(
        40065,
        [&](QDialog& dialog) {
          dialog.show();
          QApplication::setActiveWindow(&dialog);
          ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
          steps(dialog);
        },
        QDialog::Accepted);
  }
};

TEST_F(NetworkDialogTest, TypedSitesAreCheckedBeforeTheyAreStored) {
  const struct {
    const char* address;
    const char* port;
    const char* told;  // "" when added
  } rows[] = {
      {"10.0.256.7", "23", "Each field in the IP address must contain a number from 0 to 255"},
      {"10.0..7", "23", "Each field in the IP address must contain a number from 0 to 255"},
      {"10.0.0.7", "65536", "The Port field must contain a number from 1 to 65535"},
      {"10.0.0.7", "23", ""},
      {"10.0.0.7", "23",
       "The site could not be added.\rThe address is already in the list, or the list is full."},
      {"10.0.0.7", "2300", ""},
  };
  start();
  with_sites_dialog([&](QDialog& dialog) {
    EXPECT_EQ(child(dialog, 1399)->text(), "23");
    std::string told;
    for (const auto& row : rows) {
      prompts_.told.clear();
      type_site(dialog, row.address, row.port, "North");
      click(dialog, 1369);
      for (const auto& text : prompts_.told_texts()) told += text;
      told += "|";
    }
    EXPECT_EQ(told, std::string(rows[0].told) + "|" + rows[1].told + "|" + rows[2].told + "||" +
                        rows[4].told + "||");
    auto* list = child<QListWidget>(dialog, 1358);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(1)->text(), "10.0.0.7:2300 (North)");
  });
  EXPECT_EQ(saved_preferences().sites.at(1).port, 2300);
}

TEST_F(NetworkDialogTest, EnterOrADoubleClickOnAListedSiteConnectsAndStoresNothing) {
  Preferences prefs;
  prefs.sites = {{{127, 0, 0, 1}, 1, "First"}, {{127, 0, 0, 1}, 2, "Second"}};
  write_preferences(prefs);
  start();
  for (const int row : {1, 0}) {
    with_sites_dialog([&](QDialog& dialog) {
      auto* list = child<QListWidget>(dialog, 1358);
      EXPECT_EQ(list->item(1)->font().bold(), row == 0);  // the site in use
      type_site(dialog, "10.0.0.9", "23", "Half typed");
      list->setCurrentRow(row);
      list->setFocus();
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

TEST_F(NetworkDialogTest, DisconnectAndRemoveRefuseWhatTheyCannotDo) {
  Preferences prefs;
  prefs.sites = {{{127, 0, 0, 1}, 23, "Stored"}};
  write_preferences(prefs);
  start();
  with_sites_dialog([&](QDialog& dialog) {
    click(dialog, 1372);
    // The keyboard's current row without a highlight is no selection: nothing happens.
    child<QListWidget>(dialog, 1358)->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    click(dialog, 1366);
    click(dialog, 1363);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
  });
  EXPECT_EQ(prompts_.told_texts(),
            std::vector<std::string>{"This button can only be used if a network connection "
                                     "is active"});
  EXPECT_EQ(program_->application().preferences().site_count(), 1);
  EXPECT_FALSE(program_->link().is_open());
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
  std::string expected;
  for (int id = 50000; id <= 50010; ++id) {
    if (QAction* item = action(id)) labels += item->text().toStdString() + "|";
  }
  int item = 0;
  for (int site : {11, 10, 9, 8, 7, 6, 5, 4, 3, 1}) {  // Site 2 fell out
    expected += "&" + std::to_string(++item) + " - Site " + std::to_string(site) + " (Network)|";
  }
  EXPECT_EQ(labels, expected);
  EXPECT_EQ(saved_preferences().recent.size(), 10u);
}

}  // namespace
}  // namespace mav::test
