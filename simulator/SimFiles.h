// File access for everything the simulator reads from outside (configuration, state, requests):
// bounded reads that never follow a link or block on a pipe, and writes that appear whole.
#pragma once

#include <string>
#include <string_view>

namespace simfiles {

// Reads at most maxSize bytes; false when the file is missing (error empty), unreadable, not a
// regular file or larger.
bool readSmallFile(const std::string& path, size_t maxSize, std::string& text, std::string& error);

// Writes beside the target and renames, so a reader sees the old file or the new one.
bool writeFileAtomically(const std::string& path, std::string_view text, std::string& error);

}  // namespace simfiles
