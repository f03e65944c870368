#include "app/ui/ControllerProgram.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QMetaObject>
#include <QScreen>
#include <QTimer>
#include <csignal>
#include <cstdlib>
#include <ctime>

#include "app/WindowTitles.h"
#include "app/ui/ServiceDialog.h"
#include "frontend/MenuIds.h"
#include "matrix/ui/ColorSchemeDialog.h"

namespace mav {
namespace {

int full_screen_width() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry().width() : 0;
}

// How a service knows a console attached from the command line, unless its token names it.
std::string console_name() {
  const char* user = std::getenv("USER");
  return user != nullptr && *user != '\0' ? user : "console";
}

int window_width_of(int screen_size) {
  switch (screen_size) {
    case 1:
      return 1024;
    case 2:
      return 1280;
    default:
      return 800;
  }
}

}  // namespace

ControllerProgram::ControllerProgram(const ProgramFolders& folders, OperatorPrompts& prompts,
                                     RunConnection run)
    : prompts_(prompts),
      run_(std::move(run)),
      frontend_(ui_object_),
      automation_(clock_, frontend_, folders),
      engine_(EngineHost{clock_, automation_.engine_frontend(), folders,
                         [this](std::chrono::milliseconds pause, std::function<void()> rest) {
                           QTimer::singleShot(pause, &ui_object_, std::move(rest));
                         },
                         icons_}),
      sockets_(engine_.socket_events()),
      command_registry_([this](const std::string& fault) { log().write_log_entry(fault); }),
      app_(ApplicationParts{engine_.model(), engine_.log(), engine_.link(), engine_.contact(),
                            engine_.keeper(), engine_.session(), engine_.commands(), engine_.pins(),
                            automation_.engine_frontend(), template_names_},
           folders),
      sections_(app_.preferences_store(),
                [this] {
                  if (window_) window_->repaint_matrix();
                }),
      gesture_hooks_(app_, engine_.configurations()),
      slides_(engine_.model(), clock_),
      port_view_(icons_, slides_,
                 [this](const SlideStep& step) {
                   QMetaObject::invokeMethod(
                       &ui_object_,
                       [this, step] {
                         if (screen_) screen_->after_slide_step(step);
                       },
                       Qt::QueuedConnection);
                 }),
      dial_dialogs_(DialParts{engine_.model(), engine_.link(), engine_.log(), clock_},
                    sections_.phone_book(), prompts_, ui_object_),
      module_files_(prompts_),
      templates_(TemplateParts{engine_.settings_writer(), module_files_, template_names_,
                               folders.program}) {
  // A telephone line reached by a client's connect is dialled by the client, others by the
  // operator.
  engine_.attach(EngineHooks{app_, port_view_, automation_, app_, sockets_});
}

ControllerProgram::~ControllerProgram() {
  // The worker and the channel call into the window; both stop before it goes away.
  engine_.stop();
  engine_.link().close();
  automation_.detach();
  console_.reset();
  security_.reset();
  trace_window_.reset();
  overview_window_.reset();
  salvos_window_.reset();
  salvo_desk_.reset();
  screen_.reset();
  window_.reset();
}

ModuleDialogFeatures ControllerProgram::module_features() {
  return {
      [this](int port, const PortRecord& working_copy) {
        return templates_.SaveTemplate(port, working_copy);
      },
      [this](int port, PortRecord& working_copy) { templates_.LoadTemplate(port, working_copy); },
      [this](QWidget*) -> std::optional<std::string> {
        const auto path = templates_.SelectCustomIcon();
        if (!path) return std::nullopt;
        return path->string();
      },
      [this](int port, QWidget* owner) { dial_dialogs_.OpenDialDialog(port, owner); },
      [this](int port) { return templates_.TakeLoadedTemplateName(port); },
      [this] { templates_.forget_loaded_template(); },
      {}};  // OK and Apply send on this program's own link
}

