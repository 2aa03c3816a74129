# The Linux program's options, run as a user would and with no display to fall back on: each
# one has to be answered before the toolkit is made. Qt's own options go to Qt: with them the
# wizard opens and waits for its user until it is stopped.
# cmake -DQUENBROOK=<the built program> -DVERSION=<the project's version> -P options.cmake
function(expect option status stdout stderr)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
            --unset=QT_QPA_PLATFORM ${QUENBROOK} ${option}
    TIMEOUT 4 RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result STREQUAL status OR NOT out MATCHES "${stdout}" OR NOT err MATCHES "${stderr}")
    message(SEND_ERROR "quenbrook ${option}: exit ${result} (wanted ${status})\n"
                       "stdout:\n${out}\nstderr:\n${err}")
  endif()
endfunction()

string(REPLACE "." "\\." version "${VERSION}")
expect(--version 0 "^Quenbrook ${version}\n$" "^$")
expect(--help 0 "^Usage: quenbrook .*--version" "^$")
expect(-h 0 "^Usage: quenbrook " "^$")
expect(--bogus 2 "^$" "unknown option '--bogus'")
expect(project 2 "^$" "unknown option 'project'")
set(opens "Process terminated due to timeout")
expect("-platform;offscreen" "${opens}" "^$" "")
expect("-style;Fusion;--platform;offscreen;-reverse" "${opens}" "^$" "")
expect("-style=Fusion;-platform;offscreen" "${opens}" "^$" "")
expect("-platform;offscreen;--bogus" 2 "^$" "unknown option '--bogus'")
expect("-style=Fusion;-platform" 2 "^$" "option '-platform' needs a value")
# A display, a compositor or a platform that cannot be reached is said plainly, with status 1.
foreach(unreachable "-display;:4711" "-platform;bogus" "-platform;xcb" "-platform;wayland")
  expect("${unreachable}" 1 "^$" "needs a graphical display")
endforeach()
