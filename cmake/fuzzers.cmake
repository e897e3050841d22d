# libFuzzer targets over what reads untrusted bytes and text; each target's source and seed
# corpus sit beside the code it exercises.
add_custom_target(fuzzers)

function(add_fuzzer name source)
  add_executable(${name} ${source} ${ARGN})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  add_dependencies(fuzzers ${name})
endfunction()

set(FETCH_SOURCES ${CMAKE_SOURCE_DIR}/cert_fetch)
# The parser shares its messages with the fetch operation, which needs a thread seam to link;
# the stand-in one does, and nothing here starts a thread.
add_fuzzer(response_parser_fuzz ${FETCH_SOURCES}/response_parser_fuzz.cpp
           ${FETCH_SOURCES}/fake_worker_thread.cpp)
add_fuzzer(certificate_receive_fuzz ${FETCH_SOURCES}/certificate_receive_fuzz.cpp
           ${FETCH_SOURCES}/fake_worker_thread.cpp)
add_fuzzer(port_text_fuzz ${FETCH_SOURCES}/port_text_fuzz.cpp)
add_fuzzer(dotted_ipv4_fuzz ${FETCH_SOURCES}/dotted_ipv4_fuzz.cpp)
foreach(target response_parser_fuzz certificate_receive_fuzz port_text_fuzz dotted_ipv4_fuzz)
  target_link_libraries(${target} fetch_logic_recorded)
endforeach()

# The switch joins once its logic is part of the build.
if(TARGET switch_logic)
  add_fuzzer(registry_value_fuzz ${CMAKE_SOURCE_DIR}/ipv6_switch/registry_value_fuzz.cpp
             ${CMAKE_SOURCE_DIR}/ipv6_switch/fake_registry.cpp)
  target_link_libraries(registry_value_fuzz switch_logic)
endif()
