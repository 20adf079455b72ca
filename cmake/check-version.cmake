# cmake -DVERSION=X.Y.Z -P check-version.cmake FILE.json...: fails unless each npm package file
# carries VERSION, the project's one version, as its own "version".
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(i RANGE 4 ${last})
    set(file "${CMAKE_ARGV${i}}")
    file(READ "${file}" json)
    string(JSON version GET "${json}" version)
    if(NOT "${version}" STREQUAL "${VERSION}")
        message(FATAL_ERROR "${file} carries version ${version}; the project's is ${VERSION} "
            "(CMakeLists.txt): make them one")
    endif()
endforeach()
message(STATUS "The page's package carries the project's version ${VERSION}")
