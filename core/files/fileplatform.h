#pragma once
// The file operations that differ between Windows and POSIX systems.
#include <cstdint>
#include <cstdio>
#include <string>

// Creates `path` and opens it for binary writing, but only if no file of that name exists yet;
// nullptr otherwise.
std::FILE* createNewFile(const std::string& path);

// Writes what the system still holds of `file` to the disk; false if that fails.
bool syncFile(std::FILE* file);

// Renames `from` to `to`, replacing a file that already has that name, unless that file is
// read-only: then false with errno EACCES, the system's "Permission denied", on every system.
bool replaceFile(const std::string& from, const std::string& to);

// Whether both paths name one existing file, however they are spelt ("./game.cas", another
// folder's path to it, a link to it). False when either does not exist.
bool isSameFile(const std::string& a, const std::string& b);

// The length of the open `file` in bytes, beyond 4 GB as well; false if the system cannot say.
bool fileSize(std::FILE* file, std::uint64_t& size);

// Moves the read position of `file` to `offset` from its start, beyond 4 GB as well.
bool seekFile(std::FILE* file, std::uint64_t offset);
