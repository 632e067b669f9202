#!/usr/bin/env python3
"""Copies a layout document, giving every link's "url" the configured agreement page address
(a deployment value). Every other byte stays as it is. Usage: set_agreement_url.py IN OUT URL"""
import sys
from xml.sax.saxutils import quoteattr
import re

source, target, url = sys.argv[1:4]
with open(source, "rb") as f:
    text = f.read()
# Only the agreement links carry a url attribute in our documents.
text = re.sub(rb'(<link\b[^>]*?\surl=)"[^"]*"', lambda m: m.group(1) + quoteattr(url).encode("utf-8"), text)
with open(target, "wb") as f:
    f.write(text)
