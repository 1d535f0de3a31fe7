# Runs velmora-verinfo (TOOL, through EMULATOR when cross-compiled) on FILE and checks its exit code (EXIT_CODE) and output: the text of
# EXPECTED when given, otherwise a single line that begins with "error: ".
execute_process(COMMAND ${EMULATOR} ${TOOL} ${FILE} RESULT_VARIABLE code OUTPUT_VARIABLE out
                ERROR_VARIABLE err)
if(NOT code EQUAL EXIT_CODE)
  message(FATAL_ERROR "exit code ${code}, expected ${EXIT_CODE}\n${out}${err}")
endif()
if(EXPECTED)
  file(READ ${EXPECTED} expected)
  if(NOT out STREQUAL expected)
    message(FATAL_ERROR "output differs.\n--- expected\n${expected}--- actual\n${out}")
  endif()
elseif(NOT out MATCHES "^error: [^\n]+\n$")
  message(FATAL_ERROR "expected one line \"error: ...\", got:\n${out}")
endif()
message(STATUS "${out}")
