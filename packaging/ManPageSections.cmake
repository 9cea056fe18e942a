# cmake -DPROGRAM=<program file> -DOUT=<file> -P ManPageSections.cmake
# Writes the sections help2man adds to a program's manual page (its --include file): for
# lmtool the help text of every command, for each program the pages of the other two.

function(roff_literal text out)
  # Text shown as it is: backslashes escaped, no line read as a request.
  string(REPLACE "\\" "\\e" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

get_filename_component(name "${PROGRAM}" NAME)
set(sections "")

if(name STREQUAL "lmtool")
  execute_process(COMMAND "${PROGRAM}" --help OUTPUT_VARIABLE usage RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} --help failed")
  endif()
  string(REGEX MATCH "Commands:\n(([ ]+[^\n]*\n)+)" block "${usage}")
  string(REGEX MATCHALL "\n  [a-z]+" commands "\n${CMAKE_MATCH_1}")
  string(APPEND sections "[>COMMANDS]\n")
  foreach(command IN LISTS commands)
    string(STRIP "${command}" command)
    execute_process(COMMAND "${PROGRAM}" ${command} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "${PROGRAM} ${command} --help failed")
    endif()
    roff_literal("${help}" help)
    string(APPEND sections ".SS ${command}\n.nf\n${help}.fi\n")
  endforeach()
endif()

set(others "")
foreach(page lmqwin2 lmfwin lmtool)
  if(NOT page STREQUAL name)
    list(APPEND others "\\fB${page}\\fR(1)")
  endif()
endforeach()
list(JOIN others ", " others)
string(APPEND sections "[SEE ALSO]\n${others}\n")
file(WRITE "${OUT}" "${sections}")
