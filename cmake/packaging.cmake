# Installing and packaging.
#
#   cmake --install build                        the program, its sample data and desktop
#                                                integration in the system's places, and
#                                                the scenario runner (component scenario)
#   cmake --install build --component program    the program alone
#   cpack --config build/CPackConfig.cmake -G DEB   proveron_*.deb, proveron-scenario_*.deb
#   cpack --config build/CPackConfig.cmake -G TGZ   a portable archive: the program beside
#                                                   its own application folder

set(PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
# The desktop entry, the AppStream metadata and the desktop's name for the program's
# windows share one identifier.
set(PROVERON_APP_ID ru.proveron.proveron)

# The program: its sample data is copied into each user's own application folder on the
# first start and is never written itself.
install(TARGETS proveron RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT program)
install(DIRECTORY data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/proveron/data COMPONENT program
        PATTERN .keep EXCLUDE)
install(FILES ${PACKAGING_DIR}/${PROVERON_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT program)
install(FILES ${PACKAGING_DIR}/${PROVERON_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT program)
install(FILES ${PACKAGING_DIR}/icons/proveron.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT program)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${PACKAGING_DIR}/icons/proveron-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME proveron.png COMPONENT program)
endforeach()
install(FILES ${PACKAGING_DIR}/man/proveron.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
        COMPONENT program)

# The scenario runner, for teachers who check an exam before it is taken.
install(TARGETS proveron-scenario RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT scenario)
install(FILES ${PACKAGING_DIR}/man/proveron-scenario.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
        COMPONENT scenario)
install(FILES ${PACKAGING_DIR}/examples/exam_check.scn
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/proveron-scenario/examples COMPONENT scenario)

# The portable archive's folder is its own application folder: the programs beside the
# sample data. Only the archive installs this component.
install(TARGETS proveron proveron-scenario RUNTIME DESTINATION . COMPONENT portable
        EXCLUDE_FROM_ALL)
install(DIRECTORY data/ DESTINATION . COMPONENT portable EXCLUDE_FROM_ALL PATTERN .keep EXCLUDE)

set(CPACK_PACKAGE_NAME proveron)
set(CPACK_PACKAGE_VENDOR "Проверон")
set(PROVERON_MAINTAINER "Proveron developers <maintainers@proveron.invalid>"
    CACHE STRING "The maintainer named in the packages")
set(CPACK_PACKAGE_CONTACT "${PROVERON_MAINTAINER}")
set(CPACK_GENERATOR DEB TGZ)
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL program scenario)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME proveron)
# Qt's own dialogs speak Russian in the Russian interface.
set(CPACK_DEBIAN_PROGRAM_PACKAGE_DEPENDS qt6-translations-l10n)
set(CPACK_DEBIAN_SCENARIO_PACKAGE_NAME proveron-scenario)
# The first line of each is the package's synopsis (no package-wide summary is set, so
# that each package keeps its own).
set(CPACK_COMPONENT_PROGRAM_DESCRIPTION "examiner and tester for the classroom, in Russian and English
A student draws a numbered ticket, answers its questions one by one and gets an
average grade against a passing score, optionally against a clock. Behind a
password the teacher sets the exam up, writes scored tests and reads the
reports. Each user gets an application folder of their own, filled with a
sample exam on the first start; a lab can share one folder instead.")
set(CPACK_COMPONENT_SCENARIO_DESCRIPTION "scripted checks of Proveron exams
proveron-scenario replays scripts of what a teacher or a student does in
Proveron and checks what its windows show, without a screen, so that an exam
can be checked before it is taken.")

# The archive takes the portable component alone, in one folder.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/CPackProjectConfig.cmake)
file(WRITE ${CMAKE_BINARY_DIR}/CPackProjectConfig.cmake [=[
if(CPACK_GENERATOR STREQUAL "TGZ")
  set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_ALL portable)
  set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
  set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
endif()
]=])

include(CPack)

if(PROVERON_TESTS)
  # The bundled example runs as a scenario of its own, so it never goes stale.
  add_test(NAME scenario.example_exam_check
           COMMAND proveron-scenario ${PACKAGING_DIR}/examples/exam_check.scn)
  set_tests_properties(scenario.example_exam_check PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

  # Builds the packages and uses what they install, as a fresh machine would.
  add_test(NAME package.install
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/package/check_package.sh
                   ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR} ${PROVERON_APP_ID})
  set_tests_properties(package.install PROPERTIES TIMEOUT 900)
endif()
