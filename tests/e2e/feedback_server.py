#!/usr/bin/env python3
"""Loopback feedback service for settings_window.sh.

    feedback_server.py <port> <log-file> <status>...

Answers the n-th POST with the n-th status (the last one repeats), appends each request's path
and body to the log file as one JSON line, and writes "listening" to the log once it accepts
connections.
"""
import http.server
import json
import sys

port, log_path, statuses = int(sys.argv[1]), sys.argv[2], [int(s) for s in sys.argv[3:]]
served = 0


class Handler(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        global served
        length = int(self.headers.get("Content-Length", "0"))
        body = self.rfile.read(length).decode("utf-8", "replace")
        status = statuses[min(served, len(statuses) - 1)]
        served += 1
        with open(log_path, "a", encoding="utf-8") as log:
            log.write(json.dumps({"path": self.path, "type": self.headers.get("Content-Type"),
                                  "status": status, "body": body}) + "\n")
        self.send_response(status)
        self.send_header("Content-Length", "0")
        self.end_headers()

    def log_message(self, *args):
        pass


server = http.server.HTTPServer(("127.0.0.1", port), Handler)
with open(log_path, "a", encoding="utf-8") as log:
    log.write("listening\n")
server.serve_forever()
