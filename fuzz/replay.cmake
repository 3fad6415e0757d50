# The fuzz targets built by the ordinary compiler into one program that
# replays their seed corpora (see replay_main.cpp). Each target's entry point
# gets its own name so the five fit in one executable.
set(QV742_FUZZ_TARGETS fuzz_collector fuzz_value fuzz_settings fuzz_outline fuzz_control_line)
set(_replay_sources ${CMAKE_CURRENT_LIST_DIR}/replay_main.cpp)
foreach(t IN LISTS QV742_FUZZ_TARGETS)
  list(APPEND _replay_sources ${CMAKE_CURRENT_LIST_DIR}/${t}.cpp)
  set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/${t}.cpp PROPERTIES
    COMPILE_DEFINITIONS LLVMFuzzerTestOneInput=replay_${t})
endforeach()
add_executable(fuzz_replay ${_replay_sources})
target_include_directories(fuzz_replay PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
target_link_libraries(fuzz_replay PRIVATE qv_link qv_box qv_window qv_control)
add_test(NAME fuzz_replay COMMAND fuzz_replay ${CMAKE_CURRENT_LIST_DIR}/corpus)
set_tests_properties(fuzz_replay PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
