// Reading members of a line from the service without trusting it: a member that is missing or
// of another type reads as absent, never as an exception.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace mav {

inline const nlohmann::json* member(const nlohmann::json& object, const char* key) {
  if (!object.is_object()) return nullptr;
  const auto found = object.find(key);
  return found == object.end() ? nullptr : &*found;
}

inline std::string string_member(const nlohmann::json& object, const char* key) {
  const nlohmann::json* value = member(object, key);
  return value != nullptr && value->is_string() ? value->get<std::string>() : std::string();
}

inline std::optional<std::int64_t> integer_member(const nlohmann::json& object, const char* key) {
  const nlohmann::json* value = member(object, key);
  if (value == nullptr || !value->is_number_integer()) return std::nullopt;
  return value->get<std::int64_t>();
}

}  // namespace mav
