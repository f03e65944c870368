// The main window's menu bar: every command with its id, caption, & key and initial mark, the
// separators between the groups, and the place of the recent-connection items. UI thread.
#pragma once

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace mav {

class MenuBar {
 public:
  // Builds the menus into `bar`; each action carries its command id as data and is named
  // "id<command id>".
  explicit MenuBar(QMenuBar& bar);

  QAction* action(int command_id) const;
  void set_check(int command_id, bool checked);
  bool is_checked(int command_id) const;
  // Qt toggles a checkable item when it is clicked, and in a group unchecks its neighbours; the
  // marks are the application's to set, so the click's changes are taken back before the command
  // runs.
  void undo_automatic_marks(QAction& item);

  // Replaces the recent-connection items at the end of the Connect menu (ids 50000 + index).
  void set_recent_connections(const std::vector<std::string>& labels);

 private:
  QAction* add(QMenu& menu, int command_id, const char* caption, bool checked = false);
  // Mutually exclusive choices: radio marks, every item checkable from the start.
  void make_exclusive(std::initializer_list<int> command_ids);

  QMenu* connect_menu_ = nullptr;
  std::map<int, QAction*> actions_;
  std::map<int, bool> marks_;  // the marks as the application last set them
  std::vector<QAction*> recent_;
};

}  // namespace mav
