// The network site dialog as the operator fills it in and uses it from the keyboard, and the
// recent-connection items of the Connect menu.
#include <QApplication>
#include <QListWidget>
#include <QTest>

#include "gui/ProgramRig.h"

namespace mav::test {
namespace {

class NetworkDialogTest : public ProgramRig {
 protected:
  void with_dialog(const std::function<void(QDialog&)>& steps) {
    ProgramRig::with_dialog(40065, steps, QDialog::Accepted);
  }
  // Fills the address fields from a dotted text (an empty part leaves its field empty).
  static void type_site(QDialog& dialog, const QString& address, const char* port,
                        const char* description) {
    const QStringList parts = address.split('.');
    for (int i = 0; i < 4; ++i) {
      child<QLineEdit>(dialog, 1394 + i)->setText(parts[i]);
    }
    child<QLineEdit>(dialog, 1399)->setText(port);
    child<QLineEdit>(dialog, 1400)->setText(description);
  }
  static void show_active(QDialog& dialog) {
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  }
  static QStringList listed(QDialog& dialog) {
    QStringList lines;
    auto* list = child<QListWidget>(dialog, 1358);
    for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
    return lines;
  }
  std::vector<std::string> recent_labels() {
    std::vector<std::string> labels;
    for (int id = 50000; id <= 50009; ++id) {
      if (QAction* item = action(id)) labels.push_back(item->text().toStdString());
    }
    return labels;
  }
};

TEST_F(NetworkDialogTest, TypedSitesAreCheckedBeforeTheyAreStored) {
  const std::string bad_address =
      "Each field in the IP address must contain a number from 0 to 255";
  const std::string bad_port = "The Port field must contain a number from 1 to 65535";
  const std::string not_added =
      "The site could not be added.\rThe address is already in the list, or the list is full.";
  struct Typed {
    const char* address;
    const char* port;
    const char* description;
    std::string told;  // empty: added
  };
  const Typed rows[] = {
      {"10.0.256.7", "23", "North", bad_address}, {"10.0..7", "23", "North", bad_address},
      {"10.0.x.7", "23", "North", bad_address},   {"10.0.0.7", "0", "North", bad_port},
      {"10.0.0.7", "65536", "North", bad_port},   {"10.0.0.7", "23", "North", ""},
      {"10.0.0.7", "23", "North", not_added},     {"10.0.0.7", "2300", "", ""}};
  start();
  with_dialog([&](QDialog& dialog) {
    EXPECT_EQ(child<QLineEdit>(dialog, 1399)->text(), "23");
    for (const Typed& row : rows) {
      SCOPED_TRACE(testing::Message() << row.address << ":" << row.port);
      prompts_.told.clear();
      type_site(dialog, row.address, row.port, row.description);
      click(dialog, 1369);
      EXPECT_EQ(prompts_.told_texts(),
                row.told.empty() ? std::vector<std::string>{} : std::vector{row.told});
    }
    EXPECT_EQ(listed(dialog), QStringList({"10.0.0.7:23 (North)", "10.0.0.7:2300 ()"}));
    // An added site leaves the form ready for the next one.
    QStringList form;
    for (int id : {1394, 1395, 1396, 1397, 1399, 1400})
      form << child<QLineEdit>(dialog, id)->text();
    EXPECT_EQ(form, QStringList({"", "", "", "", "23", ""}));
  });
  const Preferences saved = saved_preferences();
  ASSERT_EQ(saved.site_count(), 2);
  EXPECT_EQ(saved.sites[1].port, 2300);
}

TEST_F(NetworkDialogTest, AddressFieldsTakeNumbersAndMoveOnAfterThreeDigitsOrADot) {
  struct Typing {
    int field;
    const char* keys;
    const char* kept;
    int focus;  // the field with the focus afterwards
  };
  const Typing rows[] = {
      {1394, "19", "19", 1394},    {1394, "192", "192", 1395}, {1395, "10.", "10", 1396},
      {1396, "x2a56", "25", 1396},  // letters and numbers above 255 are refused
      {1397, "7.", "7", 1397},      // no number follows the last
      {1395, ".", "", 1395},        // the dot after "192" that already moved on
      {1397, "254", "254", 1399},
  };
  start();
  with_dialog([&](QDialog& dialog) {
    show_active(dialog);
    child<QLineEdit>(dialog, 1395)->setText("55");
    for (const Typing& row : rows) {
      SCOPED_TRACE(row.keys);
      auto* field = child<QLineEdit>(dialog, row.field);
      field->clear();
      field->setFocus();
      QTest::keyClicks(field, row.keys);
      EXPECT_EQ(field->text(), row.kept);
      auto* focused = child<QLineEdit>(dialog, row.focus);
      EXPECT_TRUE(focused->hasFocus());
      // The field moved to is selected whole, so typing replaces it.
      if (focused != field) {
        EXPECT_EQ(focused->selectedText(), focused->text());
      }
    }
  });
}

TEST_F(NetworkDialogTest, EnterOrADoubleClickOnAListedSiteConnectsAndStoresNothing) {
  Preferences prefs;
  prefs.sites = {{{127, 0, 0, 1}, 1, "First"}, {{127, 0, 0, 1}, 2, "Second"}};
  write_preferences(prefs);
  start();
  for (const int row : {1, 0}) {
    with_dialog([&](QDialog& dialog) {
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
  with_dialog([&](QDialog& dialog) {
    click(dialog, 1372);
    // The keyboard's current row without a highlight is no selection: nothing happens.
    child<QListWidget>(dialog, 1358)->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    click(dialog, 1366);
    click(dialog, 1363);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
  });
  EXPECT_EQ(
      prompts_.told_texts(),
      (std::vector<std::string>{"This button can only be used if a network connection is active"}));
  EXPECT_EQ(program_->application().preferences().site_count(), 1);
  EXPECT_FALSE(program_->link().is_open());
}

TEST_F(NetworkDialogTest, RecentConnectionsKeepTenWithTheLatestOnTop) {
  start();
  Application& app = program_->application();
  for (int i = 1; i <= 11; ++i) {
    ASSERT_TRUE(app.add_site({127, 0, 0, 1}, 1000 + i, "Site " + std::to_string(i)));
  }
  // Nothing listens on these ports; the connections are only started.
  app.select_connection(0);
  app.select_connection(1);
  app.select_connection(0);
  EXPECT_EQ(recent_labels(),
            (std::vector<std::string>{"&1 - Site 1 (Network)", "&2 - Site 2 (Network)"}));
  for (int i = 2; i < 11; ++i) app.select_connection(i);
  const auto labels = recent_labels();
  ASSERT_EQ(labels.size(), 10u);
  EXPECT_EQ(labels.front(), "&1 - Site 11 (Network)");
  EXPECT_EQ(labels.back(), "&10 - Site 1 (Network)");  // Site 2 fell out
  EXPECT_EQ(saved_preferences().recent.size(), 10u);
  EXPECT_EQ(title(), "Connecting to Remote Site - MAV Controller - Orvane Systems");

  // The site in use cannot be removed. Removing Site 3 drops its entry, and Site 11, the last
  // site, moves into its slot: its entry follows it.
  EXPECT_FALSE(app.remove_site(10));
  EXPECT_TRUE(app.remove_site(2));
  const auto after = recent_labels();
  ASSERT_EQ(after.size(), 9u);
  EXPECT_EQ(after.front(), "&1 - Site 11 (Network)");
  EXPECT_EQ(after[7], "&8 - Site 4 (Network)");
  EXPECT_EQ(after.back(), "&9 - Site 1 (Network)");
  EXPECT_FALSE(app.remove_site(2));
}

}  // namespace
}  // namespace mav::test
