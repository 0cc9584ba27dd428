# Traces the starter tune with `quillon-cli midi-trace` and checks the start-up sequence, the
# settings applied after Play, the timer period and tempo, and the refusal of a bad file.
# Arguments: CLI, TUNE (a Standard MIDI File), WORK (a scratch folder).
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

function(trace)
  execute_process(COMMAND ${CLI} midi-trace ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "midi-trace ${ARGN} failed: ${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

function(expect text)
  string(FIND "${out}" "${text}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "missing \"${text}\" in:\n${out}")
  endif()
endfunction()

function(expect_not text)
  string(FIND "${out}" "${text}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "unexpected \"${text}\" in:\n${out}")
  endif()
endfunction()

# Defaults: controllers reset at load, the GM reset at 50 ms, bend range at 100, full volumes at
# 120 and centred pans at 130, nothing else before 140.
trace(${TUNE} --ms 200)
string(REGEX MATCHALL "[^\n]+" lines "${out}")
list(GET lines 0 first)
list(GET lines 16 gm)
if(NOT first STREQUAL "0 short B0 79 00" OR NOT gm STREQUAL "50 sysex F0 7E 7F 09 01 F7")
  message(FATAL_ERROR "start sequence wrong:\n${out}")
endif()
expect("100 short BF 06 02\n")
expect("120 short B0 07 64\n")
expect("130 short BF 0A 40\n")
foreach(line ${lines})
  if(NOT line MATCHES "^[0-9]+ (short [0-9A-F][0-9A-F]( [0-9A-F][0-9A-F])+|sysex( [0-9A-F][0-9A-F])+)$")
    message(FATAL_ERROR "malformed line \"${line}\"")
  endif()
  if(line MATCHES "^[0-9]+ short [C-D][0-9A-F] [0-9A-F][0-9A-F] ")
    message(FATAL_ERROR "program change or channel pressure with two data bytes: \"${line}\"")
  endif()
endforeach()

# Volume 50 and balance 0 are applied after Play; a fade-in starts the volumes at 0.
trace(${TUNE} --ms 200 --volume 50 --balance 0)
expect("120 short B0 07 32\n")
expect("130 short B0 0A 00\n")
expect_not("120 short B0 07 64\n")
trace(${TUNE} --ms 200 --fade-in 2000)
expect("120 short B0 07 00\n")

# A timer period of 5 ms: every time is a multiple of 5.
trace(${TUNE} --ms 600 --period 5)
string(REGEX MATCHALL "(^|\n)[0-9]+ " times "${out}")
foreach(t ${times})
  string(STRIP "${t}" t)
  math(EXPR rest "${t} % 5")
  if(NOT rest EQUAL 0)
    message(FATAL_ERROR "time ${t} off the 5 ms timer")
  endif()
endforeach()

# Tempo 200 plays more of the tune in the same time.
trace(${TUNE} --ms 3000)
string(REGEX MATCHALL "short 9" normal "${out}")
list(LENGTH normal normal)
trace(${TUNE} --ms 3000 --tempo 200)
string(REGEX MATCHALL "short 9" fast "${out}")
list(LENGTH fast fast)
if(NOT fast GREATER normal)
  message(FATAL_ERROR "tempo 200 gave ${fast} note-ons, tempo 100 ${normal}")
endif()

# A file that is no MIDI file is refused with nothing traced.
file(WRITE ${WORK}/bad.mid "RIFF, not a tune")
execute_process(COMMAND ${CLI} midi-trace ${WORK}/bad.mid RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(status EQUAL 0 OR NOT out STREQUAL "" OR NOT err MATCHES "Invalid MIDI File")
  message(FATAL_ERROR "bad file: status ${status}, out \"${out}\", err \"${err}\"")
endif()
