# Draws on the cave map of a sample project with `quillon-cli edit` and checks the saved cells.
# Arguments: CLI, SAMPLE (the sample project maker), WORK (a scratch folder).
file(REMOVE_RECURSE ${WORK})
set(ENV{QUILLON_CONFIG_DIR} ${WORK}/config)
set(project ${WORK}/project)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(status ${status} PARENT_SCOPE)
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

run(${SAMPLE} ${project})
if(NOT status EQUAL 0)
  message(FATAL_ERROR "sample project: ${err}")
endif()

# Plain ground everywhere, a grass rectangle (palette preview tile), an isolated grass tile in
# the bottom-right corner with Ctrl held, a tile on the upper layer.
run(${CLI} edit ${project} 5 fill 0 0 5000 rect 2 2 6 5 4049 --ctrl place 19 14 4000 upper place 0 0 10005)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "edit failed: ${err}")
endif()
run(${CLI} dump ${project}/Map0005.kmu)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "dump failed: ${err}")
endif()
set(map "${out}")

function(expect layer row column value)
  string(JSON cell GET "${map}" Map ${layer} ${row} ${column})
  if(NOT cell EQUAL value)
    message(SEND_ERROR "${layer} cell (${column}, ${row}) is ${cell}, expected ${value}")
  endif()
endfunction()

expect(LowerLayer 2 2 4034)   # top-left corner of the rectangle
expect(LowerLayer 2 4 4020)   # its top side
expect(LowerLayer 3 4 4000)   # inside
expect(LowerLayer 5 6 4038)   # bottom-right corner
expect(LowerLayer 4 6 4024)   # right side
expect(LowerLayer 14 19 4046) # isolated, the map's edge a border
expect(LowerLayer 0 0 5000)
expect(LowerLayer 1 1 5000)
expect(UpperLayer 0 0 10005)
expect(UpperLayer 0 1 10000)

# A bad operation saves nothing.
file(SHA256 ${project}/Map0005.kmu before)
run(${CLI} edit ${project} 5 fill 0 0 4000 rect 1 2 3)
file(SHA256 ${project}/Map0005.kmu after)
if(status EQUAL 0 OR NOT before STREQUAL after)
  message(SEND_ERROR "a bad operation list was applied (status ${status})")
endif()
