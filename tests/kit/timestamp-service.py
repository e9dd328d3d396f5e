#!/usr/bin/env python3
"""A throwaway RFC 3161 time-stamping service for the signing test.

Usage: timestamp-service.py FOLDER PORT_FILE

FOLDER holds tsa.pem and tsa.key, a certificate for time stamps and its key.
Serves on a free port of 127.0.0.1, whose number it writes into PORT_FILE,
and answers every POSTed time-stamp request with openssl ts -reply, until it
is killed.
"""

import http.server
import os
import subprocess
import sys
import tempfile

CONFIG = """\
[ tsa ]
default_tsa = throwaway
[ throwaway ]
serial = {folder}/serial
signer_digest = sha256
default_policy = 1.2.3.4.1
digests = sha1, sha256, sha384, sha512
accuracy = secs:1
ess_cert_id_alg = sha256
"""


def serve(folder, port_file):
    config = os.path.join(folder, "tsa.cnf")
    with open(config, "w") as file:
        file.write(CONFIG.format(folder=folder))
    with open(os.path.join(folder, "serial"), "w") as file:
        file.write("01\n")

    class Service(http.server.BaseHTTPRequestHandler):
        def do_POST(self):
            request = self.rfile.read(int(self.headers.get("Content-Length", 0)))
            with tempfile.TemporaryDirectory() as scratch:
                query, reply = os.path.join(scratch, "query"), os.path.join(scratch, "reply")
                with open(query, "wb") as file:
                    file.write(request)
                answered = subprocess.run(
                    ["openssl", "ts", "-reply", "-config", config, "-queryfile", query, "-signer",
                     os.path.join(folder, "tsa.pem"), "-inkey", os.path.join(folder, "tsa.key"), "-out", reply],
                    capture_output=True)
                if answered.returncode != 0:
                    sys.stderr.write(answered.stderr.decode(errors="replace"))
                    self.send_error(500)
                    return
                with open(reply, "rb") as file:
                    body = file.read()
            self.send_response(200)
            self.send_header("Content-Type", "application/timestamp-reply")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)

        def log_message(self, *arguments):
            pass

    server = http.server.HTTPServer(("127.0.0.1", 0), Service)
    with open(port_file + ".new", "w") as file:
        file.write(str(server.server_address[1]))
    os.replace(port_file + ".new", port_file)
    server.serve_forever()


if __name__ == "__main__":
    if len(sys.argv) != 3:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        sys.exit(2)
    serve(os.path.abspath(sys.argv[1]), sys.argv[2])
