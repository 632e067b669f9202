#!/usr/bin/env python3
"""The test collector must refuse every body that is not encoded exactly as the installer
must encode it; otherwise an encoder fault would pass the upload tests unnoticed."""

import base64
import gzip
import os
import sys
import unittest

sys.dont_write_bytecode = True  # leave no cache beside the tool in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools"))
import collector  # noqa: E402

UNRESERVED = set(b"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-._~")


def encode(batch, hex_digits="%02X"):
    data = base64.b64encode(gzip.compress(batch.encode("utf-8")))
    text = "".join(chr(b) if b in UNRESERVED else "%" + (hex_digits % b) for b in data)
    return ("data_list=" + text + "&gzip=1").encode("ascii")


class DecodeTest(unittest.TestCase):
    BATCH = '[{"n":1},{"k":"\u4e2d/+="}]'

    def test_well_formed_body(self):
        batch, records = collector.decode_body(encode(self.BATCH))
        self.assertEqual(batch, self.BATCH)
        self.assertEqual(records, [{"n": 1}, {"k": "\u4e2d/+="}])

    def test_refused_bodies(self):
        good = encode(self.BATCH).decode("ascii")
        cases = {
            "lower-case hex": encode(self.BATCH, "%02x").decode() if "%" in good else None,
            "escaped unreserved byte": good.replace("data_list=", "data_list=%41", 1),
            "unescaped plus": good.replace("data_list=", "data_list=+", 1),
            "missing gzip flag": good[: -len("&gzip=1")],
            "not gzip": "data_list=" + base64.b64encode(b"[]").decode() + "&gzip=1",
            "not an array": encode('{"n":1}').decode(),
            "not JSON": encode("[{n:1}]").decode(),
            "bad escape": "data_list=%G1&gzip=1",
        }
        for label, body in cases.items():
            if body is None:
                continue
            with self.subTest(label):
                with self.assertRaises(collector.DecodeError):
                    collector.decode_body(body.encode("ascii"))


if __name__ == "__main__":
    unittest.main()
