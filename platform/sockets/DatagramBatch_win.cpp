#include "platform/sockets/DatagramBatch.h"

#include "platform/sockets/SocketCalls.h"

namespace lanvista::sockets {

// Winsock has no batch receive: WSARecvMsg (behind ReceiveBytes) once per datagram, until
// none is waiting.
int ReceiveDatagrams(SOCKET s, BatchDatagram* batch, int count)
{
    int received = 0;
    while (received < count) {
        BatchDatagram& datagram = batch[received];
        const int n = ReceiveBytes(s, datagram.data, datagram.room, 0, true, &datagram.from, &datagram.arrival);
        // A datagram longer than its room fills it and still counts, cut there, as on Linux.
        if (n == SOCKET_ERROR && WSAGetLastError() != WSAEMSGSIZE)
            return received > 0 ? received : SOCKET_ERROR;
        datagram.size = n == SOCKET_ERROR ? datagram.room : n;
        ++received;
    }
    return received;
}

}  // namespace lanvista::sockets
