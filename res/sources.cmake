# resources are compiled by cmake/windows.cmake
