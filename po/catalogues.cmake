# The catalogues of the texts users read, one GNU gettext .po file a language in po/ (po/LINGUAS
# lists them), made into .mo files by msgfmt: for Linux under locale/<language>/LC_MESSAGES
# beside the program (and installed under the system's locale folder), for Windows built into the
# program as resources of type MO. The "pot" target makes po/quenbrook.pot from the code again.
find_program(MSGFMT msgfmt REQUIRED)
find_program(XGETTEXT xgettext)
set(po ${PROJECT_SOURCE_DIR}/po)
file(STRINGS ${po}/LINGUAS QUENBROOK_LANGUAGES REGEX "^[^#]")
set(mo_files)
set(catalogues_rc "// The catalogues, one a language, made by po/catalogues.cmake.\n")
foreach(language ${QUENBROOK_LANGUAGES})
  set(mo ${CMAKE_BINARY_DIR}/locale/${language}/LC_MESSAGES/quenbrook.mo)
  add_custom_command(OUTPUT ${mo}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/locale/${language}/LC_MESSAGES
    COMMAND ${MSGFMT} --check -o ${mo} ${po}/${language}.po
    DEPENDS ${po}/${language}.po VERBATIM)
  list(APPEND mo_files ${mo})
  string(TOUPPER ${language} name)
  string(APPEND catalogues_rc "${name} MO \"${mo}\"\n")
  if(NOT WIN32)
    install(FILES ${mo} DESTINATION ${CMAKE_INSTALL_LOCALEDIR}/${language}/LC_MESSAGES)
  endif()
endforeach()
add_custom_target(catalogues ALL DEPENDS ${mo_files})
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/catalogues.rc CONTENT "${catalogues_rc}")
set(QUENBROOK_CATALOGUES_RC ${CMAKE_BINARY_DIR}/catalogues.rc)
# The resource compiler reads the catalogues, which CMake does not see in the .rc.
set_source_files_properties(${QUENBROOK_CATALOGUES_RC} PROPERTIES OBJECT_DEPENDS "${mo_files}")

file(GLOB_RECURSE catalogue_sources RELATIVE ${PROJECT_SOURCE_DIR} CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/wizard/*.[ch]* ${PROJECT_SOURCE_DIR}/picker/*.[ch]*
     ${PROJECT_SOURCE_DIR}/shortcut/*.[ch]* ${PROJECT_SOURCE_DIR}/platform/*.[ch]*)
list(SORT catalogue_sources)
set(QUENBROOK_XGETTEXT ${XGETTEXT} --from-code=UTF-8 -k --keyword=tr:1 --keyword=N_:1
    --add-comments=TRANSLATORS --sort-by-file --package-name=Quenbrook
    --package-version=${PROJECT_VERSION} ${catalogue_sources})
add_custom_target(pot COMMAND ${QUENBROOK_XGETTEXT} -o ${po}/quenbrook.pot
                  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} VERBATIM)
