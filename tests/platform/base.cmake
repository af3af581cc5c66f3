# Tests of what the layer's rooms share: file access, and on Linux the trace channel (on
# Windows it is the system's own OutputDebugStringA).
lanvista_add_test(test_cfile SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_cfile.cpp LIBS lanvista_platform_base)
