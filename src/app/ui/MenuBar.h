// The main window's menu bar: every command with its id, caption, & key and initial mark, the
// separators between the groups, and the place of the recent-connection items. UI thread.
#pragma once

#include <QAction>
#include <QMenu>
#include <QMenuBar>
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

  // Replaces the recent-connection items at the end of the Connect menu (ids 50000 + index).
  void set_recent_connections(const std::vector<std::string>& labels);

 private:
  QAction* add(QMenu& menu, int command_id, const char* caption, bool checked = false);

  QMenu* connect_menu_ = nullptr;
  std::map<int, QAction*> actions_;
  std::vector<QAction*> recent_;
};

}  // namespace mav
