# The canvas operations of `quillon-cli edit` (pattern, select, move, copy, paste, undo …) on the
# cave map of a sample project, and `quillon-cli render --as-canvas`.
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

function(load_map)
  run(${CLI} dump ${project}/Map0005.kmu)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "dump failed: ${err}")
  endif()
  set(map "${out}" PARENT_SCOPE)
endfunction()

function(expect layer column row value)
  string(JSON cell GET "${map}" Map ${layer} ${row} ${column})
  if(NOT cell EQUAL value)
    message(SEND_ERROR "${layer} cell (${column}, ${row}) is ${cell}, expected ${value}")
  endif()
endfunction()

# Known cells: plain ground, two tiles and an upper tile in the 2 x 2 block at (2, 2); then the
# block is selected, moved by (4, 1) leaving the pattern 5010 behind, copied, and pasted twice,
# the second paste undone.
set(block ${WORK}/block.bin)
run(${CLI} edit ${project} 5 upper rect 0 0 19 14 10000 lower rect 0 0 19 14 5000 place 2 2 5001 place 3 2 5002
    upper place 2 3 10007 lower pattern 5010 select 3 3 2 2 move 4 1 copy ${block}
    paste ${block} 15 10 paste ${block} 3 12 undo)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "edit failed: ${err}")
endif()
load_map()
# Left behind: the pattern in the lower layer, nothing in the upper.
expect(LowerLayer 2 2 5010)
expect(LowerLayer 3 3 5010)
expect(UpperLayer 2 3 10000)
# Moved by (4, 1).
expect(LowerLayer 6 3 5001)
expect(LowerLayer 7 3 5002)
expect(UpperLayer 6 4 10007)
expect(LowerLayer 8 3 5000)
# Pasted centred on (15, 10): left 15 - 1, top 10 - 1.
expect(LowerLayer 14 9 5001)
expect(LowerLayer 15 9 5002)
expect(UpperLayer 14 10 10007)
# The second paste (centred on (3, 12)) was undone.
expect(LowerLayer 2 11 5000)
expect(UpperLayer 2 12 10000)
# The block file: width, height and 2 x 2 pairs of cells.
file(SIZE ${block} size)
if(NOT size EQUAL 20)
  message(SEND_ERROR "the block file has ${size} bytes, expected 20")
endif()

# A damaged block is refused and nothing is saved.
file(SHA256 ${project}/Map0005.kmu before)
file(WRITE ${WORK}/bad.bin "12345")
run(${CLI} edit ${project} 5 place 0 0 5003 paste ${WORK}/bad.bin 5 5)
file(SHA256 ${project}/Map0005.kmu after)
if(status EQUAL 0 OR NOT before STREQUAL after)
  message(SEND_ERROR "a damaged block was pasted or the map saved (status ${status})")
endif()
# Moving without a selection is refused too.
run(${CLI} edit ${project} 5 move 1 1)
if(status EQUAL 0)
  message(SEND_ERROR "a move without a selection succeeded")
endif()

# The canvas picture: the map's chipset image from the starter run-time package.
get_filename_component(bin ${CLI} DIRECTORY)
configure_file(${bin}/RTP/ChipSet/World.png ${project}/ChipSet/World1.png COPYONLY)
function(png_size file)
  file(READ ${file} header OFFSET 16 LIMIT 8 HEX)
  string(SUBSTRING "${header}" 0 8 w)
  string(SUBSTRING "${header}" 8 8 h)
  math(EXPR w "0x${w}")
  math(EXPR h "0x${h}")
  set(png "${w}x${h}" PARENT_SCOPE)
endfunction()
foreach(look "lower;select" "lower;pen" "upper;pen" "events;select")
  list(GET look 0 mode)
  list(GET look 1 tool)
  run(${CLI} render ${project} 5 ${WORK}/${mode}-${tool}.png --as-canvas ${mode} --tool ${tool})
  if(NOT status EQUAL 0)
    message(SEND_ERROR "render --as-canvas ${mode} --tool ${tool} failed: ${err}")
  endif()
  png_size(${WORK}/${mode}-${tool}.png)
  if(NOT png STREQUAL "640x480")
    message(SEND_ERROR "the ${mode} ${tool} picture is ${png}, expected 640x480")
  endif()
  file(SHA256 ${WORK}/${mode}-${tool}.png hash_${mode}_${tool})
endforeach()
# Dimming and the event grid change the picture; the select tool in both layer modes does not dim.
if(hash_lower_select STREQUAL hash_lower_pen OR hash_lower_pen STREQUAL hash_upper_pen
   OR hash_lower_select STREQUAL hash_events_select)
  message(SEND_ERROR "the canvas looks the same in different modes or tools")
endif()
run(${CLI} render ${project} 5 ${WORK}/upper-select.png --as-canvas upper --tool select)
file(SHA256 ${WORK}/upper-select.png hash_upper_select)
if(NOT hash_upper_select STREQUAL hash_lower_select)
  message(SEND_ERROR "the select tool dims a layer")
endif()
# A view is limited to the map; the zoom scales it.
run(${CLI} render ${project} 5 ${WORK}/view.png --as-canvas events --zoom 2 --view 40 8 1000 100)
png_size(${WORK}/view.png)
if(NOT status EQUAL 0 OR NOT png STREQUAL "320x100")
  message(SEND_ERROR "the view picture is ${png} (status ${status}: ${err}), expected 320x100")
endif()
run(${CLI} render ${project} 5 ${WORK}/bad.png --as-canvas sideways)
if(status EQUAL 0)
  message(SEND_ERROR "an unknown canvas mode was accepted")
endif()
