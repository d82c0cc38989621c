# Each folder includes only from its own layer and the layers below it:
#   cmake -DROOT=<project root> -P tst_layers.cmake
# The build keeps the Qt modules apart (the rules see only Qt Core, the
# documents Qt Gui); this keeps the project's own headers apart as well.
# Inside the rules, the number text and the failures of core/ lie below the
# soil, fertilizer and calendar rules, and the case model above them all.
set(layers
    "core"                                     # rules: numbers as text, failures, working
    "agronomy fertilizers calendar"            # rules: soil, products, calendar data
    "model"                                    # rules: the case model
    "reports cases fileformats"                # documents
    "store"                                    # the store of cases
    "chart"                                    # the calendar chart
    "batch"                                    # the lab-file run
    "app")                                     # the window
set(level 0)
set(folders_in_order "")
foreach(layer ${layers})
    separate_arguments(folders UNIX_COMMAND "${layer}")
    foreach(folder ${folders})
        set(level_of_${folder} ${level})
        list(APPEND folders_in_order ${folder})
    endforeach()
    math(EXPR level "${level} + 1")
endforeach()

# The window's components are named in app/ alone: below it a case, a
# report or a lab file speaks of the producer, the clay or the doses.
set(component_name
    "(^|[^A-Za-z0-9_])((Edit|edit|LabeledEdit|stga|Stga|ComboBox|RadioButton|CheckBox|DateTimePicker|Button|BitBtn|GroupBox|Label|Memo|Chart|Image|PageControl|TabSheet)[0-9]+|btn(Novo|Abrir|Salvar|Importar|MenorCusto|Memoria)|frx(Report|PDFExport)1)([^A-Za-z0-9_]|$)")

set(upward "")
set(named "")
foreach(folder ${folders_in_order})
    file(GLOB_RECURSE sources ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp)
    foreach(source ${sources})
        file(RELATIVE_PATH name ${ROOT} ${source})
        file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[a-z]+/")
        foreach(line ${includes})
            string(REGEX REPLACE ".*\"([a-z]+)/.*" "\\1" target "${line}")
            if(DEFINED level_of_${target} AND level_of_${target} GREATER level_of_${folder})
                string(APPEND upward "  ${name}: ${line}\n")
            endif()
        endforeach()
        if(NOT folder STREQUAL "app")
            file(STRINGS ${source} lines REGEX "${component_name}")
            foreach(line ${lines})
                string(APPEND named "  ${name}: ${line}\n")
            endforeach()
        endif()
    endforeach()
endforeach()
if(upward)
    message(FATAL_ERROR "Includes from a lower layer into a higher one:\n${upward}")
endif()
if(named)
    message(FATAL_ERROR "Component names of the window below app/:\n${named}")
endif()
