// The bytes of a template file: one port's whole record, saved from one port's settings dialog
// and loaded into another's. The current layout is the format number 1001 followed by the record
// image; files of the older layout hold the record alone, with some settings at other offsets.
// Pure functions; any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "model/PortRecord.h"

namespace mav {

inline constexpr std::int32_t kTemplateMagic = 1001;
inline constexpr std::size_t kTemplateFileSize = 4 + sizeof(PortRecord);

// The whole file: the format number, then the record image.
std::vector<std::uint8_t> EncodeTemplate(const PortRecord& record);

// The record a template file holds, in either layout (a file that does not start with the format
// number is an old one). Only mod_type and the settings block are taken; everything else reads
// as zero, and so does whatever a short file lacks.
PortRecord DecodeTemplate(std::span<const std::uint8_t> bytes);

}  // namespace mav
