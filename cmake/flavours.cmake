# The kinds of tree the scripts configure (each a preset of CMakePresets.json):
#   native   host compiler, with AddressSanitizer and UndefinedBehaviorSanitizer (TK_SANITIZE)
#   Windows  MinGW-w64 cross build (cmake/mingw-*.cmake): static programs, run under Wine
#   fuzz     clang with TK_FUZZ: the core and the libFuzzer targets only (scripts/test-fuzz.sh)
option(TK_FUZZ "Build the fuzz targets (clang, libFuzzer) and nothing else" OFF)
if(WIN32)
    enable_language(RC)
    add_link_options(-static -static-libgcc -static-libstdc++)
    add_compile_definitions(WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0501)
    set(TK_WIN_LIBS comctl32 comdlg32 shell32 user32 gdi32 kernel32)
else()
    option(TK_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" ON)
    if(TK_SANITIZE OR TK_FUZZ)
        add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
            -fno-omit-frame-pointer)
        add_link_options(-fsanitize=address,undefined)
    endif()
endif()
