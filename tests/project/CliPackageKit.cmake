# Shared by the packaging scripts: a fresh scratch folder WORK that also holds the settings and
# the temporary files, and run(CODE COMMAND...), which runs a command there, fails the test unless
# it ends with status CODE, and leaves its output in `printed` and `complained`.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(ENV{QUILLON_CONFIG_DIR} ${WORK}/config)
set(ENV{TMPDIR} ${WORK})

function(run code)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err WORKING_DIRECTORY ${WORK})
  if(NOT status STREQUAL code)
    message(FATAL_ERROR "${ARGN}: status ${status}, printed '${out}' '${err}'; expected ${code}")
  endif()
  set(printed "${out}" PARENT_SCOPE)
  set(complained "${err}" PARENT_SCOPE)
endfunction()
