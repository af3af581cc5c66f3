# Tests of the socket half of the platform layer: real sockets on 127.0.0.1, ephemeral ports.
# On Linux the event-loop tests bring their own main() (SocketTestMain.cpp) with a
# QCoreApplication; on Windows they start Winsock and pump the thread's messages themselves.

function(lanvista_add_socket_test name)
  cmake_parse_arguments(T "EVENT_LOOP;OWN_MAIN" "" "" ${ARGN})
  add_executable(${name} ${CMAKE_CURRENT_LIST_DIR}/${name}.cpp)
  if(WIN32)
    target_link_libraries(${name} PRIVATE lanvista_sockets GTest::gtest GTest::gtest_main)
    if(T_EVENT_LOOP)
      target_sources(${name} PRIVATE ${CMAKE_CURRENT_LIST_DIR}/WinsockTestStartup.cpp)
    endif()
  else()
    target_link_libraries(${name} PRIVATE lanvista_platform Qt6::Core Qt6::Test GTest::gtest)
    if(T_EVENT_LOOP)
      target_sources(${name} PRIVATE ${CMAKE_CURRENT_LIST_DIR}/SocketTestMain.cpp)
    elseif(NOT T_OWN_MAIN)
      target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
  endif()
  add_test(NAME ${name} COMMAND ${name})
  lanvista_test_environment(${name} 120)
endfunction()

# The Qt-free socket calls, linked alone: what a command-line tool gets. On Windows each of
# these programs starts Winsock first, as the program does.
function(lanvista_add_socket_calls_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE lanvista_socket_calls GTest::gtest GTest::gtest_main)
  if(WIN32)
    target_sources(${name} PRIVATE ${CMAKE_CURRENT_LIST_DIR}/WinsockTestStartup.cpp)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  lanvista_test_environment(${name} 60)
endfunction()

lanvista_add_socket_calls_test(test_wsa_errors ${CMAKE_CURRENT_LIST_DIR}/test_wsa_errors.cpp)
if(WIN32)
  set(_socket_calls_system ${CMAKE_CURRENT_LIST_DIR}/test_socket_calls_win.cpp)
else()
  set(_socket_calls_system ${CMAKE_CURRENT_LIST_DIR}/test_socket_calls_unix.cpp)
endif()
lanvista_add_socket_calls_test(test_socket_calls
  ${CMAKE_CURRENT_LIST_DIR}/test_socket_calls.cpp ${CMAKE_CURRENT_LIST_DIR}/SocketCallsTestSupport.h
  ${_socket_calls_system})
lanvista_add_socket_calls_test(test_tool_socket_calls ${CMAKE_CURRENT_LIST_DIR}/test_tool_socket_calls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SocketCallsTestSupport.h)
if(WIN32)
  lanvista_add_socket_calls_test(test_utf8_console_win ${CMAKE_CURRENT_LIST_DIR}/test_utf8_console_win.cpp)
endif()

lanvista_add_socket_test(test_socket_startup)
lanvista_add_socket_test(test_udp_async_socket EVENT_LOOP)
lanvista_add_socket_test(test_tcp_async_socket EVENT_LOOP)
lanvista_add_socket_test(test_socket_notification_hold EVENT_LOOP)
lanvista_add_socket_test(test_csocket EVENT_LOOP)
if(WIN32)
  # Makes and paints a window: on the display of the tests' prefix.
  lanvista_add_socket_test(test_csocket_user_input_win EVENT_LOOP)
  return()
endif()

lanvista_add_socket_test(test_output_debug_string)
add_test(NAME test_output_debug_string_env COMMAND test_output_debug_string
         --gtest_filter=*IsSwitchedOnByTheEnvironment)
set_tests_properties(test_output_debug_string_env PROPERTIES
  ENVIRONMENT "QT_LOGGING_RULES=lanvista.trace.debug=true" TIMEOUT 60)
# The Qt backend's own way of queueing a burst of datagrams ahead of painting, which Windows
# does by itself.
lanvista_add_socket_test(test_datagram_burst EVENT_LOOP)
# Runs on Qt's vnc platform (chosen by its own main) to type real, queued key events.
lanvista_add_socket_test(test_csocket_user_input OWN_MAIN)
