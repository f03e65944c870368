// Whole-file writes that never leave a half-written file behind: the bytes go to a temporary file
// beside the target, are flushed to disk, and the temporary file is renamed over the target.
// Otherwise they behave as opening the file for writing would: a symbolic link is written through
// to the file it leads to (the link stays), and a file that may not be written is left alone.
// Any thread; concurrent writers of one file must serialise themselves.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace mav {

// False when the target is read-only (no write permission for this process, or none at all) or the
// temporary file cannot be written or renamed; the old file is then untouched. The file ends up
// with the permission bits `mode` (less the process's umask), whatever an earlier file had.
bool write_file_atomically(const std::filesystem::path& file, std::span<const std::uint8_t> bytes,
                           mode_t mode = 0644);

// Creates the folder and its missing parents, and makes the folder itself private to its owner
// (mode 0700), also when it existed before: it holds files that carry the PIN table. False when
// the folder cannot be made.
bool make_private_folder(const std::filesystem::path& folder);

// The whole file, or nothing when it cannot be opened. At most `limit` bytes are read, so a
// stray huge file cannot exhaust memory.
std::optional<std::vector<std::uint8_t>> read_whole_file(const std::filesystem::path& file,
                                                         std::size_t limit);

}  // namespace mav
