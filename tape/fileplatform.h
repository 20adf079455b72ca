#pragma once
// The two file operations that differ between Windows and POSIX systems.
#include <cstdio>
#include <string>

// Creates `path` and opens it for binary writing, but only if no file of that name exists yet;
// nullptr otherwise.
std::FILE* createNewFile(const std::string& path);

// Renames `from` to `to`, replacing a file that already has that name.
bool replaceFile(const std::string& from, const std::string& to);
