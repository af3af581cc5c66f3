#!/usr/bin/env python3
"""The least a device can do in a firmware download, for bench/download_bench.sh: take the
header, ask for the image, read the announced number of bytes without checking them and
report success. Listens on 127.0.0.1 and prints its port."""
import socket


def status(code):
    message = bytearray(b"\x01" * 32)
    message[0] = 0x02
    message[11] = code
    return bytes(message)


def serve(connection):
    header = b""
    while len(header) < 32:
        piece = connection.recv(32 - len(header))
        if not piece:
            return
        header += piece
    left = int(header[12:20], 16)
    connection.sendall(status(0x02))
    buffer = bytearray(1 << 20)
    while left > 0:
        count = connection.recv_into(buffer, min(len(buffer), left))
        if count == 0:
            return
        left -= count
    connection.sendall(status(0x06))


def main():
    server = socket.socket()
    server.bind(("127.0.0.1", 0))
    server.listen(8)
    print(server.getsockname()[1], flush=True)
    while True:
        connection, _ = server.accept()
        with connection:
            serve(connection)


if __name__ == "__main__":
    main()
