#include "Options.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace mav::sim {
namespace {

bool to_int(const std::string& text, int low, int high, int& value) {
  const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
  return failure == std::errc() && end == text.data() + text.size() && value >= low &&
         value <= high;
}

}  // namespace

std::string usage_text() {
  return "usage: mav7700-sim [--tcp HOST:PORT] [--pty LINKPATH|-] "
         "[--lineup STRING | --lineup-file FILE | --preset half] [--buses 1-7] "
         "[--control-port N] [--script FILE] [--demo] [--seed N] [--transcript FILE]";
}

bool parse_options(const std::vector<std::string>& args, Options& options, std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& flag = args[i];
    if (flag == "--demo") {
      options.demo = true;
      continue;
    }
    if (flag == "--help") {
      error = usage_text();
      return false;
    }
    if (i + 1 >= args.size()) {
      error = flag + ": missing value\n" + usage_text();
      return false;
    }
    const std::string& value = args[++i];
    int number = 0;
    if (flag == "--tcp") {
      options.tcp = value;
    } else if (flag == "--pty") {
      options.pty = value;
    } else if (flag == "--lineup" || flag == "--lineup-file") {
      std::string text = value;
      if (flag == "--lineup-file") {
        std::ifstream file(value);
        std::stringstream content;
        content << file.rdbuf();
        if (!file) {
          error = "cannot read " + value;
          return false;
        }
        text = content.str();
      }
      const std::optional<Lineup> lineup = parse_lineup(text);
      if (!lineup) {
        error = "a line-up is up to 26 characters 0-5 or '-' (empty port)";
        return false;
      }
      options.lineup = *lineup;
    } else if (flag == "--preset") {
      if (value != "half") {
        error = "the only preset is half";
        return false;
      }
      options.lineup = half_lineup();
    } else if (flag == "--buses" && to_int(value, 1, 7, number)) {
      options.buses = number;
    } else if (flag == "--control-port" && to_int(value, 0, 65535, number)) {
      options.control_port = number;
    } else if (flag == "--seed" && to_int(value, 0, 2147483647, number)) {
      options.seed = static_cast<std::uint32_t>(number);
    } else if (flag == "--script") {
      options.script_path = value;
    } else if (flag == "--transcript") {
      options.transcript_path = value;
    } else {
      error = "bad option " + flag + " " + value + "\n" + usage_text();
      return false;
    }
  }
  if (!options.tcp && !options.pty) {
    error = "nothing to serve: give --tcp HOST:PORT and/or --pty LINKPATH\n" + usage_text();
    return false;
  }
  return true;
}

}  // namespace mav::sim
