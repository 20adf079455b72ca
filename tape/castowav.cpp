#include "tape/castowav.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "util/editorglobals.h"
#include "core/editor/converterline.h"
#include "tape/processwait.h"
#include "util/fileutil.h"
#include "util/seams.h"

namespace {

const char kConverterProgram[] = "cas2wav.exe";
const char kConversionCaption[] = "Convert .CAS to .WAV";
const char kPathTooLong[] = "The path of the tape image is too long to name its .WAV file: "
                            "nothing was converted.";
const char kNotStarted[] = "The converter cas2wav.exe could not be started.";
const char kConversionFailed[] = "The conversion failed: no .WAV file was written.";

enum class ConversionEnd { Succeeded, Failed, GivenUp };

void report(const char* text) {
    systemCalls.messageBox(hwndMain, text, kConversionCaption, MB_OK | MB_ICONEXCLAMATION);
}

// The converter's process, or null when it could not be started. The shell shows no error box
// of its own: the failure is reported here.
HANDLE startConverter(const std::string& parameters) {
    SHELLEXECUTEINFOA request = {};
    request.cbSize = sizeof request;
    request.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    request.hwnd = hwndMain;
    request.lpVerb = "open";
    request.lpFile = kConverterProgram;
    request.lpParameters = parameters.c_str();
    request.lpDirectory = ".";
    request.nShow = SW_SHOWMINIMIZED;
    if (!systemCalls.shellExecuteEx(&request))
        return nullptr;
    return request.hProcess;
}

bool askToPlay() {
    return systemCalls.messageBox(hwndMain, "Play the .WAV file when conversion is finished?",
                                  "Play .WAV", MB_YESNO) == IDYES;
}

bool fileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The converter keeps an existing .wav file when it fails, so only its exit code tells whether
// the file is new.
ConversionEnd awaitConversion(HANDLE converter, const std::string& audioPath) {
    if (!WaitForProcessResponsively(converter))
        return ConversionEnd::GivenUp;
    DWORD exitCode = 1;
    if (!GetExitCodeProcess(converter, &exitCode) || exitCode != 0 || !fileExists(audioPath))
        return ConversionEnd::Failed;
    return ConversionEnd::Succeeded;
}

int playAudio(const std::string& audioPath) {
    // The path fits: canConvertTapePath left room for the suffix.
    std::strcpy(filename, audioPath.c_str());
    systemCalls.shellExecute(hwndMain, "open", filename, nullptr, nullptr, SW_SHOWNORMAL);
    return 1;
}

int playWhenConverted(HANDLE converter, const std::string& audioPath) {
    const ConversionEnd end = awaitConversion(converter, audioPath);
    CloseHandle(converter);
    if (end == ConversionEnd::Succeeded)
        return playAudio(audioPath);
    if (end == ConversionEnd::Failed)
        report(kConversionFailed);
    return 0;
}

} // namespace

int CasToWav() {
    if (!Apri(hwndMain, filename, kFilenameCapacity, "Select .CAS file to convert to WAV",
              kTapeFilter, kOpenDialog))
        return 0;
    const std::string tapePath = filename;
    if (!canConvertTapePath(tapePath, kFilenameCapacity)) {
        report(kPathTooLong);
        return 0;
    }
    const HANDLE converter = startConverter(converterParameters(tapePath, doubleSpeed != 0));
    if (!converter) {
        report(kNotStarted);
        return 0;
    }
    if (!askToPlay()) {
        // The converter goes on by itself.
        CloseHandle(converter);
        return 0;
    }
    return playWhenConverted(converter, audioPathFor(tapePath));
}
