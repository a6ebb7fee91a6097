# Fails when the program grows past its size limit or imports a DLL outside
# the system DLLs it is meant to use: a compiler or library change that
# brings the C++ runtime back (or a runtime DLL) shows here first.
# usage: cmake -DPROGRAM=ADSL.EXE -DOBJDUMP=objdump -DLIMIT=bytes
#              -DALLOWED=a.dll;b.dll -P check_program_size.cmake
cmake_minimum_required(VERSION 3.20)
foreach(variable PROGRAM OBJDUMP LIMIT ALLOWED)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "check_program_size: ${variable} is not set")
  endif()
endforeach()

file(SIZE "${PROGRAM}" size)
message(STATUS "${PROGRAM}: ${size} bytes (limit ${LIMIT})")
set(failed FALSE)
if(size GREATER LIMIT)
  message(SEND_ERROR "${PROGRAM} is ${size} bytes, more than ${LIMIT}")
  set(failed TRUE)
endif()

execute_process(COMMAND "${OBJDUMP}" -p "${PROGRAM}"
  OUTPUT_VARIABLE headers RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "check_program_size: ${OBJDUMP} -p failed (${status})")
endif()
string(REGEX MATCHALL "DLL Name: [^\r\n]+" names "${headers}")
if(NOT names)
  message(SEND_ERROR "no import table found in ${PROGRAM}")
  set(failed TRUE)
endif()
string(TOLOWER "${ALLOWED}" allowed)
foreach(line IN LISTS names)
  string(REGEX REPLACE "^DLL Name: *" "" dll "${line}")
  string(STRIP "${dll}" dll)
  string(TOLOWER "${dll}" lower)
  message(STATUS "imports ${dll}")
  if(NOT lower IN_LIST allowed)
    message(SEND_ERROR "${PROGRAM} imports ${dll}, which is not one of: ${ALLOWED}")
    set(failed TRUE)
  endif()
endforeach()
if(failed)
  message(FATAL_ERROR "check_program_size: ${PROGRAM} failed the check")
endif()
