# quillon-cli package under a file-size limit (ulimit -f) and with temporary files that killed
# saves and packings left: the packing stops with its message instead of being killed, leaves
# neither half-copied files nor "Setup.ini" in the target, and no leftover reaches the archive.
# Arguments: CLI, WORK (a scratch folder).
find_program(BASH bash)
if(NOT BASH)
  message("SKIP: bash is not installed")
  return()
endif()
include(${CMAKE_CURRENT_LIST_DIR}/CliPackageKit.cmake)
file(MAKE_DIRECTORY ${WORK}/base ${WORK}/disk)

# The names below a folder that match a pattern.
function(expect_none folder pattern)
  file(GLOB_RECURSE found RELATIVE ${folder} ${folder}/${pattern})
  if(found)
    message(FATAL_ERROR "${folder} holds '${found}'")
  endif()
endfunction()

run(0 ${CLI} new-project ${WORK}/base Game "Limits")
set(game ${WORK}/base/Game)
# The small recording runtime instead of the game player, so that the archive fits the limit
# and only the set-up program does not.
get_filename_component(bin ${CLI} DIRECTORY)
file(COPY_FILE ${bin}/GMK_RT-standin.exe.dat ${game}/GMK_RT.exe)
# What a killed import and a killed packing left.
file(WRITE ${game}/Sound/big.wav.quillon-save-Ab12Cd "half a wave")
file(WRITE ${WORK}/disk/Setup.exe.quillon-copy-Qw3Er4 "half a set-up program")
file(WRITE ${WORK}/disk/Setup.ini "[Setup]\r\nDiskNumber=0\r\n")

# 100 blocks of 1024 bytes: room for the archive, not for the set-up program.
run(1 ${BASH} -c "ulimit -f 100 && exec \"$0\" package \"$1\" \"$2\"" ${CLI} ${game} ${WORK}/disk)
if(NOT printed MATCHES "The preparation of the game disk was stopped\n" OR NOT complained MATCHES "File too large")
  message(FATAL_ERROR "package under the limit printed '${printed}' '${complained}'")
endif()
expect_none(${WORK}/disk "*.quillon-*")
expect_none(${WORK}/disk "Setup.ini")
expect_none(${game} "*.quillon-*")

# Without the limit the disk is made, and the archive holds no temporary file.
file(WRITE ${game}/Sound/big.wav.quillon-save-Zz9Yy8 "half a wave again")
run(0 ${CLI} package ${game} ${WORK}/disk)
if(NOT EXISTS ${WORK}/disk/Setup.ini)
  message(FATAL_ERROR "no Setup.ini after a whole packing: '${printed}'")
endif()
run(0 ${CLI} lzh list ${WORK}/disk/Game.lzh)
if(printed MATCHES "quillon-" OR NOT printed MATCHES "GMK_RT.kdb")
  message(FATAL_ERROR "the archive lists '${printed}'")
endif()
expect_none(${game} "*.quillon-*")
