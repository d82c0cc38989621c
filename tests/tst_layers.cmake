# Each folder includes only from its own layer and the layers below it:
#   cmake -DROOT=<project root> -P tst_layers.cmake
# The build keeps the Qt modules apart (the rules see only Qt Core, the
# documents Qt Gui); this keeps the project's own headers apart as well.
set(layers
    "core agronomy fertilizers calendar model" # rules
    "reports cases fileformats"                 # documents
    "store"                                    # the store of cases
    "chart"                                    # the calendar chart
    "batch"                                    # the lab-file run
    "app")                                     # the window
set(level 0)
foreach(layer ${layers})
    separate_arguments(folders UNIX_COMMAND "${layer}")
    foreach(folder ${folders})
        set(level_of_${folder} ${level})
    endforeach()
    math(EXPR level "${level} + 1")
endforeach()

set(upward "")
foreach(folder core agronomy fertilizers calendar model reports cases fileformats store chart batch app)
    file(GLOB sources ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp)
    foreach(source ${sources})
        file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[a-z]+/")
        foreach(line ${includes})
            string(REGEX REPLACE ".*\"([a-z]+)/.*" "\\1" target "${line}")
            if(DEFINED level_of_${target} AND level_of_${target} GREATER level_of_${folder})
                file(RELATIVE_PATH name ${ROOT} ${source})
                string(APPEND upward "  ${name}: ${line}\n")
            endif()
        endforeach()
    endforeach()
endforeach()
if(upward)
    message(FATAL_ERROR "Includes from a lower layer into a higher one:\n${upward}")
endif()
