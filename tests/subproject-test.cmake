# Builds this tree inside another project, tests off: a parent that adds it
# with add_subdirectory() and links one of its libraries, as a program that
# reuses the models would. Only that is built, and the ground picture, which
# must land in this project's own build folder; the parent's build type stays.
#
#   cmake -DSOURCE=<this tree> -DWORK=<empty folder> -P subproject-test.cmake

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/parent)
file(WRITE ${WORK}/parent/CMakeLists.txt "cmake_minimum_required(VERSION 3.16)
project(parent LANGUAGES CXX)
add_subdirectory(\"${SOURCE}\" vudure)
add_executable(reuse reuse.cpp)
target_link_libraries(reuse PRIVATE meshdata)
")
# The generated tables' header must be reachable through the library.
file(WRITE ${WORK}/parent/reuse.cpp "#include \"di64mesh.h\"
int main() { return di64::meshVertices[0][0] > 1e9f; }
")

function(run step)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${step} failed:\n${out}")
    endif()
endfunction()

run("Configuring the parent" ${CMAKE_COMMAND} -E env --unset=CMAKE_BUILD_TYPE
    ${CMAKE_COMMAND} -S ${WORK}/parent -B ${WORK}/build -DBUILD_TESTING=OFF)
run("Building the parent" ${CMAKE_COMMAND} --build ${WORK}/build -j2 --target reuse groundbmp)
file(STRINGS ${WORK}/build/CMakeCache.txt cache REGEX "^(CMAKE_BUILD_TYPE|Qt6Test_DIR):")
if(NOT EXISTS ${WORK}/build/vudure/ground.bmp OR EXISTS ${WORK}/build/vudure/tests
        OR NOT cache STREQUAL "CMAKE_BUILD_TYPE:STRING=")
    message(FATAL_ERROR "The ground picture is elsewhere, or the parent's choices changed: ${cache}")
endif()
file(REMOVE_RECURSE ${WORK})
