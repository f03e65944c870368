#include "app/ui/MainWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QUrl>
#include <optional>

#include "app/ui/NetworkSiteDialog.h"
#include "app/ui/SerialPortDialog.h"
#include "app/ui/TitleDialog.h"
#include "config/ui/ChangesDialogs.h"
#include "config/ui/ConfigurationFileDialog.h"
#include "config/ui/HistoryDialog.h"
#include "frontend/MenuIds.h"
#include "platform/qt/DesktopOpen.h"

namespace mav {
namespace {

struct ScreenSize {
  int width;  // the whole window, frame included
  int height;
  int client_height;  // the largest height below the menu bar
};
// How often a command held back by a configuration replay asks again.
constexpr int kHeldCommandRetryMs = 50;

// The window sizes of the three screen sizes. The window may be made smaller, never larger.
constexpr ScreenSize kScreenSizes[] = {{800, 600, 526}, {1024, 768, 730}, {1280, 1024, 930}};

constexpr const char* kAboutText =
    "MAV Controller\rVersion " MAV_VERSION
    "\rThe operator's program for the MAV-7700 audio interconnect gateway.\r"
    "Copyright Orvane Systems. All rights reserved.";

int full_screen_width() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry().width() : 0;
}

int screen_index(int index) {
  return index == 1 || index == 2 ? index : 0;
}

// The character a key press types for the matrix's keyboard commands. Keys held with Alt or Ctrl
// belong to the menus' accelerators.
std::optional<char> typed_character(const QKeyEvent& key) {
  if (key.modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier)) {
    return std::nullopt;
  }
  if (key.key() == Qt::Key_Escape) return kEscape;
  const QString text = key.text();
  if (text.size() != 1 || !text[0].isPrint() || text[0].unicode() > 0x7f) return std::nullopt;
  return text[0].toLatin1();
}

}  // namespace

MainWindow::MainWindow(const MainWindowParts& parts)
    : app_(parts.app),
      session_(parts.session),
      prompts_(parts.prompts),
      matrix_(parts.matrix),
      commands_(parts.commands),
      gestures_(parts.gestures),
      module_settings_(parts.module_settings),
      menus_(std::make_unique<MenuBar>(*menuBar())) {
  setWindowTitle("MAV Controller");
  setCentralWidget(&matrix_);
  link_indicator_ = new QLabel;
  link_indicator_->setObjectName("connectionIndicator");
  link_indicator_->setContentsMargins(8, 0, 8, 0);
  menuBar()->setCornerWidget(link_indicator_, Qt::TopRightCorner);
  show_link_state();
  resize_whole_window(kScreenSizes[0].width, kScreenSizes[0].height);
  connect(menuBar(), &QMenuBar::triggered, this, &MainWindow::on_action);
  register_commands();
  retry_countdown_.setInterval(1000);
  connect(&retry_countdown_, &QTimer::timeout, this, &MainWindow::show_link_state);
  // Keys reach the matrix whichever of the window's widgets holds the focus.
  QCoreApplication::instance()->installEventFilter(this);
}

MainWindow::~MainWindow() {
  QCoreApplication::instance()->removeEventFilter(this);
  // The matrix belongs to the program, not to the window.
  if (centralWidget() == &matrix_) takeCentralWidget();
}

void MainWindow::on_action(QAction* action) {
  const int command_id = action->data().toInt();
  menus_->undo_automatic_marks(*action);
  run_command(command_id);
}

void MainWindow::run_command(int command_id) {
  if (session_.replay_running.load()) {
    QTimer::singleShot(kHeldCommandRetryMs, this, [this, command_id] { run_command(command_id); });
    return;
  }
  if (console_ != nullptr && console_->take_command(command_id)) return;
  // A command may change what the matrix shows (sizes, colours, animation, hover texts).
  if (commands_.run(command_id)) apply_appearance();
}

void MainWindow::register_commands() {
  using namespace menu;
  commands_.add(kExit, [this] { close(); });
  commands_.add(kSelectSerialPort, [this] { select_serial_port(); });
  commands_.add(kSelectNetworkSite, [this] { select_network_site(); });
  for (int index = 0; index < 3; ++index) {
    commands_.add(kScreen800x600 + index, [this, index] { choose_screen_size(index); });
  }
  commands_.add(kManual, [this] { open_manual(); });
  commands_.add(kAbout, [this] { show_about(); });
}

void MainWindow::select_serial_port() {
  SerialPortDialog dialog(app_, app_.serial_name_to_show(), app_.preferences().serial_baud, this);
  prompts_.run_dialog(dialog);
}

void MainWindow::select_network_site() {
  NetworkSiteDialog dialog(app_, prompts_, this);
  prompts_.run_dialog(dialog);
  app_.save_preferences();
  repaint_matrix();
}

void MainWindow::choose_screen_size(int index) {
  for (int i = 0; i < 3; ++i) menus_->set_check(menu::kScreen800x600 + i, i == index);
  set_screen_size(index, full_screen_width() == kScreenSizes[index].width);
}

void MainWindow::set_screen_size(int index, bool maximize) {
  index = screen_index(index);
  // Stored first: the size rule checks every resize against the stored size.
  app_.store_screen_size(index);
  if (!maximize) showNormal();
  // Sized even when maximised: without a window manager nothing else would size the window.
  move(0, 0);
  resize_whole_window(kScreenSizes[index].width, kScreenSizes[index].height);
  if (maximize) showMaximized();
  apply_appearance();
}

