#include "salvo/SalvoFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <nlohmann/json.hpp>
#include <system_error>
#include <utility>

#include "matrix/ConnectionActions.h"
#include "model/PortRecord.h"
#include "platform/AtomicFile.h"
#include "protocol/ModelNames.h"

namespace mav {
namespace {

using Json = nlohmann::json;
using OrderedJson = nlohmann::ordered_json;

constexpr std::size_t kLargestFile = 1 << 16;  // a salvo names 26 ports at most
constexpr mode_t kPrivate = S_IRUSR | S_IWUSR;

std::filesystem::path salvo_path(const std::filesystem::path& program_directory,
                                 std::string_view name) {
  return program_directory / kSalvoFolderName / (std::string(name) + ".json");
}

OrderedJson port_list(const std::vector<int>& ports) {
  OrderedJson list = OrderedJson::array();
  for (const int port : ports) list.push_back(port);
  return list;
}

// Reads the file's parts into a salvo, or stops at the first fault with its sentence.
class Decoder {
 public:
  std::optional<Salvo> decode(const Json& file) {
    if (!file.is_object()) {
      fail("The salvo file does not hold a salvo.");
      return std::nullopt;
    }
    const auto name = file.find("name");
    if (name == file.end() || !name->is_string() || !IsSalvoName(name->get<std::string>())) {
      fail("The salvo has no usable name.");
      return std::nullopt;
    }
    salvo_.name = name->get<std::string>();
    if (!read_ports(file) || !read_nets(file) || !read_free(file) || !read_monitors(file)) {
      return std::nullopt;
    }
    return salvo_;
  }

  std::string error;

 private:
  bool fail(std::string sentence) {
    error = std::move(sentence);
    return false;
  }

  // A missing part is an empty one; a part of another kind is a fault.
  const Json* part(const Json& file, const char* key) {
    static const Json empty = Json::array();
    const auto found = file.find(key);
    if (found == file.end()) return &empty;
    if (found->is_array()) return &*found;
    fail(std::string("The salvo's \"") + key + "\" is not a list.");
    return nullptr;
  }

  std::optional<int> port_number(const Json& value) {
    if (!value.is_number_integer()) {
      fail("A port of the salvo is not a port number.");
      return std::nullopt;
    }
    const auto number = value.get<std::int64_t>();
    if (number < 0 || number >= kPortCount) {
      fail("Port " + std::to_string(number) + " is not a port of the gateway.");
      return std::nullopt;
    }
    return static_cast<int>(number);
  }

  // A port used by a net, the free list or the monitors, which the port list must name.
  std::optional<int> used_port(const Json& value) {
    const auto port = port_number(value);
    if (port && salvo_.find(*port) == nullptr) {
      fail(port_text(*port) + " is used but its module is not given.");
      return std::nullopt;
    }
    return port;
  }

  // Each port may be in one net or on the free list, not both.
  bool place(int port) {
    if (std::exchange(placed_[static_cast<std::size_t>(port)], true)) {
      return fail(port_text(port) + " is in more than one net or also to be freed.");
    }
    return true;
  }

  bool read_ports(const Json& file) {
    const Json* ports = part(file, "ports");
    if (ports == nullptr) return false;
    for (const Json& entry : *ports) {
      if (!entry.is_object()) return fail("A port of the salvo is not described.");
      const auto port = port_number(entry.value("port", Json()));
      if (!port) return false;
      const auto module = entry.find("module");
      const auto name = entry.find("name");
      const int type = module != entry.end() && module->is_string()
                           ? model_type_named(module->get_ref<const std::string&>())
                           : 0;
      if (type == 0) return fail(port_text(*port) + " has no known module type.");
      if (name == entry.end() || !name->is_string()) {
        return fail(port_text(*port) + " has no port name.");
      }
      if (salvo_.find(*port) != nullptr) return fail(port_text(*port) + " is listed twice.");
      salvo_.ports.push_back({*port, static_cast<std::uint32_t>(type), name->get<std::string>()});
    }
    std::sort(salvo_.ports.begin(), salvo_.ports.end(),
              [](const SalvoPort& a, const SalvoPort& b) { return a.port < b.port; });
    return true;
  }

  bool read_nets(const Json& file) {
    const Json* nets = part(file, "nets");
    if (nets == nullptr) return false;
    for (const Json& entry : *nets) {
      if (!entry.is_array() || entry.size() < 2) {
        return fail("A net of the salvo does not list at least two ports.");
      }
      std::vector<int>& net = salvo_.nets.emplace_back();
      for (const Json& value : entry) {
        const auto port = used_port(value);
        if (!port || !place(*port)) return false;
        net.push_back(*port);
      }
    }
    return true;
  }

