# Installs the build into a fresh prefix (cmake --install) and checks that exactly the expected
# files arrive and that the desktop files pass the desktop's own validators.
# Usage: cmake -DBUILD=<build dir> -DPREFIX=<empty folder to install into> -P install_check.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

file(GLOB_RECURSE installed RELATIVE ${PREFIX} ${PREFIX}/*)
list(SORT installed)
set(expected
  bin/vemla
  bin/vemla-cli
  share/applications/org.vemla.Vemla.desktop
  share/doc/vemla/overview.html
  share/icons/hicolor/scalable/apps/org.vemla.Vemla.svg
  share/metainfo/org.vemla.Vemla.metainfo.xml
  share/mime/packages/org.vemla.Vemla.xml)
if(NOT installed STREQUAL expected)
  message(FATAL_ERROR "installed files differ\n  got:      ${installed}\n  expected: ${expected}")
endif()

function(check_tool name)
  find_program(tool_${name} ${name} REQUIRED)
  execute_process(COMMAND ${tool_${name}} ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out
                  ERROR_VARIABLE out)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${name} ${ARGN} failed:\n${out}")
  endif()
endfunction()
check_tool(desktop-file-validate ${PREFIX}/share/applications/org.vemla.Vemla.desktop)
check_tool(appstreamcli validate --no-net ${PREFIX}/share/metainfo/org.vemla.Vemla.metainfo.xml)
check_tool(update-mime-database ${PREFIX}/share/mime)
if(NOT EXISTS ${PREFIX}/share/mime/application/x-vemla-archive.xml)
  message(FATAL_ERROR "the archive file type was not registered")
endif()
file(REMOVE_RECURSE ${PREFIX})