void MainWindow::apply_appearance() {
  const Preferences prefs = app_.preferences();
  MatrixAppearance look;
  look.screen_size = screen_index(prefs.screen_size);
  look.background_color = prefs.colors.background;
  look.grid_color = prefs.colors.grid;
  look.animation_delay = prefs.animation_delay;
  look.hover_descriptions = prefs.hover_descriptions;
  if (!(look == matrix_.appearance())) matrix_.set_appearance(look);
}

void MainWindow::resize_whole_window(int width, int height) {
  const QSize frame = frameGeometry().size() - geometry().size();
  resize(width - frame.width(), height - frame.height());
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (isMaximized() || isMinimized() || isFullScreen()) return;
  const ScreenSize limit = kScreenSizes[screen_index(app_.preferences().screen_size)];
  const int client_height = event->size().height() - menuBar()->height();
  if (event->size().width() > limit.width || client_height > limit.client_height) {
    resize_whole_window(limit.width, limit.height);
  }
  matrix_.update();
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange || !isMaximized()) return;
  const int width = full_screen_width();
  const int index = width < 1024 ? 0 : width >= 1280 ? 2 : 1;
  for (int i = 0; i < 3; ++i) menus_->set_check(menu::kScreen800x600 + i, i == index);
  app_.store_screen_size(index);
  apply_appearance();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (widget != nullptr && widget->window() == this) {
      if (const auto character = typed_character(*static_cast<QKeyEvent*>(event))) {
        gestures_.on_char(*character);
        return true;
      }
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::open_manual() {
  const std::filesystem::path manual = app_.shared_directory() / "MAV C_Help.html";
  if (open_with_desktop_viewer(manual)) return;
  if (!manual_window_) {
    auto* browser = new QTextBrowser(this);
    browser->setObjectName("manualWindow");
    browser->setWindowFlag(Qt::Window);
    browser->setWindowTitle("MAV Controller Manual");
    browser->setOpenExternalLinks(true);
    browser->resize(720, 800);
    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
      connect(new QShortcut(keys, browser), &QShortcut::activated, browser, &QWidget::close);
    }
    manual_window_ = browser;
  }
  manual_window_->setSource(QUrl::fromLocalFile(QString::fromStdString(manual.string())));
  manual_window_->show();
  manual_window_->raise();
  manual_window_->activateWindow();
}

void MainWindow::show_about() {
  prompts_.tell({kAboutText, "About MAV Controller", MessageIcon::Information, true}, this);
}

void MainWindow::show_link_state() {
  const LinkStatus status = app_.link_status();
  if (status.next_attempt_s == 0) {
    retry_countdown_.stop();
  } else if (!retry_countdown_.isActive()) {
    retry_countdown_.start();
  }
  link_indicator_->setText(
      QString::fromStdString(console_ ? console_->link_text() : connection_indicator_text(status)));
  matrix_.set_contact_lost(!console_ && status.open && status.contact_lost);
  // The menu bar sizes its corner only when the corner is shown: a longer text would be cut.
  link_indicator_->hide();
  link_indicator_->show();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  finish(true);
  event->accept();
}

void MainWindow::close_without_questions() {
  finish(false);
  hide();
}

void MainWindow::finish(bool offer_exit_reminder) {
  if (finished_) return;
  finished_ = true;
  app_.shutdown(offer_exit_reminder);
  QCoreApplication::exit(0);
}

// ShellWindow

void MainWindow::set_title(const std::string& title) {
  setWindowTitle(QString::fromStdString(title));
}

void MainWindow::set_menu_check(int command_id, bool checked) {
  menus_->set_check(command_id, checked);
}

bool MainWindow::menu_checked(int command_id) const {
  return menus_->is_checked(command_id);
}

void MainWindow::show_recent_connections(const std::vector<std::string>& labels) {
  menus_->set_recent_connections(labels);
}

void MainWindow::repaint_matrix() {
  // The colours may just have changed.
  apply_appearance();
  matrix_.request_repaint();
}

void MainWindow::tell(const MessageBoxRequest& box) {
  prompts_.tell(box, this);
}

bool MainWindow::ask_yes_no(const MessageBoxRequest& box) {
  return prompts_.ask_yes_no(box, this);
}

std::optional<std::filesystem::path> MainWindow::choose_configuration_file(
    FileChoice choice, const std::filesystem::path& folder) {
  const std::unique_ptr<QFileDialog> dialog = make_configuration_dialog(choice, folder, this);
  if (prompts_.run_dialog(*dialog) != QDialog::Accepted) return std::nullopt;
  return chosen_file(*dialog);
}

bool MainWindow::ask_yes_no_showing_changes(const MessageBoxRequest& box, const Changes& changes,
                                            bool no_is_default) {
  const std::unique_ptr<QDialog> dialog = make_changes_confirmation(
      box, changes, this, [this](QDialog& list) { prompts_.run_dialog(list); }, no_is_default);
  return prompts_.run_dialog(*dialog) == QDialog::Accepted;
}

std::optional<std::filesystem::path> MainWindow::choose_from_history(
    const std::vector<HistoryRow>& rows, const ChangesOfFile& changes) {
  HistoryDialog dialog(rows, changes, this);
  if (prompts_.run_dialog(dialog) != QDialog::Accepted) return std::nullopt;
  return dialog.chosen();
}

std::string MainWindow::ask_custom_title() {
  TitleDialog dialog(app_.preferences().custom_title, this);
  prompts_.run_dialog(dialog);
  return dialog.title();
}

void MainWindow::offer_serial_port_selection() {
  select_serial_port();
}

void MainWindow::open_module_settings(int port, bool mark_open) {
  if (console_ != nullptr && console_->take_module_settings(port)) return;
  module_settings_.open_module_settings(port, mark_open, this);
}

}  // namespace mav