  bool read_free(const Json& file) {
    const Json* free = part(file, "free");
    if (free == nullptr) return false;
    for (const Json& value : *free) {
      const auto port = used_port(value);
      if (!port || !place(*port)) return false;
      salvo_.free.push_back(*port);
    }
    return true;
  }

  bool read_monitors(const Json& file) {
    const Json* monitors = part(file, "monitors");
    if (monitors == nullptr) return false;
    std::array<bool, kPortCount> listed{};
    for (const Json& entry : *monitors) {
      if (!entry.is_object() || !entry.contains("monitoring") || !entry["monitoring"].is_array()) {
        return fail("A monitor list of the salvo is not described.");
      }
      const Json& list = entry["monitoring"];
      const auto port = used_port(entry.value("port", Json()));
      if (!port) return false;
      if (std::exchange(listed[static_cast<std::size_t>(*port)], true)) {
        return fail(port_text(*port) + " has more than one monitor list.");
      }
      SalvoMonitors& monitors_of = salvo_.monitors.emplace_back(SalvoMonitors{*port, {}});
      for (const Json& value : list) {
        const auto monitored = used_port(value);
        if (!monitored) return false;
        if (*monitored == *port ||
            std::count(monitors_of.monitored.begin(), monitors_of.monitored.end(), *monitored)) {
          return fail(port_text(*port) + " monitors a port twice or itself.");
        }
        monitors_of.monitored.push_back(*monitored);
      }
    }
    return true;
  }

  Salvo salvo_;
  std::array<bool, kPortCount> placed_{};
};

}  // namespace

const SalvoPort* Salvo::find(int port) const {
  const auto found = std::find_if(ports.begin(), ports.end(),
                                  [port](const SalvoPort& p) { return p.port == port; });
  return found == ports.end() ? nullptr : &*found;
}

std::string EncodeSalvo(const Salvo& salvo) {
  OrderedJson ports = OrderedJson::array();
  for (const SalvoPort& port : salvo.ports) {
    ports.push_back({{"port", port.port},
                     {"module", std::string(model_name(static_cast<int>(port.mod_type)))},
                     {"name", port.name}});
  }
  OrderedJson nets = OrderedJson::array();
  for (const std::vector<int>& net : salvo.nets) nets.push_back(port_list(net));
  OrderedJson monitors = OrderedJson::array();
  for (const SalvoMonitors& entry : salvo.monitors) {
    monitors.push_back({{"port", entry.port}, {"monitoring", port_list(entry.monitored)}});
  }
  const OrderedJson file{{"name", salvo.name},
                         {"ports", ports},
                         {"nets", nets},
                         {"free", port_list(salvo.free)},
                         {"monitors", monitors}};
  return file.dump(2, ' ', false, OrderedJson::error_handler_t::replace) + "\n";
}

SalvoReading DecodeSalvo(std::string_view text) {
  const Json file = Json::parse(text.begin(), text.end(), nullptr, false);
  if (file.is_discarded()) return {std::nullopt, "The salvo file is not valid JSON."};
  Decoder decoder;
  std::optional<Salvo> salvo = decoder.decode(file);
  return {std::move(salvo), std::move(decoder.error)};
}

bool IsSalvoName(std::string_view name) {
  return !name.empty() && name.front() != '.' && name.find('/') == std::string_view::npos &&
         name.find('\0') == std::string_view::npos;
}

bool SaveSalvo(const std::filesystem::path& program_directory, const Salvo& salvo) {
  if (!IsSalvoName(salvo.name) || !make_private_folder(program_directory / kSalvoFolderName)) {
    return false;
  }
  const std::string text = EncodeSalvo(salvo);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  return write_file_atomically(salvo_path(program_directory, salvo.name), {bytes, text.size()},
                               kPrivate);
}

SalvoReading LoadSalvo(const std::filesystem::path& program_directory, std::string_view name) {
  if (!IsSalvoName(name)) return {std::nullopt, "\"" + std::string(name) + "\" is no salvo name."};
  const auto bytes = read_whole_file(salvo_path(program_directory, name), kLargestFile);
  if (!bytes) return {std::nullopt, "There is no salvo \"" + std::string(name) + "\"."};
  if (bytes->size() == kLargestFile) return {std::nullopt, "The salvo file is too large."};
  return DecodeSalvo({reinterpret_cast<const char*>(bytes->data()), bytes->size()});
}

std::vector<std::string> ListSalvos(const std::filesystem::path& program_directory) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry :
       std::filesystem::directory_iterator(program_directory / kSalvoFolderName, error)) {
    const std::filesystem::path& file = entry.path();
    if (file.extension() == ".json" && IsSalvoName(file.stem().string())) {
      names.push_back(file.stem().string());
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool DeleteSalvo(const std::filesystem::path& program_directory, std::string_view name) {
  std::error_code error;
  return IsSalvoName(name) && std::filesystem::remove(salvo_path(program_directory, name), error);
}

}  // namespace mav
