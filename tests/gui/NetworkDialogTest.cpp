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

void show_active(QDialog& dialog) {
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

class NetworkDialogTest : public ProgramRig {
 protected:
  void with_sites_dialog(const std::function<void(QDialog&)>& steps) {
    with_dialog(40065, steps, QDialog::Accepted);
  }
};

TEST_F(NetworkDialogTest, TypedSitesAreCheckedBeforeTheyAreStored) {
  const std::string bad_address =
      "Each field in the IP address must contain a number from 0 to 255";
  const std::string bad_port = "The Port field must contain a number from 1 to 65535";
  const struct {
    const char* address;
    const char* port;
    const char* description;
    std::string told;  // empty: added
  } rows[] = {
      {"10.0.256.7", "23", "North", bad_address},
      {"10.0..7", "23", "North", bad_address},
      {"10.0.0.7", "65536", "North", bad_port},
      {"10.0.0.7", "23", "North", ""},
      {"10.0.0.7", "23", "North",
       "The site could not be added.\rThe address is already in the list, or the list is full."},
      {"10.0.0.7", "2300", "", ""},
  };
  start();
  with_sites_dialog([&](QDialog& dialog) {
    EXPECT_EQ(child(dialog, 1399)->text(), "23");
    for (const auto& row : rows) {
      SCOPED_TRACE(testing::Message() << row.address << ":" << row.port);
      prompts_.told.clear();
      type_site(dialog, row.address, row.port, row.description);
      click(dialog, 1369);
      EXPECT_EQ(prompts_.told_texts(),
                row.told.empty() ? std::vector<std::string>{} : std::vector{row.told});
    }
    auto* list = child<QListWidget>(dialog, 1358);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), "10.0.0.7:23 (North)");
    EXPECT_EQ(list->item(1)->text(), "10.0.0.7:2300 ()");
  });
  const Preferences saved = saved_preferences();
  ASSERT_EQ(saved.site_count(), 2);
  EXPECT_EQ(saved.sites[1].port, 2300);
}

TEST_F(NetworkDialogTest, AddressFieldsTakeNumbersAndMoveOnAfterThreeDigitsOrADot) {
  const struct {
    int field;
    const char* keys;
    const char* kept;
    int focus;  // the field with the focus afterwards
  } rows[] = {
      {1394, "19", "19", 1394},    {1394, "192", "192", 1395}, {1395, "10.", "10", 1396},
      {1396, "x2a56", "25", 1396},  // letters and numbers above 255 are refused
      {1397, "7.", "7", 1397},      // no number follows the last
      {1395, ".", "", 1395},        // the dot after "192" that already moved on
      {1397, "254", "254", 1399},
  };
  start();
  with_sites_dialog([&](QDialog& dialog) {
    show_active(dialog);
    type(dialog, 1395, "55");
    for (const auto& row : rows) {
      SCOPED_TRACE(row.keys);
      QLineEdit* field = child(dialog, row.field);
      field->clear();
      field->setFocus();
      QTest::keyClicks(field, row.keys);
      EXPECT_EQ(field->text(), row.kept);
      QLineEdit* focused = child(dialog, row.focus);
      EXPECT_TRUE(focused->hasFocus());
      // The field moved to is selected whole, so typing replaces it.
      EXPECT_TRUE(focused == field || focused->selectedText() == focused->text());
    }
  });
}

TEST_F(NetworkDialogTest, EnterOrADoubleClickOnAListedSiteConnectsAndStoresNothing) {
  Preferences prefs;
  prefs.sites = {{{127, 0, 0, 1}, 1, "First"}, {{127, 0, 0, 1}, 2, "Second"}};
  write_preferences(prefs);
  start();
  for (const int row : {1, 0}) {
    with_sites_dialog([&](QDialog& dialog) {
      show_active(dialog);
      auto* list = child<QListWidget>(dialog, 1358);
      // The site in use is marked without a change to its line.
      EXPECT_EQ(list->item(1)->font().bold(), row == 0);
      EXPECT_EQ(list->item(1)->text(), "127.0.0.1:2 (Second)");
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
  std::vector<std::string> labels;
  for (int id = 50000; id <= 50010; ++id) {
    if (QAction* item = action(id)) labels.push_back(item->text().toStdString());
  }
  ASSERT_EQ(labels.size(), 10u);
  EXPECT_EQ(labels.front(), "&1 - Site 11 (Network)");
  EXPECT_EQ(labels.back(), "&10 - Site 1 (Network)");  // Site 2 fell out
  EXPECT_EQ(saved_preferences().recent.size(), 10u);
  EXPECT_EQ(title(), "Connecting to Remote Site - MAV Controller - Orvane Systems");
}

}  // namespace
}  // namespace mav::test
