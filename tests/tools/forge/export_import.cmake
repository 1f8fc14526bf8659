# Runs "export --format non" on one shipped puzzle and "import" on the result:
# the exported text must name the puzzle's size and import must accept it.
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${FORGE} export --format non ${WORK}/out --address 4/29/0 --data ${DATA}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "export failed: ${out}")
endif()
file(READ ${WORK}/out/225/80x80_girl.non text)
foreach(want "title \"80x80_girl\"" "width 80" "height 77" "rows" "columns")
    string(FIND "${text}" "${want}" at)
    if(at LESS 0)
        message(FATAL_ERROR "exported file lacks '${want}'")
    endif()
endforeach()
execute_process(COMMAND ${FORGE} import --into ${WORK}/imports ${WORK}/out/225/80x80_girl.non
                RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out MATCHES "added 80x80_girl.non: 80x77")
    message(FATAL_ERROR "import failed: ${out}")
endif()
# A puzzle with two solutions is refused.
file(WRITE ${WORK}/twice.non "width 2\nheight 2\nrows\n1\n1\ncolumns\n1\n1\n")
execute_process(COMMAND ${FORGE} import --into ${WORK}/imports ${WORK}/twice.non
                RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(rc EQUAL 0 OR NOT out MATCHES "refused .*more than one solution")
    message(FATAL_ERROR "import took an ambiguous puzzle: ${out}")
endif()
if(EXISTS ${WORK}/imports/twice.non)
    message(FATAL_ERROR "the refused puzzle was copied")
endif()
