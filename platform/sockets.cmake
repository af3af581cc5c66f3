# The socket half of the layer: Winsock names, CAsyncSocket/CSocket on POSIX sockets with
# QSocketNotifier, the start-up call, the tick counter and the trace channel.
if(UNIX)
  target_sources(lanvista_platform PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/WinSock.h
    ${CMAKE_CURRENT_LIST_DIR}/WsaError.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WSAStartup.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AfxSocketInit.h
    ${CMAKE_CURRENT_LIST_DIR}/AfxSocketInit.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GetTickCount.h
    ${CMAKE_CURRENT_LIST_DIR}/GetTickCount.cpp
    ${CMAKE_CURRENT_LIST_DIR}/OutputDebugString.h
    ${CMAKE_CURRENT_LIST_DIR}/OutputDebugString.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CAsyncSocket.h
    ${CMAKE_CURRENT_LIST_DIR}/CAsyncSocketPrivate.h
    ${CMAKE_CURRENT_LIST_DIR}/CAsyncSocket.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SocketNotificationHold.h
    ${CMAKE_CURRENT_LIST_DIR}/SocketNotificationHold.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CSocket.h
    ${CMAKE_CURRENT_LIST_DIR}/CSocket.cpp
  )
endif()
