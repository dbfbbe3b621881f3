// File access for everything the simulator reads from outside (configuration, state, requests):
// bounded reads that never follow a link or block on a pipe, and writes that appear whole. The
// few folder operations the control spool needs sit here too, so that only the per-OS halves
// (SimFilesPosix.cpp, SimFilesWindows.cpp) speak to the system. Paths are UTF-8 with '/'.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace simfiles {

// A time on the system's wall clock, as precise as the file system keeps it.
struct FileTime {
    int64_t seconds = 0;  // since 1970
    int64_t nanoseconds = 0;
    bool operator==(const FileTime& other) const {
        return seconds == other.seconds && nanoseconds == other.nanoseconds;
    }
};

// Reads at most maxSize bytes; false when the file is missing (error empty), unreadable, not a
// regular file or larger.
bool readSmallFile(const std::string& path, size_t maxSize, std::string& text, std::string& error);

// Writes beside the target and renames, so a reader sees the old file or the new one.
bool writeFileAtomically(const std::string& path, std::string_view text, std::string& error);

bool removeFile(const std::string& path);

// Creates one folder, private to the user where the system has modes; true when a folder is
// there afterwards, whoever made it.
bool makeFolder(const std::string& path);
bool isFolder(const std::string& path);
// When the file or folder was last changed (a link's own time unless followLink); false when it is
// missing.
bool lastChange(const std::string& path, FileTime& time, bool followLink);
// The names in a folder, without "." and ".."; false when it cannot be listed.
bool listFolder(const std::string& path, std::vector<std::string>& names);

// An environment variable's value; empty when it is unset or longer than maxLength bytes.
std::string environment(const char* name, size_t maxLength);

FileTime now();
// A number no other running process has.
unsigned long processId();

}  // namespace simfiles
