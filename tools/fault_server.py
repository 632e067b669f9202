#!/usr/bin/env python3
"""A scriptable package server and download-information service on 127.0.0.1, for tests.

It serves one generated package whose content is a pure function of the offset (32-bit
little-endian words holding word index + 1), so a client can check every byte it stored without
a copy of the package, or a real package file the test names. Its behaviour is set by a script
that the test posts; every request is logged for the test to read back.

Paths:
  GET  /pkg/<name>                 the package (Range "bytes=X-" / "bytes=X-Y" answered by 206)
  GET  /downloder/2.0/infoV2?...   the download-information answer
  POST /_script                    replace the script (JSON, below); also clears the log
  GET  /_log                       every request so far, as a JSON list
  POST /_release                   let stalled requests go on
  GET  /_health                    "ok"

Script (every member optional):
  size          package size in bytes (default 1048576)
  file          a path on this machine: its bytes are the package instead, and "size" is its size
  ranges        "206" (default) or "200": answer ranged requests with the whole file and 200
  length        "ok" (default), "missing" (no Content-Length, connection closed after the
                body) or "wrong" (Content-Length off by "length_delta" bytes, default +1000)
  length_on     which answers the length rule touches: "all" (default), "range" or "full"
  content_range "missing": 206 answers carry no Content-Range
  range_offset  n: 206 answers start n bytes after the asked offset (a broken server)
  drops         [{"on": "range"|"full"|"plain"|"any", "nth": k, "after": n}]: the k-th
                matching request (1-based) is cut after n body bytes (the connection is closed);
                "range" counts answers with 206, "full" answers with 200, "plain" requests
                without a Range header
  drop_parts    {"count": c, "seed": s, "parts": 4, "spare_first": n}: for every part (the quarter
                of the file its start offset lies in) the first c ranged requests are cut at a
                random offset; the first n ranged requests of all (a range probe) are spared
  stall         {"on": ..., "nth": k, "after": n, "seconds": t, "then": "continue" | "close"}, or a
                list of them: a silent peer. After n body bytes (or, with "at": "headers", before
                the status line) the request sends nothing, without closing, until /_release, a new
                script or t seconds (default 30); then it goes on ("continue", the default) or the
                connection is closed without another byte ("close"). "on" also takes "info" (the
                information query) and "post" (a POST other than the control paths); "nth": 0
                stalls every matching request
  stall_parts   {"count": c, "after": n, "seconds": t, "spare_first": k, "parts": 4}: for every
                part, the first c ranged requests go silent after n body bytes (default 65536)
                and are closed when the stall ends; the first k ranged requests (a probe) are
                spared
  info          {"answer": "valid" | "malformed" | "code" | "null_data" | "no_fileinfo" |
                 "status500" | "raw", "fail_first": n (answer 500 to the first n queries),
                 "size": ..., "url": ..., "lan": ..., "code": ..., "body": ... and
                 "repeat": n (for "raw": the body n times, default 1)}

Usage: fault_server.py [--port N] [--port-file PATH] [--tls-dir DIR --tls-name SAN]
With --tls-dir the server speaks TLS with a self-signed certificate for SAN (for example
"IP:127.0.0.1" or "DNS:wrong.example"), made with openssl into DIR/cert.pem and DIR/key.pem.
"""

import argparse
import array
import json
import os
import random
import socket
import ssl
import subprocess
import sys
import threading
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

CHUNK = 65536
_packages = {}
_packages_lock = threading.Lock()


def package_bytes(size):
    """The package of `size` bytes: word i (little-endian) holds i + 1."""
    with _packages_lock:
        data = _packages.get(size)
        if data is None:
            words = (size + 3) // 4
            block = array.array("I", range(1, words + 1))
            if sys.byteorder != "little":
                block.byteswap()
            data = block.tobytes()[:size]
            _packages.clear()  # keep one package in memory
            _packages[size] = data
        return data


def file_bytes(path):
    """The contents of the package file `path`, read once."""
    with _packages_lock:
        data = _packages.get(path)
        if data is None:
            with open(path, "rb") as handle:
                data = handle.read()
            _packages.clear()
            _packages[path] = data
        return data


