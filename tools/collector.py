#!/usr/bin/env python3
"""A test analytics collector on 127.0.0.1.

It accepts the installer's upload ("data_list=" + percent-encoded Base64 of a gzip stream of a
JSON array + "&gzip=1"), decodes every body strictly back to records and keeps them, with the
request's path, headers and the status it answered, for the tests to read.

Control (all on the same port):
  GET  /_requests        every upload so far, as a JSON list of
                         {"path", "headers", "status", "batch", "records"} or {"error", ...}
  POST /_mode            body "200", "201", "500" (answer with that status) or "hang"
                         (hold the request without answering until the mode changes)
  POST /_reset           forget the uploads
  GET  /_health          "ok"

Usage: collector.py [--port N] [--port-file PATH] [--print-events]; port 0 (the default) picks a
free one, which is written to PATH (and printed) once the server listens. With --print-events
every decoded record is also printed as one line of JSON, as it arrives (the demo shows these).
"""

import argparse
import base64
import binascii
import gzip
import json
import os
import re
import sys
import threading
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

HANG_LIMIT_SECONDS = 30.0
PRINT_EVENTS = False
UNRESERVED = re.compile(r"[A-Za-z0-9\-._~]")


class DecodeError(Exception):
    pass


def strict_percent_decode(text):
    """Undoes percent-encoding and checks it was done the one right way."""
    out = bytearray()
    i = 0
    while i < len(text):
        ch = text[i]
        if ch == "%":
            pair = text[i + 1:i + 3]
            if len(pair) != 2 or not re.fullmatch(r"[0-9A-F]{2}", pair):
                raise DecodeError("bad escape at %d: %r" % (i, text[i:i + 3]))
            byte = int(pair, 16)
            if UNRESERVED.fullmatch(chr(byte)):
                raise DecodeError("unreserved byte %r was escaped" % chr(byte))
            out.append(byte)
            i += 3
        elif UNRESERVED.fullmatch(ch):
            out.append(ord(ch))
            i += 1
        else:
            raise DecodeError("byte %r should have been escaped" % ch)
    return bytes(out)


def decode_body(body):
    """Returns (batch_text, records) or raises DecodeError."""
    try:
        text = body.decode("ascii")
    except UnicodeDecodeError as error:
        raise DecodeError("body is not ASCII: %s" % error)
    prefix, suffix = "data_list=", "&gzip=1"
    if not text.startswith(prefix) or not text.endswith(suffix):
        raise DecodeError("body is not data_list=...&gzip=1: %r" % text[:64])
    encoded = strict_percent_decode(text[len(prefix):-len(suffix)])
    try:
        compressed = base64.b64decode(encoded, validate=True)
    except binascii.Error as error:
        raise DecodeError("bad Base64: %s" % error)
    if base64.b64encode(compressed) != encoded:
        raise DecodeError("Base64 is not canonical")
    if compressed[:3] != b"\x1f\x8b\x08":
        raise DecodeError("not a gzip stream")
    try:
        batch = gzip.decompress(compressed)
    except (OSError, EOFError) as error:
        raise DecodeError("bad gzip stream: %s" % error)
    try:
        batch_text = batch.decode("utf-8")
        records = json.loads(batch_text)
    except (UnicodeDecodeError, ValueError) as error:
        raise DecodeError("batch is not JSON: %s" % error)
    if not isinstance(records, list):
        raise DecodeError("batch is not a JSON array")
    return batch_text, records


class State:
    def __init__(self):
        self.lock = threading.Lock()
        self.requests = []
        self.mode = "200"
        self.release = threading.Event()

    def set_mode(self, mode):
        with self.lock:
            self.mode = mode
            old, self.release = self.release, threading.Event()
        old.set()  # let held requests go


STATE = State()


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "PindleTestCollector/1"

    def log_message(self, *args):
        pass

    def answer(self, status, text, content_type="text/plain"):
        data = text.encode("utf-8")
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(data)))
        self.send_header("X-Collector", "pindle test")
        self.end_headers()
        self.wfile.write(data)

    def read_body(self):
        length = int(self.headers.get("Content-Length") or 0)
        return self.rfile.read(length) if length else b""

    def do_GET(self):
        if self.path == "/_requests":
            with STATE.lock:
                text = json.dumps(STATE.requests)
            self.answer(200, text, "application/json")
        elif self.path == "/_health":
            self.answer(200, "ok")
        else:
            self.answer(404, "not found")

    def do_POST(self):
        body = self.read_body()
        if self.path == "/_mode":
            mode = body.decode("ascii", "replace").strip()
            if mode not in ("200", "201", "500", "hang"):
                self.answer(400, "unknown mode")
                return
            STATE.set_mode(mode)
            self.answer(200, "ok")
            return
        if self.path == "/_reset":
            with STATE.lock:
                STATE.requests = []
            self.answer(200, "ok")
            return

        entry = {
            "path": self.path,
            "method": "POST",
            "headers": {k.lower(): v for k, v in self.headers.items()},
        }
        try:
            entry["batch"], entry["records"] = decode_body(body)
        except DecodeError as error:
            entry["error"] = str(error)
        with STATE.lock:
            mode, release = STATE.mode, STATE.release
        if "error" in entry:
            status = 400
        elif urllib.parse.urlsplit(self.path).path != "/sa":
            status = 404
        elif mode == "hang":
            status = None
        else:
            status = int(mode)
        entry["status"] = status if status is not None else "hang"
        with STATE.lock:
            STATE.requests.append(entry)
            if PRINT_EVENTS:
                for record in entry.get("records", []):
                    print(json.dumps(record, ensure_ascii=False, separators=(",", ":")), flush=True)
        if status is None:
            release.wait(HANG_LIMIT_SECONDS)
            self.close_connection = True
            return
        self.answer(status, "ok" if status == 200 else "collector answered %d" % status)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--port-file")
    parser.add_argument("--print-events", action="store_true")
    args = parser.parse_args()
    global PRINT_EVENTS
    PRINT_EVENTS = args.print_events
    server = ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    server.daemon_threads = True
    port = server.server_address[1]
    if args.port_file:
        temp = args.port_file + ".part"
        with open(temp, "w") as handle:
            handle.write("%d\n" % port)
        os.replace(temp, args.port_file)
    print(port, flush=True)
    try:
        server.serve_forever(poll_interval=0.1)
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
