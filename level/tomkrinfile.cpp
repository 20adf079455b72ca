#include "level/tomkrinfile.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "core/files/stagedfile.h"
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
    if (!path || !*path)
        return 0;
    const LevelFileBytes bytes = encodeLevel(*level);
    StagedFile file;
    if (!file.open(path))
        return 0;
    file.write(bytes.data(), bytes.size());
    return file.commit() ? 1 : 0;
}
