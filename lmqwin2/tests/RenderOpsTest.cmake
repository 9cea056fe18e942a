# Runs lmqwin2 --render-ops / --render on a generated file with its own database and
# settings, and checks lines of the display list.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/cfg/Varnholt)
set(ENV{LMDATA} ${WORK}/LMData.sqlite)
set(ENV{XDG_CONFIG_HOME} ${WORK}/cfg)
set(ENV{XDG_RUNTIME_DIR} ${WORK})
# Colour mode 0 (coloured channels) and scheme 2 from the settings store.
file(WRITE ${WORK}/cfg/Varnholt/AELumeny.conf "[Quorvel]\nViewType=0\nColorScheme=2\nPointSize=1\n")

function(run_ok out)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE stdout ERROR_VARIABLE stderr)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${rc}): ${stderr}")
  endif()
  set(${out} "${stdout}" PARENT_SCOPE)
endfunction()

function(expect_line ops line)
  string(FIND "${ops}" "\n${line}\n" at)
  if(at EQUAL -1)
    string(FIND "${ops}" "${line}\n" at)
    if(NOT at EQUAL 0)
      message(FATAL_ERROR "missing line: ${line}")
    endif()
  endif()
endfunction()

function(expect_match ops regex)
  if(NOT "${ops}" MATCHES "${regex}")
    message(FATAL_ERROR "no line matches: ${regex}")
  endif()
endfunction()

run_ok(ignored ${LMTOOL} gen --format dta --hits 300 ${WORK}/tiny.dta)

# Without a file: the pages of the first graph set, empty, and the counters at 0.
run_ok(empty ${LMQWIN2} --render-ops - --page 0)
expect_line("${empty}" "page 0 1000 700 \"Correlation\"")
expect_line("${empty}" "fill 0 0 1000 700 FFFFFF")
expect_line("${empty}" "graph 0 1 0 0 400 350 50 25 380 325 \"Energy vs Amplitude\"")
expect_line("${empty}" "text 5 10 lc 000000 \"0. Energy vs Amplitude\"")
expect_line("${empty}" "rect 47 22 383 328 000000")
expect_line("${empty}" "status \"HITS:0        \" \"EVNT: - \" \"FRMD:0        \" \"GRPD:0        \" \"DLTD:0        \"")
if("${empty}" MATCHES "\ndot ")
  message(FATAL_ERROR "dots without data")
endif()

# With the file, a frame drawn on the first graph and the group/delete commands.
run_ok(ops ${LMQWIN2} --render-ops ${WORK}/ops.txt --size 1003x700 --band 0:0:50:25:200:325 --do Frames2JointAND
       --do JointDeleteData --do EventView ${WORK}/tiny.dta)
file(READ ${WORK}/ops.txt ops)
expect_line("${ops}" "graph 4 3 800 0 203 350 50 25 183 325 \"Amplitude distribution\"")
expect_match("${ops}" "\ndot [0-9]+ [0-9]+ [0-9A-F]+\n")
expect_match("${ops}" "\nstatus \"HITS:300 +\" \"EVNT:[0-9]+ +\" \"FRMD:0 +\" \"GRPD:0 +\" \"DLTD:[1-9][0-9]* +\"\n$")
string(REGEX MATCHALL "page [0-9]+ 1003 700 " pages "${ops}")
list(LENGTH pages page_count)
if(NOT page_count EQUAL 3)
  message(FATAL_ERROR "expected 3 pages, got ${page_count}")
endif()

# A frame that stays: drawn in colour mode 0 with role 9 of scheme 2.
run_ok(framed ${LMQWIN2} --render-ops - --page 0 --band 0:0:100:100:200:200 ${WORK}/tiny.dta)
expect_line("${framed}" "rect 100 100 200 200 008000")

# Errors: an unknown command, a band on a missing graph, a missing file.
foreach(bad "--do;Nonsense" "--band;0:99:1:1:2:2" "--zoom;5" "${WORK}/missing.dta")
  execute_process(COMMAND ${LMQWIN2} --render-ops ${WORK}/bad.txt ${bad} ${WORK}/tiny.dta
                  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
  if(NOT rc EQUAL 1 OR err STREQUAL "")
    message(FATAL_ERROR "${bad}: exit ${rc}, stderr '${err}'")
  endif()
endforeach()

# PNG pages.
run_ok(ignored ${LMQWIN2} --render ${WORK}/png --size 600x400 ${WORK}/tiny.dta)
foreach(n 1 2 3)
  if(NOT EXISTS ${WORK}/png/page-${n}.png)
    message(FATAL_ERROR "page-${n}.png not written")
  endif()
endforeach()
