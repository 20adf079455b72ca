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
