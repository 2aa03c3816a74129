# Builds the MSI from Quenbrook.wxs with wixl, run in the folder that holds the program and its
# icon (wixl takes no absolute source paths):
#   cmake -DVersion=1.0.0.0 "-DPublisher=The Quenbrook developers" -DExe=Quenbrook.exe
#         -DIcon=Quenbrook.ico -DOutput=Quenbrook-1.0.0.0.msi -P packaging/windows/msi.cmake
#
# Windows Installer compares only the first three fields of ProductVersion (major.minor.build,
# at most 255.255.65535), so two releases that differ only in the fourth part would look like
# the same version and install side by side. The MSI's ProductVersion is therefore
# a.b.(c*1000+d): 1.0.0.0 gives 1.0.0, 1.0.0.1 gives 1.0.1 and 1.2.3.4 gives 1.2.3004. Releases
# keep their order as long as d stays below 1000 and c*1000+d below 65535 (65535 itself is left
# free as the end of the same-version range in Quenbrook.wxs). The uninstall entry shows this
# version; the program's own version block keeps the four-part one.
foreach(name Version Publisher Exe Icon Output)
  if(NOT DEFINED ${name})
    message(FATAL_ERROR "msi.cmake: -D${name}=... is missing")
  endif()
endforeach()
if(NOT Version MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
  message(FATAL_ERROR "msi.cmake: the version ${Version} is not a.b.c.d")
endif()
set(major ${CMAKE_MATCH_1})
set(minor ${CMAKE_MATCH_2})
math(EXPR build "${CMAKE_MATCH_3} * 1000 + ${CMAKE_MATCH_4}")
if(major GREATER 255 OR minor GREATER 255 OR CMAKE_MATCH_4 GREATER 999 OR build GREATER 65534)
  message(FATAL_ERROR "msi.cmake: ${Version} has no MSI version a.b.(c*1000+d): a and b must be "
                      "at most 255, d at most 999 and c*1000+d at most 65534")
endif()
math(EXPR next "${build} + 1")

# The program's version and language, read from its own version block as Windows Installer
# reads them, for the File table: a versioned file is replaced by version, not by hash (the
# "File Table" and "MsiFileHash Table" pages), and wixl leaves both columns empty.
file(READ ${Exe} exe HEX)
string(FIND "${exe}" "bd04effe" fixed)  # VS_FIXEDFILEINFO's signature, 0xFEEF04BD
# "Translation", in UTF-16, then its null, its padding and the language.
string(FIND "${exe}" "5400720061006e0073006c006100740069006f006e00" translation)
if(fixed LESS 0 OR translation LESS 0)
  message(FATAL_ERROR "msi.cmake: ${Exe} has no version block")
endif()
function(word offset out)  # the 16-bit little-endian number at offset (in hex digits)
  string(SUBSTRING "${exe}" ${offset} 4 digits)
  string(SUBSTRING "${digits}" 2 2 high)
  string(SUBSTRING "${digits}" 0 2 low)
  math(EXPR value "0x${high}${low}")
  set(${out} ${value} PARENT_SCOPE)
endfunction()
set(file_version "")
foreach(at 20 16 28 24)  # the file version's major, minor, build and revision
  math(EXPR at "${fixed} + ${at}")
  word(${at} part)
  list(APPEND file_version ${part})
endforeach()
list(JOIN file_version . file_version)
math(EXPR at "${translation} + 52")
word(${at} language)

# wixl only warns when it meets an attribute it does not support, and still writes a package
# that lacks it; such a package fails the build instead.
execute_process(
  COMMAND wixl --arch x64 -D Version=${Version} -D ProductVersion=${major}.${minor}.${build}
          -D NextProductVersion=${major}.${minor}.${next} -D Publisher=${Publisher} -D Exe=${Exe}
          -D Icon=${Icon} -o ${Output} ${CMAKE_CURRENT_LIST_DIR}/Quenbrook.wxs
  RESULT_VARIABLE status
  ERROR_VARIABLE warnings)
if(NOT status EQUAL 0 OR NOT warnings STREQUAL "")
  file(REMOVE ${Output})
  message(FATAL_ERROR "msi.cmake: wixl failed (${status}):\n${warnings}")
endif()
execute_process(
  COMMAND msibuild ${Output}
          -q "UPDATE `File` SET `Version` = '${file_version}', `Language` = '${language}' WHERE `File` = 'Quenbrook.exe'"
          -q "DELETE FROM `MsiFileHash` WHERE `File_` = 'Quenbrook.exe'"
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE ${Output})
  message(FATAL_ERROR "msi.cmake: msibuild could not set Quenbrook.exe's version (${status})")
endif()
