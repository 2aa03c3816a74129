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
