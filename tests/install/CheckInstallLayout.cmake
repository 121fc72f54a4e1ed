# Installs the build under a scratch prefix and checks that a desktop finds everything
# where it looks: both programs (which start from there), the desktop entry naming the
# installed program and icon, the software-centre metadata launching that entry, the icon
# at every size, the compressed manual page, and the copyright file where Debian looks
# for it.
#   BUILD_DIR: the build folder; PREFIX: the scratch prefix, emptied first;
#   APP_ID: the reverse-DNS name of the entry and metadata; VERSION: the program's version
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${log}")
endif()

function(expect_file path)
  if(NOT EXISTS ${PREFIX}/${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endfunction()

# The first bytes of a file as hexadecimal.
function(read_bytes path offset count result)
  file(READ ${PREFIX}/${path} bytes OFFSET ${offset} LIMIT ${count} HEX)
  set(${result} ${bytes} PARENT_SCOPE)
endfunction()

# A PNG of the theme must be exactly the size of the folder it stands in.
function(expect_png_of_side path side)
  expect_file(${path})
  read_bytes(${path} 0 8 signature)
  read_bytes(${path} 16 8 dimensions)
  string(SUBSTRING ${dimensions} 0 8 width)
  string(SUBSTRING ${dimensions} 8 8 height)
  math(EXPR width "0x${width}")
  math(EXPR height "0x${height}")
  if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT width EQUAL side OR NOT height EQUAL side)
    message(FATAL_ERROR "${path}: not a ${side}x${side} PNG (${width}x${height}, ${signature})")
  endif()
endfunction()

# The installed programs run from the prefix.
function(expect_output program argument text)
  execute_process(COMMAND ${PREFIX}/bin/${program} ${argument} RESULT_VARIABLE status
                  OUTPUT_VARIABLE output ERROR_VARIABLE output)
  string(FIND "${output}" "${text}" found)
  if(NOT status EQUAL 0 OR found EQUAL -1)
    message(FATAL_ERROR "${program} ${argument}: status ${status}, lacks '${text}': ${output}")
  endif()
endfunction()

expect_output(quillon-fx --help "usage: quillon-fx")
expect_output(quillon --version "Quillon ${VERSION}")

set(entry share/applications/${APP_ID}.desktop)
expect_file(${entry})
set(metainfo share/metainfo/${APP_ID}.metainfo.xml)
expect_file(${metainfo})
file(READ ${PREFIX}/${metainfo} metadata)
string(FIND "${metadata}" "<launchable type=\"desktop-id\">${APP_ID}.desktop<" launches)
string(FIND "${metadata}" "<release version=\"${VERSION}\"" released)
if(launches EQUAL -1 OR released EQUAL -1)
  message(FATAL_ERROR "${metainfo} does not launch ${APP_ID}.desktop or lacks release ${VERSION}")
endif()
file(STRINGS ${PREFIX}/${entry} exec REGEX "^Exec=")
file(STRINGS ${PREFIX}/${entry} icon REGEX "^Icon=")
string(REGEX REPLACE "^Exec=([^ ]+).*" "\\1" exec "${exec}")
string(REGEX REPLACE "^Icon=" "" icon "${icon}")
expect_file(bin/${exec})
expect_file(share/icons/hicolor/scalable/apps/${icon}.svg)
foreach(side 16 32 48 64 128 256)
  expect_png_of_side(share/icons/hicolor/${side}x${side}/apps/${icon}.png ${side})
endforeach()

set(page share/man/man1/quillon-fx.1.gz)
expect_file(${page})
read_bytes(${page} 0 2 magic)
if(NOT magic STREQUAL "1f8b")
  message(FATAL_ERROR "${page} is not compressed with gzip")
endif()

expect_file(share/doc/quillon/copyright)