bool ControllerProgram::init() {
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  const PreferencesOrigin origin = app_.load_settings(full_screen_width());
  if (origin == PreferencesOrigin::Replaced) {
    prompts_.tell({"New Preferences file created", "MAV Controller", MessageIcon::None, false},
                  nullptr);
  }

  if (!icons_.LoadAll()) return false;
  matrix_ = std::make_unique<MatrixWidget>(model(), slides_, icons_);
  gestures_ = std::make_unique<MatrixGestures>(engine_.action_parts(gesture_hooks_), clock_,
                                               slides_, *matrix_);
  matrix_->set_gestures(*gestures_);
  module_settings_ = std::make_unique<ModuleSettingsOpener>(ModuleOpenerParts{
      ModuleDialogParts{model(), link(), settings_writer(), session(), icons_, frontend_, prompts_,
                        app_.program_directory(), app_.shared_directory(), module_features()},
      session(), [this](int port) { return template_names_.template_name(port); }});
  window_ = std::make_unique<MainWindow>(MainWindowParts{
      app_, session(), prompts_, *matrix_, command_registry_, *gestures_, *module_settings_});
  app_.register_commands(command_registry_);
  security_ = std::make_unique<SecurityCommands>(
      SecurityParts{pins(), session().security_mode, model(), sections_.protection(), prompts_,
                    [this](std::string_view line) { link().send_line(line, true); }, *window_});
  security_->register_commands(command_registry_);
  gestures_->register_commands(command_registry_, security_->guard());
  gesture_hooks_.attach(*window_, security_->guard());
  log_viewers_ = std::make_unique<LogViewers>(
      LogViewerParts{log(), app_.program_directory(), prompts_, *window_,
                     [this](const std::string& path) { app_.store_log_file_name(path); }});
  log_viewers_->register_commands(command_registry_);
  engine_.trace().start();  // before the link opens: the trace holds the synchronisation too
  trace_window_ = std::make_unique<TraceWindow>(engine_.trace(), prompts_);
  trace_window_->register_commands(command_registry_);
  overview_window_ = std::make_unique<OverviewWindow>(engine_.clock());
  overview_window_->register_commands(command_registry_);
  command_registry_.add(menu::kSelectService, [this] { choose_service(); });
  salvo_desk_ = std::make_unique<SalvoDesk>(engine_, gesture_hooks_);
  salvos_window_ = std::make_unique<SalvosWindow>(*salvo_desk_, window_.get());
  command_registry_.add(menu::kSalvos, [this] {
    salvos_window_->refresh();
    salvos_window_->show();
    salvos_window_->raise();
  });
  command_registry_.add(menu::kSaveSalvo, [this] { save_salvo(); });
  automation_.attach(engine_, dial_dialogs_, *matrix_, *gestures_);
  automation_.service()->set_site_name([this] { return std::string(site_of_title(app_.title())); });
  automation_.register_commands(command_registry_);
  command_registry_.add(menu::kDetachService, [this] { detach_service(); });
  register_color_scheme_command(command_registry_, sections_.colors(), prompts_, *window_);
  configurations().register_commands(command_registry_, *window_);
  window_->set_title("MAV Controller");
  screen_ = std::make_unique<WindowFrontend>(WindowFrontendParts{
      *window_, *matrix_, app_, session(), prompts_, slides_, *module_settings_});
  frontend_.set_target(*screen_, session().worker_wake);
  dial_dialogs_.set_owner(*window_);
  module_files_.set_owner(*window_);
  app_.attach_window(*window_);
  app_.set_custom_icon_loader([this](const std::string& path, int previous) {
    return icons_.LoadCustom(path.c_str(), previous);
  });

  model().Reset(false);
  app_.connect_at_startup(run_);
  if (run_.kind == RunConnection::Kind::Service) {
    attach_service({console_name(), run_.device, run_.token});
  } else {
    automation_.start_as_stored();
  }

  const int screen_size = app_.preferences().screen_size;
  window_->set_screen_size(screen_size, full_screen_width() == window_width_of(screen_size));
  app_.invert_save_slot();
  configurations().set_save_slot(app_.preferences().auto_save_slot);
  // The first frame reaches the screen before the program reports itself running.
  matrix_->paint_now();
  matrix_->repaint();
  engine_.keeper().start_keepalive();
  app_.report_running();
  return true;
}

void ControllerProgram::attach_service(const ServiceEntry& service) {
  console_.reset();
  automation_.serve(false, false);       // the link it would serve is closing
  engine_.keeper().stop_reconnecting();  // a retry after an earlier drop would reopen the link
  link().close();
  session().cancel_selection();
  session().input_ready = true;  // no synchronisation of our own will end
  console_ =
      std::make_unique<ConsoleSession>(ConsoleParts{model(), *gestures_, *matrix_, *window_,
                                                    *module_settings_, prompts_, engine_.trace()},
                                       service);
}

void ControllerProgram::detach_service() {
  if (!console_) return;
  console_.reset();
  model().Reset(false);
  app_.connect_at_startup(run_.kind == RunConnection::Kind::Service ? RunConnection{} : run_);
  window_->repaint_matrix();
}

void ControllerProgram::choose_service() {
  const std::filesystem::path file = app_.program_directory() / kServicesFileName;
  ServiceDialog dialog(read_services_file(file), window_.get());
  prompts_.run_dialog(dialog);
  const std::optional<ServiceEntry> chosen = dialog.chosen();
  if (!chosen) return;
  remember_service(file, *chosen);
  attach_service(*chosen);
}

void ControllerProgram::save_salvo() {
  SaveSalvoDialog dialog(window_.get());
  if (prompts_.run_dialog(dialog) != QDialog::Accepted) return;
  const std::string why = salvo_desk_->save(dialog.name(), dialog.ports());
  if (!why.empty()) {
    prompts_.tell({why, "MAV Controller", MessageIcon::Exclamation, false}, window_.get());
  }
  if (salvos_window_->isVisible()) salvos_window_->refresh();
}

int ControllerProgram::run() {
  engine_.start();
  const int exit_code = QCoreApplication::exec();
  engine_.stop();
  link().close();
  return exit_code;
}

void ControllerProgram::terminate() {
  if (window_) window_->close_without_questions();
}

namespace {

// A signal handler can only write to a descriptor: the pipe carries the signal to the UI thread.
int signal_pipe[2] = {-1, -1};

void on_signal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t ignored = ::write(signal_pipe[1], &byte, 1);
}

}  // namespace

void end_program_on_signals(ControllerProgram& program, QObject& context) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signal_pipe) != 0) return;
  auto* notifier = new QSocketNotifier(signal_pipe[0], QSocketNotifier::Read, &context);
  QObject::connect(notifier, &QSocketNotifier::activated, &context, [&program, notifier] {
    char byte = 0;
    [[maybe_unused]] const ssize_t ignored = ::read(signal_pipe[0], &byte, 1);
    notifier->setEnabled(false);
    program.terminate();
  });
  struct sigaction action {};
  action.sa_handler = on_signal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGTERM, &action, nullptr);
  ::sigaction(SIGINT, &action, nullptr);
}

}  // namespace mav
