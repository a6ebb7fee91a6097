# Compiler and linker settings shared by the program, the tools and the tests.
add_library(tolvane_options INTERFACE)

target_compile_options(tolvane_options INTERFACE
  -Wall -Wextra -Wshadow -Wconversion -Wno-sign-conversion
  # Sources are UTF-8; every narrow text the program hands to Windows is a
  # code page 936 byte string.
  -finput-charset=UTF-8 -fexec-charset=CP936)
target_compile_definitions(tolvane_options INTERFACE
  WINVER=0x0601 _WIN32_WINNT=0x0601 NOMINMAX STRICT)
target_link_options(tolvane_options INTERFACE -static -static-libgcc -static-libstdc++)

# The program's icon, drawn by a generator of the project's own.
set(TOLVANE_ICON ${CMAKE_BINARY_DIR}/generated/adsl.ico)
add_custom_command(
  OUTPUT ${TOLVANE_ICON}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/generated
  COMMAND python3 ${CMAKE_SOURCE_DIR}/tools/make_icon.py ${TOLVANE_ICON}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_icon.py
  COMMENT "Drawing the program icon")
add_custom_target(tolvane_icon DEPENDS ${TOLVANE_ICON})

# The code that ships (the core library and ADSL.EXE): no exceptions and no
# RTTI, so that none of the runtime's throwing machinery (unwinder, verbose
# terminate handler, demangler) is linked in, and every function and object
# in a section of its own for the linker to collect. The tests keep
# exceptions (GoogleTest needs them) and link the same core library.
add_library(tolvane_product_options INTERFACE)
target_compile_options(tolvane_product_options INTERFACE
  -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
  -ffunction-sections -fdata-sections)

# How a program that ships is linked: stripped, unused sections collected,
# and every section at a page boundary of the file. Wine maps a section of
# the image from the file only when its file offset is page-aligned and
# reads the others into private memory (Windows maps either way).
add_library(tolvane_program_link_options INTERFACE)
target_link_options(tolvane_program_link_options INTERFACE
  -s -Wl,--gc-sections -Wl,--file-alignment,4096)
