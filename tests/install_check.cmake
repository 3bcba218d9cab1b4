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
set(expected
  bin/vemla
  bin/vemla-cli
  share/applications/org.vemla.Vemla.desktop
  share/doc/vemla/overview.html
  share/doc/vemla/overview.en.html
  share/locale/en/LC_MESSAGES/vemla.mo
  share/icons/hicolor/scalable/apps/org.vemla.Vemla.svg
  share/metainfo/org.vemla.Vemla.metainfo.xml
  share/mime/packages/org.vemla.Vemla.xml)
foreach(size 16 22 24 32 48 64 128 256 512)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/org.vemla.Vemla.png)
endforeach()
list(SORT installed)
list(SORT expected)
if(NOT installed STREQUAL expected)
  message(FATAL_ERROR "installed files differ\n  got:      ${installed}\n  expected: ${expected}")
endif()

# Each PNG icon is square at the size of its folder (width and height from the IHDR chunk).
foreach(size 16 22 24 32 48 64 128 256 512)
  file(READ ${PREFIX}/share/icons/hicolor/${size}x${size}/apps/org.vemla.Vemla.png header
       OFFSET 16 LIMIT 8 HEX)
  math(EXPR expected_hex "${size}" OUTPUT_FORMAT HEXADECIMAL)
  string(SUBSTRING "${expected_hex}" 2 -1 digits)
  string(LENGTH "${digits}" length)
  math(EXPR padding "8 - ${length}")
  string(REPEAT "0" ${padding} zeros)
  if(NOT header STREQUAL "${zeros}${digits}${zeros}${digits}")
    message(FATAL_ERROR "icon ${size}x${size} has the header ${header}")
  endif()
endforeach()

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
