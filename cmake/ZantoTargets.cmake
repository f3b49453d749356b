# Helpers that give every target of the project the same warnings and
# sanitizer flags, and keep the model layers free of widgets.

set(ZANTO_WARNINGS -Wall -Wextra -Wpedantic -Wshadow=local -Wnon-virtual-dtor -Wcast-align
                   -Woverloaded-virtual -Wnull-dereference)

if(ZANTO_TSAN AND (ZANTO_SANITIZE OR ZANTO_FUZZ))
  message(FATAL_ERROR "ZANTO_TSAN cannot be combined with ZANTO_SANITIZE or ZANTO_FUZZ")
endif()

if(ZANTO_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "ZANTO_FUZZ needs clang (CC=clang-14 CXX=clang++-14)")
  endif()
  # Every library gets the fuzzer's coverage hooks and both sanitizers; only
  # the fuzz targets link libFuzzer's main (fuzz/CMakeLists.txt).
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(ZANTO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(ZANTO_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# Applies the project's warning set to one of our own targets.
function(zanto_warnings target)
  target_compile_options(${target} PRIVATE ${ZANTO_WARNINGS})
  if(ZANTO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# zanto_model_library(NAME SOURCES ... [DEPS ...])
# A model library: QtCore and the listed lower layers only. Widgets, Gui and
# Charts are refused so that a view include in model code fails to build.
function(zanto_model_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  foreach(dep IN LISTS ARG_DEPS)
    if(dep MATCHES "Qt6::(Widgets|Gui|Charts|Svg)")
      message(FATAL_ERROR "${name} is a model library and must not link ${dep}")
    endif()
  endforeach()
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC Qt6::Core ${ARG_DEPS})
  zanto_warnings(${name})
endfunction()

# zanto_view_library(NAME SOURCES ... [DEPS ...])
# A view library: may use widgets and charts. It lives beside its model in
# the same folder; the model half cannot include its headers because the
# model target has no path to the widget headers they pull in.
function(zanto_view_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC Qt6::Core Qt6::Gui Qt6::Widgets ${ARG_DEPS})
  zanto_warnings(${name})
endfunction()

# zanto_test(NAME SOURCES ... DEPS ... [GUI])
# One Qt Test executable registered with CTest. GUI tests run offscreen.
function(zanto_test name)
  cmake_parse_arguments(ARG "GUI" "TIMEOUT" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test zanto_test_support ${ARG_DEPS})
  zanto_warnings(${name})
  add_test(NAME ${name} COMMAND ${name})
  set(env "QT_QPA_PLATFORM=offscreen")
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT ${ARG_TIMEOUT})
endfunction()
