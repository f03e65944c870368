#include "modules/ModuleTemplates.h"

#include "modules/TemplateFile.h"
#include "platform/AtomicFile.h"

namespace mav {
namespace {

constexpr const char* kCaption = "MAV Controller";

constexpr const char* kVoqLoadQuestion =
    "Loading a template will overwrite the current module settings.\rYou may want to save the "
    "current settings before proceeding.\r\rProper usage of templates from Orvane requires that "
    "radio and cable\rare configured as instructed in the associated Application Notes.\r\rSee "
    "VOQ Help for final tune-up procedure and for overall setup\rinstructions when no template "
    "is available.\r\rClick OK to continue loading template, or click Cancel to save\rcurrent "
    "settings or to review the Application Notes.";
constexpr const char* kLoadQuestion =
    "Loading a template will overwrite the current module settings.\rYou may want to save the "
    "current settings before proceeding.\r\rClick OK to continue loading template.";

std::string file_title(const std::filesystem::path& file) {
  return file.filename().string();
}

}  // namespace

ModuleTemplates::ModuleTemplates(TemplateParts parts) : parts_(std::move(parts)) {}

std::optional<std::filesystem::path> ModuleTemplates::choose(FileRequest request,
                                                             const char* folder) {
  request.folder = parts_.program_directory / folder;
  std::error_code ignored;
  std::filesystem::create_directories(request.folder, ignored);
  return parts_.prompts.choose_file(request);
}

void ModuleTemplates::tell(const char* text, MessageIcon icon) {
  parts_.prompts.tell({text, kCaption, icon, true});
}

std::optional<std::string> ModuleTemplates::SaveTemplate(int port, const PortRecord& working_copy) {
  const std::optional<std::filesystem::path> file =
      choose({"Save Template", {"Templates (*.mod)"}, "mod", {}, true}, "Templates");
  if (!file) return std::nullopt;
  if (!write_file_atomically(*file, EncodeTemplate(working_copy))) {
    tell("Template file could not be opened", MessageIcon::None);
    return std::nullopt;
  }
  const std::string title = file_title(*file);
  parts_.names.set_template_name(port, title);
  return title;
}

bool ModuleTemplates::LoadTemplate(int port, PortRecord& working_copy) {
  const char* question = working_copy.mod_type == MOD_VOQ3 ? kVoqLoadQuestion : kLoadQuestion;
  if (!parts_.prompts.ask_ok_cancel({question, "Please Note", MessageIcon::Information, true})) {
    return false;
  }
  const std::optional<std::filesystem::path> file =
      choose({"Load Template", {"Template files (*.mod)"}, "mod", {}, false}, "Templates");
  if (!file) return false;
  const auto bytes = read_whole_file(*file, kTemplateFileSize);
  if (!bytes) {
    tell("The template file could not be opened", MessageIcon::None);
    return false;
  }
  PortRecord loaded = DecodeTemplate(*bytes);
  if (loaded.mod_type != working_copy.mod_type) {
    tell("The template file is the wrong module type", MessageIcon::Exclamation);
    return false;
  }
  loaded.settings.security_level = working_copy.settings.security_level;
  working_copy.settings = loaded.settings;
  parts_.writer.WriteModuleSettings(port, working_copy, nullptr);
  loaded_title_ = file_title(*file);
  template_loaded_ = true;
  return true;
}

std::optional<std::string> ModuleTemplates::TakeLoadedTemplateName(int port) {
  if (!template_loaded_) return std::nullopt;
  parts_.names.set_template_name(port, loaded_title_);
  return loaded_title_;
}

void ModuleTemplates::forget_loaded_template() {
  template_loaded_ = false;
}

std::optional<std::filesystem::path> ModuleTemplates::SelectCustomIcon() {
  // Bitmaps as the icons have always been; PNG images serve as well.
  return choose(
      {"Select Custom Icon", {"Bitmap files (*.bmp)", "PNG images (*.png)"}, "bmp", {}, false},
      "Icons");
}

}  // namespace mav
