# Runs the layer check on the real tree (must pass), then on a copy of two
# folders where the lower one includes the higher one (must fail).
execute_process(COMMAND ${PYTHON} ${SOURCE_DIR}/tools/check-layers.py ${SOURCE_DIR} RESULT_VARIABLE real)
if(NOT real EQUAL 0)
  message(FATAL_ERROR "the source tree has includes that run upwards (see above)")
endif()

file(REMOVE_RECURSE ${WORK_DIR})
file(WRITE ${WORK_DIR}/low/CMakeLists.txt "tarvix_folder(low PURE a.cpp)\n")
file(WRITE ${WORK_DIR}/high/CMakeLists.txt "tarvix_folder(high PURE b.cpp DEPENDS low LIBS x)\n")
file(WRITE ${WORK_DIR}/high/b.cpp "#include \"low/a.h\"\n")
file(WRITE ${WORK_DIR}/low/a.cpp "#include \"low/a.h\"\n")
execute_process(COMMAND ${PYTHON} ${SOURCE_DIR}/tools/check-layers.py ${WORK_DIR} RESULT_VARIABLE downward)
if(NOT downward EQUAL 0)
  message(FATAL_ERROR "a downward include was refused")
endif()

file(WRITE ${WORK_DIR}/low/a.cpp "#include \"high/b.h\"\n")
execute_process(COMMAND ${PYTHON} ${SOURCE_DIR}/tools/check-layers.py ${WORK_DIR} RESULT_VARIABLE upward
                ERROR_VARIABLE upwardText)
if(upward EQUAL 0 OR NOT upwardText MATCHES "low/a.cpp:1: includes high/")
  message(FATAL_ERROR "an upward include was not reported: ${upwardText}")
endif()

file(WRITE ${WORK_DIR}/low/CMakeLists.txt "tarvix_folder(low PURE a.cpp DEPENDS high)\n")
execute_process(COMMAND ${PYTHON} ${SOURCE_DIR}/tools/check-layers.py ${WORK_DIR} RESULT_VARIABLE cycle
                ERROR_VARIABLE cycleText)
if(cycle EQUAL 0 OR NOT cycleText MATCHES "cycle")
  message(FATAL_ERROR "a cycle between folders was not reported: ${cycleText}")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
