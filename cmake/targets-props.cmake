# The generator of res/default.bin, the level File > New starts from. A native test checks that
# the committed file is what it makes: after changing the level, run
#   mkdefaultbin res/default.bin
if(NOT WIN32)
    add_executable(mkdefaultbin ${CMAKE_SOURCE_DIR}/tools/mkdefaultbin.cpp)
    target_link_libraries(mkdefaultbin PRIVATE tk_core)
endif()
