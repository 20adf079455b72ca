# The libraries the project takes from Debian's packages. Each is found through a cache variable
# whose default is where Debian installs it, so another system can point elsewhere.

# GoogleTest (package googletest) is built from its sources in every tree, the MinGW ones too.
set(GTEST_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
if(WIN32)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
endif()
if(NOT TK_FUZZ)
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

# ---- Tiled map libraries, native trees only, until the libraries reach every tree ----
# pugixml (libpugixml-dev), nlohmann-json (nlohmann-json3-dev), zlib (zlib1g-dev) and zstd
# (libzstd-dev) as the targets tk_xml, tk_json, tk_zlib and tk_zstd. A tree without them builds
# tomkrin without its Tiled commands.
if(NOT CMAKE_CROSSCOMPILING)
    if(NOT TARGET tk_xml)
        find_package(pugixml QUIET)
        if(TARGET pugixml::pugixml)
            add_library(tk_xml INTERFACE)
            target_link_libraries(tk_xml INTERFACE pugixml::pugixml)
        endif()
    endif()
    if(NOT TARGET tk_json)
        find_package(nlohmann_json QUIET)
        if(TARGET nlohmann_json::nlohmann_json)
            add_library(tk_json INTERFACE)
            target_link_libraries(tk_json INTERFACE nlohmann_json::nlohmann_json)
        endif()
    endif()
    if(NOT TARGET tk_zlib)
        find_package(ZLIB QUIET)
        if(TARGET ZLIB::ZLIB)
            add_library(tk_zlib INTERFACE)
            target_link_libraries(tk_zlib INTERFACE ZLIB::ZLIB)
        endif()
    endif()
    if(NOT TARGET tk_zstd)
        find_package(zstd CONFIG QUIET)
        foreach(candidate zstd::libzstd_shared zstd::libzstd_static)
            if(TARGET ${candidate} AND NOT TARGET tk_zstd)
                add_library(tk_zstd INTERFACE)
                target_link_libraries(tk_zstd INTERFACE ${candidate})
            endif()
        endforeach()
    endif()
endif()
# ---- end of the Tiled map libraries ----
