#!/usr/bin/env python3
"""Copies a prompt-text document, giving its "FAQUrl" the configured help page address.
Every other byte (UTF-8, CRLF line ends) stays as it is. Usage: set_faq_url.py IN OUT URL"""
import re
import sys

source, target, url = sys.argv[1:4]
with open(source, "rb") as f:
    text = f.read()
text, count = re.subn(rb'(?m)^FAQUrl="[^"\r\n]*"', b'FAQUrl="' + url.encode("utf-8") + b'"', text)
if count != 1:
    sys.exit(f"{source}: expected one FAQUrl line, found {count}")
with open(target, "wb") as f:
    f.write(text)
