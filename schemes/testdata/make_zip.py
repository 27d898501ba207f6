#!/usr/bin/env python3
"""Writes pack.zip, a small pack made by Python's own zip writer, so that the archive reader is
tested against a writer other than the one in its tests. Run again only to change it."""
import pathlib
import zipfile

HERE = pathlib.Path(__file__).resolve().parent
with zipfile.ZipFile(HERE / "pack.zip", "w") as pack:
    pack.writestr("My Pack/", b"")
    pack.writestr("My Pack/config.json", b'{"name": "My Pack"}' * 20, zipfile.ZIP_DEFLATED)
    pack.writestr("My Pack/caps lock.wav", bytes(range(256)) * 4, zipfile.ZIP_STORED)
    pack.writestr("My Pack/[.wav", b"\x00" * 5000, zipfile.ZIP_DEFLATED)
    pack.comment = b"made for the tests"
