# quillon-cli import, export and delete on a fresh project: what lands in the resource folders,
# the refusals that write nothing, and a delete that never reaches the run-time package.
# Arguments: CLI, WORK (a scratch folder), TRUECOLOUR (a 24-bit PNG of 320 x 160).
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(ENV{QUILLON_CONFIG_DIR} ${WORK}/config)
set(ENV{TMPDIR} ${WORK})

function(expect code pattern)
  execute_process(COMMAND ${CLI} ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL code OR NOT "${out}${err}" MATCHES "${pattern}")
    message(FATAL_ERROR "${ARGN}: status ${status}, printed '${out}' '${err}'; expected ${code} and '${pattern}'")
  endif()
endfunction()
function(expect_files folder expected)
  file(GLOB found RELATIVE ${folder} ${folder}/*)
  list(SORT found)
  if(NOT "${found}" STREQUAL "${expected}")
    message(FATAL_ERROR "${folder} holds '${found}', expected '${expected}'")
  endif()
endfunction()

expect(0 "" new-project ${WORK} Game Game)
set(game ${WORK}/Game)

# A package picture out as BMP (conversion), back in as the project's own with index 5 transparent.
expect(0 "^${WORK}/hero.bmp\n$" export ${game} CharSet Hero ${WORK}/hero.bmp)
file(READ ${WORK}/hero.bmp head LIMIT 2 HEX)
if(NOT head STREQUAL "424d")
  message(FATAL_ERROR "the export to .bmp is not a BMP file")
endif()
expect(0 "^CharSet/hero.png 288x256 transparent 5\n$" import ${game} charset ${WORK}/hero.bmp --transparent 5)
expect(0 "^CharSet/hero.zgf 288x256 transparent 0\n$" import ${game} CharSet ${WORK}/hero.bmp --format zgf)
expect(0 "^Creature <RTP>\nhero\nPeople <RTP>|^hero\n" resources ${game} CharSet)

# Refusals: wrong size, 24 bits, a bad option; none writes a file.
expect(1 "The image size \\(not filesize\\) of the bitmap is illegal" import ${game} Backdrop ${WORK}/hero.bmp)
expect(1 "The image is not a 256-colour" import ${game} Backdrop ${TRUECOLOUR})
expect(2 "usage: quillon-cli import" import ${game} Picture ${WORK}/hero.bmp --transparent 256)
expect_files(${game}/Backdrop "")
expect_files(${game}/Picture "")

# Media are copied as they are.
expect(0 "^${WORK}/town.mid\n$" export ${game} Music Town ${WORK}/town.mid)
expect(0 "^Music/town.mid\n$" import ${game} Music ${WORK}/town.mid)
file(SHA256 ${WORK}/town.mid a)
file(SHA256 ${game}/Music/town.mid b)
if(NOT a STREQUAL b)
  message(FATAL_ERROR "the imported music differs from its source")
endif()

# Delete: the project's file that the name resolves to, never the package's.
expect(0 "^deleted CharSet/hero.png\n$" delete ${game} CharSet hero)
expect_files(${game}/CharSet "hero.zgf")
expect(1 "^refused: " delete ${game} CharSet People)
expect(1 "^refused: " delete ${game} CharSet "People <RTP>")
get_filename_component(bin ${CLI} DIRECTORY)
if(NOT EXISTS ${bin}/RTP/CharSet/People.png)
  message(FATAL_ERROR "delete reached the run-time package")
endif()
