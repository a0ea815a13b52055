# add_engine_area(NAME [DEPS...]): static library engine_NAME from src/NAME
# (recursively). It links only Qt Core/Concurrent and the areas it names.
function(add_engine_area name)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/src/${name}/*.cpp ${CMAKE_SOURCE_DIR}/src/${name}/*.h)
  if(NOT sources)
    set(sources ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(engine_${name} STATIC ${sources})
  target_include_directories(engine_${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(engine_${name} PUBLIC Qt6::Core Qt6::Concurrent)
  foreach(dep IN LISTS ARGN)
    target_link_libraries(engine_${name} PUBLIC engine_${dep})
  endforeach()
endfunction()

# add_area_test(NAME LIBS...): one GoogleTest executable from tests/NAME/*.cpp
function(add_area_test name)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${name}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(test_${name} ${sources})
  target_link_libraries(test_${name} PRIVATE ${ARGN} GTest::gtest GTest::gtest_main)
  target_include_directories(test_${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/src)
  target_compile_definitions(test_${name} PRIVATE TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data")
  gtest_discover_tests(test_${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 600)
endfunction()