def script_package(script):
    """The package the script serves: (bytes, size)."""
    if "file" in script:
        data = file_bytes(script["file"])
        return data, len(data)
    size = int(script.get("size", 1048576))
    return package_bytes(size), size


class State:
    def __init__(self):
        self.lock = threading.Lock()
        self.release = threading.Event()
        self.reset({})

    def reset(self, script):
        with self.lock:
            self.script = script
            self.log = []
            self.counts = {"range": 0, "full": 0, "plain": 0, "any": 0, "info": 0, "post": 0}
            self.info_queries = 0
            self.part_drops = {}
            self.part_stalls = {}
            self.rng = random.Random(script.get("drop_parts", {}).get("seed", 1))
            self.release.set()
            self.release = threading.Event()


STATE = State()


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "FaultServer/1.0"

    def log_message(self, *args):
        pass

    # ---- plumbing -------------------------------------------------------------------------
    def send_plain(self, status, body, content_type="text/plain"):
        data = body if isinstance(body, bytes) else body.encode("utf-8")
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def read_body(self):
        length = int(self.headers.get("Content-Length") or 0)
        return self.rfile.read(length) if length else b""

    def record(self, entry):
        with STATE.lock:
            STATE.log.append(entry)

    def stall_rule(self, script, seen):
        """The stall rule for a request whose counts are `seen`, or None (call under the lock)."""
        rules = script.get("stall", [])
        if isinstance(rules, dict):
            rules = [rules]
        for rule in rules:
            on = rule.get("on", "any")
            if on in seen and rule.get("nth", 1) in (0, seen[on]):
                return rule
        return None

    def go_silent(self, rule, release, entry):
        """Sends nothing until the stall ends; True when the connection is then to be closed."""
        entry["stalled"] = True
        try:
            self.wfile.flush()
        except OSError:
            return True
        release.wait(float(rule.get("seconds", 30)))
        if rule.get("then", "continue") == "close":
            self.close_connection = True
            return True
        return False

    def stall_before_headers(self, rule, release, entry):
        """A stall before the status line; True when the request is over (closed)."""
        if rule is None or rule.get("at") != "headers":
            return False
        self.record(entry)
        return self.go_silent(rule, release, entry)

    # ---- control --------------------------------------------------------------------------
    def do_POST(self):
        body = self.read_body()
        if self.path == "/_script":
            try:
                script = json.loads(body.decode("utf-8") or "{}")
            except ValueError as error:
                self.send_plain(400, "bad script: %s" % error)
                return
            STATE.reset(script)
            self.send_plain(200, "ok")
        elif self.path == "/_release":
            STATE.release.set()
            self.send_plain(200, "ok")
        else:
            with STATE.lock:
                STATE.counts["post"] += 1
                rule = self.stall_rule(STATE.script, {"post": STATE.counts["post"]})
                release = STATE.release
            entry = {"path": self.path, "method": "POST", "body": body.decode("latin-1"),
                     "status": 200, "stalled": False}
            if rule is not None:
                self.record(entry)
                if self.go_silent(rule, release, entry):
                    return
                self.send_plain(200, "ok")
                return
            self.record(entry)
            self.send_plain(200, "ok")

    def do_GET(self):
        parsed = urllib.parse.urlsplit(self.path)
        if parsed.path == "/_health":
            self.send_plain(200, "ok")
        elif parsed.path == "/_log":
            with STATE.lock:
                data = json.dumps(STATE.log)
            self.send_plain(200, data, "application/json")
        elif parsed.path == "/downloder/2.0/infoV2":
            self.answer_info(parsed.query)
        elif parsed.path.startswith("/pkg/"):
            self.answer_package()
        else:
            self.record({"path": self.path, "status": 404})
            self.send_plain(404, "not found")

    # ---- download information -------------------------------------------------------------
    def answer_info(self, query):
        with STATE.lock:
            script = STATE.script
            STATE.info_queries += 1
            number = STATE.info_queries
            stall = self.stall_rule(script, {"info": number})
            release = STATE.release
        info = script.get("info", {})
        entry = {"path": self.path, "query": query, "info": True, "stalled": False}
        if self.stall_before_headers(stall, release, entry):
            return
        if number <= info.get("fail_first", 0) or info.get("answer") == "status500":
            entry["status"] = 500
            self.record(entry)
            self.send_plain(500, "try later")
            return
        size = info.get("size", os.path.getsize(script["file"]) if "file" in script else script.get("size", 1048576))
        host = self.headers.get("Host") or "127.0.0.1:%d" % self.server.server_address[1]
        url = info.get("url", "http://%s/pkg/package.7z" % host)
        answer = info.get("answer", "valid")
        data = {"fileInfo": {"version": "2.0.1", "size": size, "md5": "0" * 32, "url": url}}
        if "lan" in info:
            data["lan"] = info["lan"]
        if answer == "valid":
            body = json.dumps({"code": info.get("code", 0), "data": data})
        elif answer == "code":
            body = json.dumps({"code": info.get("code", 1), "data": data})
        elif answer == "null_data":
            body = json.dumps({"code": 0, "data": None})
        elif answer == "no_fileinfo":
            rest = {"lan": info["lan"]} if "lan" in info else {}
            body = json.dumps({"code": 0, "data": rest})
        elif answer == "malformed":
            body = '{"code": 0, "data": {"fileInfo": '
        else:  # raw
            body = info.get("body", "") * info.get("repeat", 1)
        entry["status"] = 200
        if stall is not None and stall.get("at") == "headers":
            self.send_plain(200, body, "application/json")  # the stall has been served above
            return
        self.record(entry)
        if stall is None:
            self.send_plain(200, body, "application/json")
            return
        data = body.encode("utf-8")
        cut = min(int(stall.get("after", 0)), len(data))
        self.send_response(200)
        self.send_header("Content-Type", "application/json")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        try:
            self.wfile.write(data[:cut])
            if self.go_silent(stall, release, entry):
                return
            self.wfile.write(data[cut:])
        except OSError:
            self.close_connection = True

    # ---- package --------------------------------------------------------------------------
    def parse_range(self, size):
        header = self.headers.get("Range")
        if not header or not header.strip().startswith("bytes="):
            return None
        spec = header.strip()[len("bytes="):].split(",")[0].strip()
        first, _, last = spec.partition("-")
        try:
            start = int(first)
            end = int(last) + 1 if last else size
        except ValueError:
            return None
        return start, min(end, size)

    def matching_rule(self, rules, kinds_seen):
        for rule in rules:
            on = rule.get("on", "any")
            if kinds_seen.get(on) == rule.get("nth", 1):
                return rule
        return None

    def answer_package(self):
        with STATE.lock:
            script = STATE.script
        data, size = script_package(script)
        wanted = self.parse_range(size)
        ranged = wanted is not None and script.get("ranges", "206") == "206"
        if ranged:
            start, end = wanted
            start = min(start + int(script.get("range_offset", 0)), size)
            if start >= size:
                self.record({"path": self.path, "range_start": start, "status": 416})
                self.send_response(416)
                self.send_header("Content-Range", "bytes */%d" % size)
                self.send_header("Content-Length", "0")
                self.end_headers()
                return
        else:
            start, end = 0, size
        kind = "range" if ranged else "full"

        with STATE.lock:
            STATE.counts[kind] += 1
            STATE.counts["any"] += 1
            seen = {kind: STATE.counts[kind], "any": STATE.counts["any"]}
            if wanted is None:
                STATE.counts["plain"] += 1
                seen["plain"] = STATE.counts["plain"]
            cut = None
            rule = self.matching_rule(script.get("drops", []), seen)
            if rule is not None:
                cut = int(rule.get("after", 0))
            parts = script.get("drop_parts")
            if ranged and parts and size >= 4 and \
                    STATE.counts["range"] > parts.get("spare_first", 0):
                count = parts.get("parts", 4)
                quarter = size // count
                part = min(start // quarter, count - 1) if quarter else 0
                part_end = size if part == count - 1 else (part + 1) * quarter
                done = STATE.part_drops.get(part, 0)
                # Cut inside the part, where its client still wants bytes.
                remaining = min(end, part_end) - start
                if done < parts.get("count", 2) and remaining > 1:
                    STATE.part_drops[part] = done + 1
                    cut = STATE.rng.randint(1, remaining - 1)
            stall = self.stall_rule(script, seen)
            silent_parts = script.get("stall_parts")
            if ranged and silent_parts and size >= 4 and stall is None and \
                    STATE.counts["range"] > silent_parts.get("spare_first", 0):
                count = silent_parts.get("parts", 4)
                quarter = size // count
                part = min(start // quarter, count - 1) if quarter else 0
                done = STATE.part_stalls.get(part, 0)
                if done < silent_parts.get("count", 1):
                    STATE.part_stalls[part] = done + 1
                    stall = {"after": silent_parts.get("after", 65536),
                             "seconds": silent_parts.get("seconds", 30), "then": "close"}
            release = STATE.release

        status = 206 if ranged else 200
        entry = {"path": self.path, "range_start": start if wanted is not None else None,
                 "range_header": self.headers.get("Range"), "status": status,
                 "sent": 0, "dropped": cut is not None, "stalled": False}
        if self.stall_before_headers(stall, release, entry):
            return
        if stall is not None and stall.get("at") == "headers":
            stall = None  # served above; the answer follows
        else:
            self.record(entry)
        length_rule = script.get("length", "ok")
        length_on = script.get("length_on", "all")
        touched = length_on == "all" or length_on == kind
        self.send_response(status)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Accept-Ranges", "bytes")
        if ranged and script.get("content_range") != "missing":
            self.send_header("Content-Range", "bytes %d-%d/%d" % (start, end - 1, size))
        length = end - start
        if touched and length_rule == "missing":
            self.send_header("Connection", "close")
            self.close_connection = True
        elif touched and length_rule == "wrong":
            self.send_header("Content-Length", str(length + int(script.get("length_delta", 1000))))
        else:
            self.send_header("Content-Length", str(length))
        if cut is not None:
            self.send_header("Connection", "close")
        self.end_headers()

        limit = end if cut is None else min(end, start + cut)
        stall_at = start + int(stall.get("after", 0)) if stall is not None else None
        position = start
        try:
            while position < limit or (stall_at is not None and position == stall_at == limit):
                if stall_at is not None and position >= stall_at:
                    if self.go_silent(stall, release, entry):
                        return
                    stall_at = None
                    continue
                step = min(CHUNK, limit - position)
                if stall_at is not None:
                    step = min(step, stall_at - position)
                self.wfile.write(data[position:position + step])
                position += step
                entry["sent"] = position - start
            self.wfile.flush()
        except (BrokenPipeError, ConnectionResetError, ssl.SSLError, OSError):
            self.close_connection = True
            return
        if cut is not None:
            self.close_connection = True


class Server(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True
    request_queue_size = 64

    def handle_error(self, request, client_address):
        pass  # clients that hang up are part of the job


def make_certificate(folder, name):
    os.makedirs(folder, exist_ok=True)
    cert = os.path.join(folder, "cert.pem")
    key = os.path.join(folder, "key.pem")
    common = name.split(":", 1)[-1]
    subprocess.run(
        ["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
         "-subj", "/CN=%s" % common, "-addext", "subjectAltName=%s" % name,
         "-keyout", key, "-out", cert],
        check=True, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL)
    return cert, key


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--port-file")
    parser.add_argument("--tls-dir")
    parser.add_argument("--tls-name", default="IP:127.0.0.1")
    args = parser.parse_args()

    server = Server(("127.0.0.1", args.port), Handler)
    if args.tls_dir:
        cert, key = make_certificate(args.tls_dir, args.tls_name)
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(cert, key)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    port = server.server_address[1]
    if args.port_file:
        temporary = args.port_file + ".tmp"
        with open(temporary, "w") as handle:
            handle.write(str(port))
        os.replace(temporary, args.port_file)
    print(port, flush=True)
    try:
        server.serve_forever(poll_interval=0.2)
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
