# libFuzzer targets over what reads untrusted bytes and text; each target's source and seed
# corpus sit beside the code it exercises.
add_custom_target(fuzzers)

function(add_fuzzer name source)
  add_executable(${name} ${source} ${ARGN})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  add_dependencies(fuzzers ${name})
endfunction()

set(FETCH_SOURCES ${CMAKE_SOURCE_DIR}/cert_fetch)
# The fetch's targets run the worker and the rest on the fuzzer's thread over the stand-in
# network; the real platform calls are linked as the tables' defaults and never used.
add_fuzzer(response_parser_fuzz ${FETCH_SOURCES}/response_parser_fuzz.cpp)
add_fuzzer(certificate_receive_fuzz ${FETCH_SOURCES}/certificate_receive_fuzz.cpp)
add_fuzzer(port_text_fuzz ${FETCH_SOURCES}/port_text_fuzz.cpp)
add_fuzzer(dotted_ipv4_fuzz ${FETCH_SOURCES}/dotted_ipv4_fuzz.cpp)
foreach(target response_parser_fuzz certificate_receive_fuzz port_text_fuzz dotted_ipv4_fuzz)
  target_link_libraries(${target} PRIVATE fetch_logic fetch_platform fetch_stand_ins
                        console_logic console_text_format console_recording)
endforeach()

add_fuzzer(registry_value_fuzz ${CMAKE_SOURCE_DIR}/ipv6_switch/registry_value_fuzz.cpp
           ${CMAKE_SOURCE_DIR}/ipv6_switch/fake_registry.cpp)
target_link_libraries(registry_value_fuzz PRIVATE switch_logic console_logic console_text_format
                      console_recording)
