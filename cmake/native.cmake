# Host build: the portable core and its tests, with the sanitizers on.
option(TK_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" ON)
if(TK_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
# The sanitizer flags above are added after tk_core was declared, so give them to it too.
if(TK_SANITIZE)
    target_compile_options(tk_core PRIVATE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
endif()

add_subdirectory(${GTEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

file(GLOB TK_NATIVE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
add_executable(native_tests ${TK_NATIVE_TESTS})
target_link_libraries(native_tests PRIVATE tk_core GTest::gtest_main)
gtest_discover_tests(native_tests WORKING_DIRECTORY ${CMAKE_BINARY_DIR} DISCOVERY_TIMEOUT 60)
