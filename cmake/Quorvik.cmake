# Helpers shared by the per-folder CMakeLists files.

# Adds <root>/<dir> for every listed dir that has a CMakeLists.txt, so a layer
# appears in the build as soon as its folder does.
function(quorvik_add_subdirectories root)
  foreach(dir IN LISTS ARGN)
    if(EXISTS ${CMAKE_SOURCE_DIR}/${root}/${dir}/CMakeLists.txt)
      add_subdirectory(${CMAKE_SOURCE_DIR}/${root}/${dir} ${CMAKE_BINARY_DIR}/${root}/${dir})
    endif()
  endforeach()
endfunction()

# quorvik_layer(<name> [DEPS libs...])
# A static library quorvik_<name> from every .cpp of the calling folder and its
# detail/ folder. Headers are included as "<layer path>/<File>.h" from src/.
function(quorvik_layer name)
  cmake_parse_arguments(L "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/detail/*.cpp)
  add_library(quorvik_${name} STATIC ${sources})
  target_include_directories(quorvik_${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(quorvik_${name} PUBLIC ${L_DEPS})
endfunction()

# quorvik_test(<name> LABEL <label> SOURCES files... LIBS libs...)
# One GoogleTest executable whose cases are registered with CTest under <label>.
# QUORVIK_TEST_DATA points at tests/data for fixture files.
function(quorvik_test name)
  cmake_parse_arguments(T "" "LABEL" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    QUORVIK_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
    QUORVIK_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    QUORVIK_BINARY_DIR="${CMAKE_BINARY_DIR}")
  # Sanitizer builds read suppressions for reports inside system libraries.
  set(env_property "")
  if(QUORVIK_SANITIZE STREQUAL "address")
    set(env_property ENVIRONMENT "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/sanitizers/lsan.supp")
  elseif(QUORVIK_SANITIZE STREQUAL "thread")
    set(env_property ENVIRONMENT "TSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/sanitizers/tsan.supp")
  endif()
  gtest_discover_tests(${name}
    PROPERTIES LABELS ${T_LABEL} ${env_property}
    DISCOVERY_TIMEOUT 60)
endfunction()

# quorvik_bench(<name> SOURCES files... LIBS libs...)
function(quorvik_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark benchmark::benchmark_main)
endfunction()
