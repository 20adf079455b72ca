# The libraries the project takes from Debian's packages. Each is found through the CMake files its
# package ships or through a cache variable whose default is where Debian installs it (or where
# scripts/deps.sh unpacks Debian's source package), so another system can point elsewhere.

# A library a tree may be without (zstd, libFLAC): the target NAME, when LIBRARY was found, links
# it and defines HAVE, so the code that needs it is compiled in; without it there is no target NAME.
function(tk_optional_library name library have)
    if(library)
        add_library(${name} INTERFACE)
        target_link_libraries(${name} INTERFACE ${library})
        target_compile_definitions(${name} INTERFACE ${have})
    endif()
endfunction()

# GoogleTest (package googletest) is built from its sources in every tree, the MinGW ones too.
set(GTEST_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
if(WIN32)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
endif()
if(NOT TK_FUZZ AND NOT EMSCRIPTEN)
    add_subdirectory(${GTEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    include(GoogleTest)
endif()

# stb (package libstb-dev): the PNG encoder and the decoder the tests read pictures back with. The
# headers are copied into the build tree, so the MinGW trees take them from there without seeing
# any other header of the build machine. Targets that use them link tk_stb.
set(TK_STB_DIR /usr/include/stb CACHE PATH "Folder of stb_image_write.h and stb_image.h")
foreach(header stb_image_write.h stb_image.h)
    configure_file(${TK_STB_DIR}/${header} ${CMAKE_BINARY_DIR}/stb/${header} COPYONLY)
endforeach()
add_library(tk_stb INTERFACE)
target_include_directories(tk_stb SYSTEM INTERFACE ${CMAKE_BINARY_DIR}/stb)

# The libraries of the Tiled maps, one target each for the code to link:
#   tk_xml   pugixml        <pugixml.hpp>
#   tk_json  nlohmann-json  <nlohmann/json.hpp>
#   tk_zlib  zlib           <zlib.h>
#   tk_zstd  zstd           <zstd.h>; defines TK_HAVE_ZSTD. Absent where its sources are missing.
# The native trees take Debian's packages through the CMake files those ship (shared libraries; the
# Debian package of the tools depends on them). Debian ships pugixml and zstd for the build machine
# only, so the MinGW trees compile Debian's source packages, which scripts/deps.sh unpacks into
# build/third_party/; the fuzz tree compiles pugixml's too, so that its parser gets coverage
# guidance. The Windows programs link everything statically and import system DLLs only. The
# WebAssembly tree (emscripten, which searches no folder of the build machine) compiles the source
# packages of all three compiled libraries, zlib too, and copies nlohmann-json's headers as stb's.
set(TK_THIRD_PARTY_DIR ${CMAKE_SOURCE_DIR}/build/third_party)
set(TK_PUGIXML_SOURCE_DIR ${TK_THIRD_PARTY_DIR}/pugixml CACHE PATH
    "Debian's pugixml source package, unpacked (the MinGW and fuzz trees compile it)")
set(TK_ZSTD_SOURCE_DIR ${TK_THIRD_PARTY_DIR}/libzstd CACHE PATH
    "Debian's libzstd source package, unpacked (the MinGW trees compile it)")
set(TK_JSON_INCLUDE_DIR /usr/include CACHE PATH "Folder holding nlohmann/json.hpp (MinGW trees)")

add_library(tk_xml INTERFACE)
if(WIN32 OR TK_FUZZ OR EMSCRIPTEN)
    if(NOT EXISTS ${TK_PUGIXML_SOURCE_DIR}/src/pugixml.cpp)
        message(FATAL_ERROR "No pugixml sources in ${TK_PUGIXML_SOURCE_DIR}: sh scripts/deps.sh "
            "unpacks Debian's source package there")
    endif()
    add_library(tk_pugixml STATIC EXCLUDE_FROM_ALL ${TK_PUGIXML_SOURCE_DIR}/src/pugixml.cpp)
    target_include_directories(tk_pugixml SYSTEM PUBLIC ${TK_PUGIXML_SOURCE_DIR}/src)
    # Its code is not ours to hold to our warnings. In the fuzzing tree it is the parser of the
    # maps, so it gets the coverage guidance of the core's parsers (core/CMakeLists.txt).
    target_compile_options(tk_pugixml PRIVATE -w)
    if(TK_FUZZ)
        target_compile_options(tk_pugixml PRIVATE -fsanitize=fuzzer-no-link)
    endif()
    target_link_libraries(tk_xml INTERFACE tk_pugixml)
else()
    find_package(pugixml 1.11 REQUIRED CONFIG)
    target_link_libraries(tk_xml INTERFACE pugixml::pugixml)
endif()

add_library(tk_json INTERFACE)
if(WIN32 OR EMSCRIPTEN)
    # Copied into the build tree, as stb is: the MinGW compiler must see no other header of the
    # build machine's /usr/include, and emscripten's sees none of it.
    file(COPY ${TK_JSON_INCLUDE_DIR}/nlohmann DESTINATION ${CMAKE_BINARY_DIR}/json)
    target_include_directories(tk_json SYSTEM INTERFACE ${CMAKE_BINARY_DIR}/json)
else()
    find_package(nlohmann_json 3.10 REQUIRED CONFIG)
    target_link_libraries(tk_json INTERFACE nlohmann_json::nlohmann_json)
endif()

# MinGW: Debian's libz-mingw-w64-dev, its static library.
if(WIN32)
    set(ZLIB_USE_STATIC_LIBS ON)
endif()
add_library(tk_zlib INTERFACE)
if(EMSCRIPTEN)
    # The WebAssembly tree compiles Debian's zlib source package (emscripten's own port would be
    # downloaded), without the gz* file functions: the maps' layers are inflated in memory.
    set(TK_ZLIB_SOURCE_DIR ${TK_THIRD_PARTY_DIR}/zlib CACHE PATH
        "Debian's zlib source package, unpacked (the WebAssembly tree compiles it)")
    if(NOT EXISTS ${TK_ZLIB_SOURCE_DIR}/inflate.c)
        message(FATAL_ERROR "No zlib sources in ${TK_ZLIB_SOURCE_DIR}: sh scripts/deps.sh "
            "unpacks Debian's source package there")
    endif()
    set(zlib_sources)
    foreach(name adler32 compress crc32 deflate infback inffast inflate inftrees trees uncompr
            zutil)
        list(APPEND zlib_sources ${TK_ZLIB_SOURCE_DIR}/${name}.c)
    endforeach()
    add_library(tk_zlib_lib STATIC EXCLUDE_FROM_ALL ${zlib_sources})
    target_include_directories(tk_zlib_lib SYSTEM PUBLIC ${TK_ZLIB_SOURCE_DIR})
    target_compile_options(tk_zlib_lib PRIVATE -w)
    target_link_libraries(tk_zlib INTERFACE tk_zlib_lib)
else()
    find_package(ZLIB REQUIRED)
    target_link_libraries(tk_zlib INTERFACE ZLIB::ZLIB)
endif()

if(WIN32 OR EMSCRIPTEN)
    if(EXISTS ${TK_ZSTD_SOURCE_DIR}/lib/zstd.h)
        # The single-threaded library, compressor and decompressor, in C without its assembly.
        # Built small, as zstd's lib/README.md describes: one Huffman decoder and one sequence
        # decoder instead of two of each, nothing forced inline, no second copy of the hot
        # functions for BMI2. The layers it packs and unpacks are a few kilobytes each; the
        # speed-first build cost twice the time to compile.
        file(GLOB zstd_sources ${TK_ZSTD_SOURCE_DIR}/lib/common/*.c
            ${TK_ZSTD_SOURCE_DIR}/lib/compress/*.c ${TK_ZSTD_SOURCE_DIR}/lib/decompress/*.c)
        add_library(tk_zstd_lib STATIC EXCLUDE_FROM_ALL ${zstd_sources})
        target_include_directories(tk_zstd_lib SYSTEM PUBLIC ${TK_ZSTD_SOURCE_DIR}/lib)
        target_compile_definitions(tk_zstd_lib PRIVATE ZSTD_DISABLE_ASM ZSTD_NO_INLINE
            HUF_FORCE_DECOMPRESS_X1 ZSTD_FORCE_DECOMPRESS_SEQUENCES_SHORT DYNAMIC_BMI2=0)
        target_compile_options(tk_zstd_lib PRIVATE -w)
        set(tk_zstd_library tk_zstd_lib)
    else()
        message(STATUS "No zstd sources in ${TK_ZSTD_SOURCE_DIR}: this tree reads no zstd")
    endif()
else()
    find_package(zstd CONFIG)
    if(TARGET zstd::libzstd_shared)
        set(tk_zstd_library zstd::libzstd_shared)
    else()
        message(STATUS "No zstd library (package libzstd-dev): this tree reads no zstd")
    endif()
endif()
tk_optional_library(tk_zstd "${tk_zstd_library}" TK_HAVE_ZSTD)

# libFLAC, for the decoder's FLAC recordings: tk_flac (<FLAC/stream_decoder.h>) defines
# TK_HAVE_FLAC; a tree without it reads no FLAC and says so. The native trees take Debian's
# libflac-dev; the MinGW and WebAssembly trees compile libFLAC from Debian's source package flac (in
# plain C, without its assembly or Ogg), and so does the fuzz tree, so that its parser gets coverage
# guidance. They compile its stream decoder alone: the program only reads FLAC, and the tests that
# write FLAC recordings (with libFLAC's encoder) are the native tree's.
set(TK_FLAC_SOURCE_DIR ${TK_THIRD_PARTY_DIR}/flac CACHE PATH
    "Debian's flac source package, unpacked (the MinGW, WebAssembly and fuzz trees compile it)")
if(WIN32 OR TK_FUZZ OR EMSCRIPTEN)
    if(EXISTS ${TK_FLAC_SOURCE_DIR}/src/libFLAC/stream_decoder.c)
        file(STRINGS ${TK_FLAC_SOURCE_DIR}/CMakeLists.txt flac_project REGEX "^project\\(FLAC")
        string(REGEX MATCH "[0-9]+\\.[0-9]+\\.[0-9]+" flac_version "${flac_project}")
        set(flac_sources bitmath bitreader cpu crc fixed float format lpc md5 memory
            stream_decoder)
        list(TRANSFORM flac_sources PREPEND ${TK_FLAC_SOURCE_DIR}/src/libFLAC/)
        list(TRANSFORM flac_sources APPEND .c)
        if(WIN32)
            list(APPEND flac_sources ${TK_FLAC_SOURCE_DIR}/src/share/win_utf8_io/win_utf8_io.c)
        endif()
        add_library(tk_flac_lib STATIC EXCLUDE_FROM_ALL ${flac_sources})
        target_include_directories(tk_flac_lib SYSTEM PUBLIC ${TK_FLAC_SOURCE_DIR}/include)
        target_include_directories(tk_flac_lib PRIVATE ${TK_FLAC_SOURCE_DIR}/src/libFLAC/include)
        target_compile_definitions(tk_flac_lib PUBLIC FLAC__NO_DLL PRIVATE FLAC__NO_ASM
            FLAC__HAS_OGG=0 HAVE_STDINT_H HAVE_INTTYPES_H HAVE_LROUND HAVE_FSEEKO
            PACKAGE_VERSION="${flac_version}")
        # Its code is not ours to hold to our warnings. In the fuzzing tree it parses the FLAC
        # recordings, so it gets the coverage guidance of the core's parsers. It rebuilds a frame's
        # samples before the frame's checksum can refuse a damaged one, and its sums may overflow
        # on the way; what they give is then thrown away, so the sanitizers leave them be.
        target_compile_options(tk_flac_lib PRIVATE -w)
        if(TK_FUZZ)
            target_compile_options(tk_flac_lib PRIVATE -fsanitize=fuzzer-no-link
                -fno-sanitize=signed-integer-overflow)
        endif()
        set(tk_flac_library tk_flac_lib)
    else()
        message(STATUS "No flac sources in ${TK_FLAC_SOURCE_DIR}: this tree reads no FLAC")
    endif()
else()
    find_path(TK_FLAC_INCLUDE_DIR FLAC/stream_decoder.h)
    find_library(TK_FLAC_LIBRARY FLAC)
    if(TK_FLAC_INCLUDE_DIR AND TK_FLAC_LIBRARY)
        add_library(tk_flac_system INTERFACE)
        target_include_directories(tk_flac_system SYSTEM INTERFACE ${TK_FLAC_INCLUDE_DIR})
        target_link_libraries(tk_flac_system INTERFACE ${TK_FLAC_LIBRARY})
        set(tk_flac_library tk_flac_system)
    else()
        message(STATUS "No libFLAC (package libflac-dev): this tree reads no FLAC")
    endif()
endif()
tk_optional_library(tk_flac "${tk_flac_library}" TK_HAVE_FLAC)
