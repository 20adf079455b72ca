#include "level/tomkrinfile.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "core/level/levelcodec.h"

namespace {

// Reads up to `capacity` bytes; returns the count read, or -1 when a read fails.
long readUpTo(HANDLE file, std::uint8_t* buffer, DWORD capacity) {
    DWORD total = 0;
    while (total < capacity) {
        DWORD got = 0;
        if (!ReadFile(file, buffer + total, capacity - total, &got, nullptr))
            return -1;
        if (got == 0)
            break;
        total += got;
    }
    return static_cast<long>(total);
}

std::string folderOf(const char* path) {
    const char* lastSeparator = nullptr;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/' || *p == ':')
            lastSeparator = p;
    if (!lastSeparator)
        return ".";
    std::string folder(path, lastSeparator + 1);
    return folder;
}

bool writeAll(const char* path, const LevelFileBytes& bytes) {
    // No other program may open the file while it is being written.
    HANDLE file =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size() && FlushFileBuffers(file);
    ok = CloseHandle(file) && ok;
    return ok;
}

// Windows refuses to replace a read-only file; the check keeps that promise on every system the
// program runs on, so a protected level is never overwritten.
bool isReadOnly(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

} // namespace

int caricaLivello(const char* path, Level* level) {
    HANDLE file =
        CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    LevelFileBytes bytes{};
    long size = readUpTo(file, bytes.data(), static_cast<DWORD>(bytes.size()));
    CloseHandle(file);
    if (size < 0)
        return 0;
    decodeLevel(bytes.data(), static_cast<std::size_t>(size), *level);
    return 1;
}

int salvaLivello(const Level* level, const char* path) {
    if (!path || !*path || isReadOnly(path))
        return 0;
    char temporary[MAX_PATH];
    if (!GetTempFileNameA(folderOf(path).c_str(), "tk", 0, temporary))
        return 0;
    if (!writeAll(temporary, encodeLevel(*level)) ||
        !MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temporary);
        return 0;
    }
    return 1;
}
