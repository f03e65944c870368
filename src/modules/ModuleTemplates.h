// Templates of a module's settings, and the custom icon file choice of the same dialog: a port's
// settings are saved to a ".mod" file in "Templates" and loaded into any port with the same
// module, which sends them all to the gateway at once. The name of the last template saved or
// loaded for a port is kept with the site. UI thread (the operator chooses the files).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "frontend/Frontend.h"
#include "model/PortRecord.h"
#include "modules/SettingsWriter.h"

namespace mav {

// A file dialog: its title, name filters ("Templates (*.mod)"), the extension added to a name
// typed without one, and the folder it starts in. A save dialog asks before overwriting a file.
struct FileRequest {
  std::string title;
  std::vector<std::string> filters;
  std::string default_suffix;
  std::filesystem::path folder;
  bool saving = false;
};

// What the templates ask of the operator; the main window carries it. Every call waits.
class ModuleFilePrompts {
 public:
  virtual ~ModuleFilePrompts() = default;
  // The chosen file, or nothing when cancelled.
  virtual std::optional<std::filesystem::path> choose_file(const FileRequest& request) = 0;
  virtual void tell(const MessageBoxRequest& box) = 0;
  // True for OK.
  virtual bool ask_ok_cancel(const MessageBoxRequest& box) = 0;
};

// The per-port template names of the site in use. Any thread.
class TemplateNames {
 public:
  virtual ~TemplateNames() = default;
  virtual void set_template_name(int port, const std::string& file_title) = 0;
};

struct TemplateParts {
  SettingsWriter& writer;
  ModuleFilePrompts& prompts;
  TemplateNames& names;
  std::filesystem::path program_directory;
};

class ModuleTemplates {
 public:
  explicit ModuleTemplates(TemplateParts parts);

  // The working copy of `port`'s dialog into a file the operator names; the file's title (name
  // with extension) when saved, which also becomes the port's template name.
  std::optional<std::string> SaveTemplate(int port, const PortRecord& working_copy);
  // After the operator confirms and picks a file of the same module type: its settings replace
  // the working copy's (the port keeps its own security level, name and icon) and every setting
  // goes to the gateway for `port`. False when nothing was loaded.
  bool LoadTemplate(int port, PortRecord& working_copy);
  // The title of the template loaded since the dialog opened, which also becomes `port`'s
  // template name; nothing when none was loaded. It stays available until the dialog closes.
  std::optional<std::string> TakeLoadedTemplateName(int port);
  // The settings dialog closed.
  void forget_loaded_template();

  // A bitmap for a port's custom icon, from "Icons"; its full path, or nothing when cancelled.
  std::optional<std::filesystem::path> SelectCustomIcon();

 private:
  std::optional<std::filesystem::path> choose(FileRequest request, const char* folder);
  void tell(const char* text, MessageIcon icon);

  TemplateParts parts_;
  std::string loaded_title_;
  bool template_loaded_ = false;
};

}  // namespace mav
