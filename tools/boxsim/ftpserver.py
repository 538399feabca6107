#!/usr/bin/python3
"""A local FTP server standing in for the Vexa box's FTP service.

Serves one folder to one user over pyftpdlib, active and passive data
connections both allowed. Prints "FTP READY port=<n>" on stdout once it
listens and serves until it is killed.

Fault modes for tests:
  --max-logins N          log-ins after the Nth successful one are refused
  --close-data-early B    a RETR data connection is closed after B bytes and
                          the transfer is answered as aborted (426)
  --silent-after-accept   accepts TCP connections and never greets
"""

import argparse
import logging
import os
import socket
import sys

from pyftpdlib.authorizers import AuthenticationFailed, DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.servers import FTPServer


def parse_arguments(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", required=True, help="folder served as /")
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=0, help="0 = any free port")
    parser.add_argument("--user", default="root")
    parser.add_argument("--password", default="")
    parser.add_argument("--max-logins", type=int, default=0,
                        help="refuse log-ins after this many (0 = no limit)")
    parser.add_argument("--close-data-early", type=int, default=-1, metavar="BYTES",
                        help="close a RETR data connection after BYTES bytes")
    parser.add_argument("--silent-after-accept", action="store_true",
                        help="accept connections but never send a greeting")
    return parser.parse_args(argv)


def announce(port):
    sys.stdout.write("FTP READY port=%d\n" % port)
    sys.stdout.flush()


def serve_silently(host, port):
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind((host, port))
    listener.listen(16)
    announce(listener.getsockname()[1])
    held = []
    while True:
        connection, _ = listener.accept()
        held.append(connection)  # kept open, never written to


class CountingAuthorizer(DummyAuthorizer):
    """Refuses every log-in once max_logins log-ins have succeeded."""

    def __init__(self, max_logins):
        super().__init__()
        self.max_logins = max_logins
        self.logins = 0

    def validate_authentication(self, username, password, handler):
        if self.max_logins and self.logins >= self.max_logins:
            raise AuthenticationFailed("Too many log-ins.")
        super().validate_authentication(username, password, handler)
        self.logins += 1


class EarlyClosingDTPHandler(DTPHandler):
    """Sends at most byte_limit bytes of a download, then drops the data
    connection and answers 426."""

    byte_limit = 0

    def use_sendfile(self):
        return False

    def send(self, data):
        if self.receive:
            return super().send(data)
        budget = self.byte_limit - self.tot_bytes_sent
        if budget > 0:
            sent = super().send(data[:budget])
        else:
            sent = 0
        if self.tot_bytes_sent >= self.byte_limit:
            self._resp = ("426 Connection closed; transfer aborted.", logging.debug)
            self.close()
        return sent


def main(argv):
    options = parse_arguments(argv)
    logging.basicConfig(level=logging.WARNING, stream=sys.stderr)
    if options.silent_after_accept:
        serve_silently(options.host, options.port)
        return 0

    root = os.path.abspath(options.root)
    authorizer = CountingAuthorizer(options.max_logins)
    authorizer.add_user(options.user, options.password, root, perm="elradfmwMT")

    class BoxHandler(FTPHandler):
        pass

    BoxHandler.authorizer = authorizer
    BoxHandler.banner = "Vexa FTP server ready."
    # Data connections in both directions stay on the control connection's
    # address; the test machine's loopback is the box and the PC at once.
    BoxHandler.permit_foreign_addresses = False
    BoxHandler.permit_privileged_ports = False
    if options.close_data_early >= 0:
        EarlyClosingDTPHandler.byte_limit = options.close_data_early
        BoxHandler.dtp_handler = EarlyClosingDTPHandler
        BoxHandler.use_sendfile = False

    server = FTPServer((options.host, options.port), BoxHandler)
    server.max_cons = 64
    announce(server.socket.getsockname()[1])
    try:
        server.serve_forever(handle_exit=False)
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
