// Salvos on disk: one JSON file per salvo, Salvos/NAME.json in the program directory, private to
// its owner like the configuration files since it names the site's ports. The reader never
// throws: whatever it is given, it answers a salvo or one sentence saying what is wrong.
// Any thread; concurrent writers of one salvo must serialise themselves.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "salvo/Salvo.h"

namespace mav {

inline constexpr const char* kSalvoFolderName = "Salvos";

struct SalvoReading {
  std::optional<Salvo> salvo;
  std::string error;  // empty when salvo holds a value
};

// The file's text, indented, module types by model name ("TOV-5").
std::string EncodeSalvo(const Salvo& salvo);
SalvoReading DecodeSalvo(std::string_view text);

// A name that can be a file name of the folder: not empty, no '/', not starting with '.'.
bool IsSalvoName(std::string_view name);

// False when the name is no salvo name or the file cannot be written.
bool SaveSalvo(const std::filesystem::path& program_directory, const Salvo& salvo);
SalvoReading LoadSalvo(const std::filesystem::path& program_directory, std::string_view name);
// The names of the salvo files present, sorted.
std::vector<std::string> ListSalvos(const std::filesystem::path& program_directory);
bool DeleteSalvo(const std::filesystem::path& program_directory, std::string_view name);

}  // namespace mav
