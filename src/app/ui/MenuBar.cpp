#include "app/ui/MenuBar.h"

#include "frontend/MenuIds.h"
#include "platform/qt/ControlIds.h"

namespace mav {

using namespace menu;

namespace {

// The item and the items whose marks change with it.
QList<QAction*> with_its_group(QAction& item) {
  return item.actionGroup() ? item.actionGroup()->actions() : QList<QAction*>{&item};
}

}  // namespace

MenuBar::MenuBar(QMenuBar& bar) {
  QMenu* file = bar.addMenu("&File");
  add(*file, kSaveConfiguration, "&Save Configuration");
  add(*file, kLoadConfiguration, "&Load Configuration");
  file->addSeparator();
  add(*file, kRetrieveCurrentConfig, "&Retrieve Current Config");
  add(*file, kRestoreLastConfig, "Restore Last &Config");
  add(*file, kRestoreFromHistory, "Restore from &History...");
  file->addSeparator();
  add(*file, kSaveSalvo, "Save Sal&vo...");
  add(*file, kSalvos, "Salv&os...");
  file->addSeparator();
  add(*file, kExit, "E&xit");

  connect_menu_ = bar.addMenu("&Connect");
  add(*connect_menu_, kSelectNetworkSite, "Select &Network Site...");
  add(*connect_menu_, kSelectSerialPort, "Select &Serial Port...");
  add(*connect_menu_, kSelectService, "Ser&vice...");
  add(*connect_menu_, kDetachService, "&Detach")->setEnabled(false);
  connect_menu_->addSeparator();

  QMenu* options = bar.addMenu("&Options");
  add(*options, kPinSettings, "PIN &Settings...");
  add(*options, kPasswordProtection, "&Password Protection...");
  options->addSeparator();
  add(*options, kViewRecentLog, "View Recent &Log");
  add(*options, kViewEntireLog, "View &Entire Log");
  add(*options, kNewLog, "&New Log");
  options->addSeparator();
  add(*options, kConnectAll, "Connect &All");
  add(*options, kRevertAfterConnectAll, "Re&vert");
  options->addSeparator();
  add(*options, kDisconnectAll, "&Disconnect All");
  add(*options, kRevertAfterDisconnectAll, "Revert");
  options->addSeparator();
  add(*options, kVoicePrompts, "Vo&ice Prompts", true);
  options->addSeparator();
  QMenu* right_button = options->addMenu("&Right Mouse Button");
  add(*right_button, kRightButtonDisconnect, "Disconnect", true);
  add(*right_button, kRightButtonEditSettings, "Edit Settings");
  QMenu* indicator = options->addMenu("Connection &Indicator");
  add(*indicator, kAutoSwitchingOn, "Automatic Switching &On", true);
  add(*indicator, kAutoSwitchingOff, "Automatic Switching Of&f");
  QMenu* auto_connect = options->addMenu("Auto Connect on Startup");
  add(*auto_connect, kAutoConnectOn, "On");
  add(*auto_connect, kAutoConnectOff, "Off", true);
  add(*options, kAutomationInterface, "Au&tomation Interface")->setCheckable(true);
  make_exclusive({kRightButtonDisconnect, kRightButtonEditSettings});
  make_exclusive({kAutoSwitchingOn, kAutoSwitchingOff});
  make_exclusive({kAutoConnectOn, kAutoConnectOff});

  QMenu* display = bar.addMenu("&Display");
  add(*display, kCorReporting, "&COR Reporting", true);
  add(*display, kPttReporting, "&PTT Reporting", true);
  display->addSeparator();
  add(*display, kSound, "&Sound", true);
  display->addSeparator();
  QAction* hover = add(*display, kHoverIconDescription, "Hover Icon Description");
  hover->setStatusTip("Displays module name when the cursor is moved over an icon.");
  hover->setCheckable(true);
  display->addSeparator();
  QMenu* screen = display->addMenu("Screen Si&ze");
  add(*screen, kScreen800x600, "&800 x 600");
  add(*screen, kScreen1024x768, "&1024 x 768", true);
  add(*screen, kScreen1280x1024, "12&80 x 1024");
  QMenu* title = display->addMenu("&Window Title");
  add(*title, kTitleUseDefault, "Use Default", true);
  add(*title, kTitleUseCustom, "Use &Custom...");
  make_exclusive({kScreen800x600, kScreen1024x768, kScreen1280x1024});
  make_exclusive({kTitleUseDefault, kTitleUseCustom});
  add(*display, kChangeColors, "Change C&olors...");
  display->addSeparator();
  QMenu* animations = display->addMenu("&Animations");
  add(*animations, kAnimationSlow, "&Slow");
  add(*animations, kAnimationMedium, "&Medium", true);
  add(*animations, kAnimationFast, "&Fast");
  add(*animations, kAnimationOff, "&Off");
  make_exclusive({kAnimationSlow, kAnimationMedium, kAnimationFast, kAnimationOff});
  display->addSeparator();
  add(*display, kProtocolTrace, "Protocol &Trace");
  add(*display, kAllGateways, "All &Gateways...");

  QMenu* permanent = bar.addMenu("&PermConn");
  for (int net = 1; net <= 7; ++net) {
    const std::string caption = "Net &" + std::to_string(net);
    add(*permanent, kPermConnNet1 + net - 1, caption.c_str());
  }

  QMenu* help = bar.addMenu("&Help");
  add(*help, kAbout, "&About");
  add(*help, kManual, "&Manual");
}

QAction* MenuBar::add(QMenu& menu, int command_id, const char* caption, bool checked) {
  QAction* item = named(menu.addAction(QString::fromUtf8(caption)), command_id);
  item->setData(command_id);
  if (checked) {
    item->setCheckable(true);
    item->setChecked(true);
  }
  actions_[command_id] = item;
  marks_[command_id] = checked;
  return item;
}

void MenuBar::make_exclusive(std::initializer_list<int> command_ids) {
  QAction* first = action(*command_ids.begin());
  auto* group = new QActionGroup(first->parent());
  // The application may leave a group without a mark for a moment while it sets the next one.
  group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  for (const int command_id : command_ids) {
    QAction* item = action(command_id);
    item->setCheckable(true);
    group->addAction(item);
  }
}

QAction* MenuBar::action(int command_id) const {
  const auto found = actions_.find(command_id);
  return found == actions_.end() ? nullptr : found->second;
}

void MenuBar::set_check(int command_id, bool checked) {
  QAction* item = action(command_id);
  if (!item) return;
  item->setCheckable(true);
  item->setChecked(checked);
  // Checking one item of a group unchecks the others.
  for (const QAction* member : with_its_group(*item)) {
    marks_[member->data().toInt()] = member->isChecked();
  }
}

void MenuBar::undo_automatic_marks(QAction& item) {
  if (!item.isCheckable()) return;
  for (QAction* member : with_its_group(item)) member->setChecked(marks_[member->data().toInt()]);
}

bool MenuBar::is_checked(int command_id) const {
  const QAction* item = action(command_id);
  return item && item->isChecked();
}

void MenuBar::set_recent_connections(const std::vector<std::string>& labels) {
  for (QAction* item : recent_) {
    actions_.erase(item->data().toInt());
    marks_.erase(item->data().toInt());
    connect_menu_->removeAction(item);
    item->deleteLater();
  }
  recent_.clear();
  for (std::size_t i = 0; i < labels.size() && i < 10; ++i) {
    recent_.push_back(
        add(*connect_menu_, kRecentConnectionFirst + static_cast<int>(i), labels[i].c_str()));
  }
}

}  // namespace mav
