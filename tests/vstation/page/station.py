"""A vstation process with its control page, and the tools that drive it.

VSTATION and STATIONCTL name the programs; the station listens on free
loopback ports and keeps its state in a folder of the test's own.
"""
import base64
import json
import os
import re
import signal
import subprocess
import urllib.error
import urllib.request

PASSWORD = "Station#2026"


class Station:
    def __init__(self, data_dir, extra=()):
        self.data_dir = str(data_dir)
        env = dict(os.environ, VSTATION_PACING="0")
        self.process = subprocess.Popen(
            [os.environ["VSTATION"], "--listen", "127.0.0.1:0", "--http", "127.0.0.1:0",
             "--data", self.data_dir, *extra],
            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, env=env)
        self.link = self.page = None
        for line in self.process.stdout:
            found = re.search(r"reached at (\S+)", line)
            if found:
                self.link = found.group(1)
            found = re.search(r"control page at (http://\S+)/", line)
            if found:
                self.page = found.group(1)
                break
        if not (self.link and self.page):
            self.process.kill()
            raise RuntimeError("vstation did not start: " + self.process.stderr.read())

    def stop(self):
        """A clean stop (SIGTERM); returns the exit status."""
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(timeout=20)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
                raise
        return self.process.returncode

    def api(self, method, path, body=None):
        """(status, decoded JSON answer)."""
        data = None if body is None else json.dumps(body).encode()
        request = urllib.request.Request(self.page + path, data=data, method=method,
                                         headers={"Content-Type": "application/json"})
        try:
            with urllib.request.urlopen(request, timeout=30) as response:
                return response.status, json.loads(response.read())
        except urllib.error.HTTPError as error:
            return error.code, json.loads(error.read())

    def ok(self, method, path, body=None):
        status, answer = self.api(method, path, body)
        assert 200 <= status < 300, (status, answer)
        return answer

    def raw(self, path):
        with urllib.request.urlopen(self.page + path, timeout=30) as response:
            return response.headers.get_content_type(), response.read()

    def stationctl(self, *args, timeout=60):
        """Starts `stationctl --station LINK --json ARGS`; returns the process."""
        env = dict(os.environ, STATIONCTL_PASSWORD=PASSWORD, KESTRO_LOG="off")
        return subprocess.Popen([os.environ["STATIONCTL"], "--station", self.link, "--json", *args],
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, env=env)

    def run(self, *args, timeout=60):
        """Runs stationctl to its end: (exit code, its JSON documents, stderr)."""
        tool = self.stationctl(*args)
        out, err = tool.communicate(timeout=timeout)
        documents = [json.loads(line) for line in out.splitlines() if line.startswith("{")]
        return tool.returncode, documents, err


def png(width=4, height=5):
    """A small real PNG picture."""
    import struct
    import zlib

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    rows = b"".join(b"\0" + bytes([200, 120, 40]) * width for _ in range(height))
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows)) +
            chunk(b"IEND", b""))


def b64(data):
    return base64.b64encode(data).decode()
