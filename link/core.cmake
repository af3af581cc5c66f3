target_sources(lanvista_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/CUdpAsySk.cpp)
