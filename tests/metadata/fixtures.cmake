# The metadata fixtures: tiny Windows executables whose resources are compiled from the .rc
# files in fixtures/ with MinGW's windres, plus damaged files made from one of them by
# make_fixtures.cpp. Every configuration builds them the same way - the host build's native
# tests, the Windows build's tests under Wine and the fuzz build's seeds read the same files -
# so the cross tools are called directly rather than through this build's compiler.
#
# velmora_metadata_fixtures(<target> <output dir>) adds <target>, which builds them all into
# <output dir>, and sets VELMORA_METADATA_FIXTURE_FILES in the caller's scope.

set(VELMORA_METADATA_FIXTURE_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR})

function(velmora_metadata_fixtures target out)
  find_program(VELMORA_MINGW_CC NAMES i686-w64-mingw32-gcc REQUIRED)
  find_program(VELMORA_MINGW_WINDRES NAMES i686-w64-mingw32-windres REQUIRED)
  find_program(VELMORA_HOST_CXX NAMES c++ g++ clang++ REQUIRED)
  set(src ${VELMORA_METADATA_FIXTURE_SOURCE_DIR})
  # Intermediate files go beside, not into, the output folder: the fuzz build uses that
  # folder as its seed corpus.
  set(obj ${CMAKE_CURRENT_BINARY_DIR}/${target}-obj)
  set(generator ${obj}/make_fixtures)

  add_custom_command(
    OUTPUT ${generator}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${obj}
    COMMAND ${VELMORA_HOST_CXX} -std=c++20 -O1 -o ${generator} ${src}/make_fixtures.cpp
    DEPENDS ${src}/make_fixtures.cpp
    COMMENT "Building the metadata fixture generator")
  add_custom_command(
    OUTPUT ${obj}/icon.ico
    COMMAND ${generator} icon ${obj}/icon.ico
    DEPENDS ${generator})

  # Linked without the C run-time and with no time stamp: small, and the same on every build.
  set(link_flags -nostdlib -nostartfiles -fno-ident -fno-asynchronous-unwind-tables
                 -Wl,-e,_start -Wl,--no-insert-timestamp -s)
  set(files)
  foreach(name two_translations values key_mismatch no_translation icon_only)
    add_custom_command(
      OUTPUT ${out}/${name}.exe
      COMMAND ${CMAKE_COMMAND} -E make_directory ${obj} ${out}
      COMMAND ${VELMORA_MINGW_WINDRES} --include-dir=${obj} -O coff -o ${obj}/${name}.res.o
              ${src}/fixtures/${name}.rc
      COMMAND ${VELMORA_MINGW_CC} ${link_flags} -o ${out}/${name}.exe ${src}/fixtures/tiny.c
              ${obj}/${name}.res.o
      DEPENDS ${src}/fixtures/${name}.rc ${src}/fixtures/tiny.c ${obj}/icon.ico
      COMMENT "Building metadata fixture ${name}.exe")
    list(APPEND files ${out}/${name}.exe)
  endforeach()
  add_custom_command(
    OUTPUT ${out}/no_version.exe
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out}
    COMMAND ${VELMORA_MINGW_CC} ${link_flags} -o ${out}/no_version.exe ${src}/fixtures/tiny.c
    DEPENDS ${src}/fixtures/tiny.c
    COMMENT "Building metadata fixture no_version.exe")
  list(APPEND files ${out}/no_version.exe)

  set(hostile)
  foreach(name not_pe dos_only truncated outside_section outside_data loop overflow)
    list(APPEND hostile ${out}/${name}.exe)
  endforeach()
  add_custom_command(
    OUTPUT ${hostile}
    COMMAND ${generator} hostile ${out}/two_translations.exe ${out}
    DEPENDS ${generator} ${out}/two_translations.exe
    COMMENT "Making the damaged metadata fixtures")
  list(APPEND files ${hostile})

  add_custom_target(${target} DEPENDS ${files})
  set(VELMORA_METADATA_FIXTURE_FILES ${files} PARENT_SCOPE)
endfunction()
