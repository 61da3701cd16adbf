# Makes a program's man page from its --help, at build time:
#   cmake -DPROGRAM=path -DNAME=name -DSECTION=1 -DVERSION=v -DSUMMARY=text -DSEE_ALSO=refs
#         -DCONVERTER=help_to_man -DOUTPUT=name.1.gz -P make_man_page.cmake
# The program runs in an empty folder with SDL's dummy video driver and a time limit, so that a
# program whose --help is broken cannot open a window or hold up the build: it fails the build.
cmake_minimum_required(VERSION 3.25)

get_filename_component(work "${OUTPUT}" DIRECTORY)
set(scratch "${work}/${NAME}-help-run")
file(REMOVE_RECURSE "${scratch}")
file(MAKE_DIRECTORY "${scratch}")
set(ENV{SDL_VIDEODRIVER} dummy)
execute_process(COMMAND "${PROGRAM}" --help
  WORKING_DIRECTORY "${scratch}"
  INPUT_FILE /dev/null
  OUTPUT_VARIABLE help
  ERROR_QUIET
  RESULT_VARIABLE status
  TIMEOUT 5)
file(REMOVE_RECURSE "${scratch}")
string(FIND "${help}" "usage: ${NAME}" at)
if(NOT status STREQUAL "0" OR NOT at EQUAL 0)
  message(FATAL_ERROR "${NAME} --help printed no usage text (exit status ${status})")
endif()

set(text "${work}/${NAME}.help")
set(page "${work}/${NAME}.${SECTION}")
file(WRITE "${text}" "${help}")
separate_arguments(see_also UNIX_COMMAND "${SEE_ALSO}")
execute_process(COMMAND "${CONVERTER}" "${NAME}" "${SECTION}" "${VERSION}" "${SUMMARY}" ${see_also}
  INPUT_FILE "${text}"
  OUTPUT_FILE "${page}"
  RESULT_VARIABLE status)
if(NOT status STREQUAL "0")
  message(FATAL_ERROR "help_to_man failed for ${NAME}")
endif()
# gzip -9n: the best compression and no name or time stamp, as Debian's man pages are packed.
execute_process(COMMAND gzip -9n -c "${page}" OUTPUT_FILE "${OUTPUT}" RESULT_VARIABLE status)
if(NOT status STREQUAL "0")
  message(FATAL_ERROR "gzip failed for ${page}")
endif()
