# Test plumbing shared by every folder.
#
#   zt_add_native_test(NAME name SOURCES ... LIBS ...)
#       a GoogleTest executable over the portable core; native tree only, label "native".
#   zt_add_wine_gtest(NAME name SOURCES ... LIBS ... [LABELS ...] [LOCALES ...])
#       a GoogleTest executable built by both mingw trees; run under wine64 (win64 tree only),
#       label "wine", inside the shared Wine environment fixture. Each of LOCALES (for example
#       en_US: ANSI code page 1252) runs it once more as NAME_LOCALE under that locale.
#   zt_add_wine_command_test(NAME name COMMAND ... [LABELS ...] [TIMEOUT s])
#       any command (usually a Python driver) run in the Wine environment fixture.
#
# The Wine environment (fresh prefix, Xvfb display, code page 936) is made once per CTest run
# by the fixture test "wine_env_setup" and torn down by "wine_env_cleanup".

set(ZT_PYTHON python3)
set(ZT_WINE_ENV ${CMAKE_SOURCE_DIR}/tests/tools/wine_env.py)
set(ZT_WINE_STATE ${CMAKE_BINARY_DIR}/wine-env)

if(WIN32)
  if(NOT TARGET gtest)
    # The mingw trees build GoogleTest from its sources (Debian's googletest package puts
    # them under <prefix>/src/googletest); -DZT_GOOGLETEST_SOURCE_DIR=... names another copy.
    set(_zt_gtest_hints)
    foreach(prefix ${CMAKE_INSTALL_PREFIX} /usr/local /usr)
      list(APPEND _zt_gtest_hints ${prefix}/src/googletest)
    endforeach()
    find_path(ZT_GOOGLETEST_SOURCE_DIR NAMES googletest/include/gtest/gtest.h
              HINTS ENV GOOGLETEST_SOURCE_DIR PATHS ${_zt_gtest_hints}
              NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH
              DOC "GoogleTest's source tree (the folder holding googletest/ and googlemock/)")
    if(NOT ZT_GOOGLETEST_SOURCE_DIR)
      message(FATAL_ERROR "GoogleTest's sources were not found: scripts/setup installs them "
                          "(googletest), or pass -DZT_GOOGLETEST_SOURCE_DIR=<folder>.")
    endif()
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${ZT_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  endif()
  set(ZT_GTEST_LIBS gtest_main gmock)
else()
  find_package(GTest REQUIRED)
  set(ZT_GTEST_LIBS GTest::gtest_main GTest::gmock)
endif()

function(zt_add_native_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  if(WIN32)
    return()
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} ${ZT_GTEST_LIBS})
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES LABELS "native;${T_LABELS}" TIMEOUT 300)
endfunction()

if(ZT_RUNS_UNDER_WINE AND NOT TARGET_WINE_FIXTURE_DONE)
  set(TARGET_WINE_FIXTURE_DONE ON)
  add_test(NAME wine_env_setup COMMAND ${ZT_PYTHON} ${ZT_WINE_ENV} setup ${ZT_WINE_STATE})
  add_test(NAME wine_env_cleanup COMMAND ${ZT_PYTHON} ${ZT_WINE_ENV} cleanup ${ZT_WINE_STATE})
  set_tests_properties(wine_env_setup PROPERTIES FIXTURES_SETUP wine_env LABELS "wine" TIMEOUT 300)
  set_tests_properties(wine_env_cleanup PROPERTIES FIXTURES_CLEANUP wine_env LABELS "wine" TIMEOUT 120)
endif()

function(zt_add_wine_gtest)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS;LOCALES" ${ARGN})
  if(NOT WIN32)
    return()
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} ${ZT_GTEST_LIBS})
  if(NOT ZT_RUNS_UNDER_WINE)
    return()
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_test(NAME ${T_NAME}
           COMMAND ${ZT_PYTHON} ${ZT_WINE_ENV} run ${ZT_WINE_STATE} --timeout ${T_TIMEOUT} --
                   $<TARGET_FILE:${T_NAME}>)
  set_tests_properties(${T_NAME} PROPERTIES FIXTURES_REQUIRED wine_env RESOURCE_LOCK wine_desktop
                       LABELS "wine;${T_LABELS}" TIMEOUT ${T_TIMEOUT})
  foreach(locale ${T_LOCALES})
    add_test(NAME ${T_NAME}_${locale}
             COMMAND ${ZT_PYTHON} ${ZT_WINE_ENV} run ${ZT_WINE_STATE} --timeout ${T_TIMEOUT}
                     --locale ${locale}.UTF-8 -- $<TARGET_FILE:${T_NAME}>)
    set_tests_properties(${T_NAME}_${locale} PROPERTIES FIXTURES_REQUIRED wine_env
                         RESOURCE_LOCK wine_desktop LABELS "wine;${T_LABELS}"
                         TIMEOUT ${T_TIMEOUT})
  endforeach()
endfunction()

function(zt_add_wine_command_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "COMMAND;LABELS;DEPENDS" ${ARGN})
  if(NOT ZT_RUNS_UNDER_WINE)
    return()
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_COMMAND})
  set_tests_properties(${T_NAME} PROPERTIES FIXTURES_REQUIRED wine_env RESOURCE_LOCK wine_desktop
                       LABELS "wine;${T_LABELS}" TIMEOUT ${T_TIMEOUT}
                       ENVIRONMENT "ZT_WINE_STATE=${ZT_WINE_STATE};ZT_WINE_ENV=${ZT_WINE_ENV}")
endfunction()
