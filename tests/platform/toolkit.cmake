if(NOT WIN32)
  # Tests of the dialog toolkit: real widgets driven through QTest, offscreen.
  add_library(lanvista_toolkit_testdialog STATIC
    ${CMAKE_CURRENT_LIST_DIR}/ToolkitTestDialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ToolkitTestDialog.h
  )
  target_link_libraries(lanvista_toolkit_testdialog PUBLIC lanvista_testsupport Qt6::Test)

  foreach(name data_exchange edit_control list_controls ip_address_control key_filter system_menu dialog_window group_box message_box file_dialog paint_icon)
    lanvista_add_test(test_toolkit_${name} GUI
      SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_${name}.cpp
      LIBS lanvista_toolkit_testdialog)
  endforeach()

  # Message maps need no display.
  lanvista_add_test(test_toolkit_message_map
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_message_map.cpp
    LIBS lanvista_platform)
  # Which label names which control is worked out from the template alone.
  lanvista_add_test(test_toolkit_control_labels
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_control_labels.cpp
    LIBS lanvista_toolkit)
  # The single-byte form of a text needs no display.
  lanvista_add_test(test_toolkit_single_byte_text
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_single_byte_text.cpp
    LIBS lanvista_toolkit)
  # The entry point makes its own application object, so this test has none of its own.
  lanvista_add_test(test_toolkit_win_app
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_win_app.cpp
    LIBS lanvista_platform)

endif()

# The layer's contract, the same tests on every backend: a dialog from its template, control
# notifications, data exchange, the key filter, the system menu and texts.
add_library(lanvista_toolkit_contract STATIC
  ${CMAKE_CURRENT_LIST_DIR}/contract/ContractDialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/contract/ContractDialog.h
)
target_link_libraries(lanvista_toolkit_contract PUBLIC lanvista_testsupport)

foreach(name dialog notifications exchange key_filter system_menu text value_controls)
  lanvista_add_test(test_toolkit_contract_${name} GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/contract/test_contract_${name}.cpp
    LIBS lanvista_toolkit_contract)
endforeach()
