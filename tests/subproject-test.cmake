# Builds this tree as a part of another project: a parent that adds it with
# add_subdirectory() and links one of its libraries, as a program that reuses
# the models would. Only what that needs is built, plus the ground picture,
# which must land in this project's own build folder, not the parent's.
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

run("Configuring the parent" ${CMAKE_COMMAND} -S ${WORK}/parent -B ${WORK}/build)
run("Building the parent" ${CMAKE_COMMAND} --build ${WORK}/build -j2 --target reuse groundbmp)
if(NOT EXISTS ${WORK}/build/vudure/ground.bmp)
    message(FATAL_ERROR "The ground picture is not in the subproject's build folder")
endif()
file(REMOVE_RECURSE ${WORK})
