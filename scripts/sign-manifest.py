#!/usr/bin/env python3
"""Signs an update manifest for Cadrels.

    scripts/sign-manifest.py <private-key.pem> <manifest.json> [<signature-out>]

Writes the signature that Cadrels expects at GET /update.sig: ECDSA over
P-256 with SHA-256, computed over the exact bytes of the manifest file, as
the 64 bytes r || s (32 bytes each, big-endian) in standard base64 followed
by a line feed. The output goes to <manifest.json>.sig unless named.

The key is a P-256 private key in PEM form (openssl ecparam -name prime256v1
-genkey -noout -out key.pem). Signing runs openssl; the manifest file must
be published byte for byte as signed.
"""
import base64
import os
import subprocess
import sys


def read_der_integer(data, offset):
    if data[offset] != 0x02:
        raise ValueError("INTEGER expected in the DER signature")
    length = data[offset + 1]
    start = offset + 2
    value = data[start:start + length]
    return int.from_bytes(value, "big"), start + length


def der_to_raw(der):
    """openssl writes SEQUENCE { INTEGER r, INTEGER s }; Windows wants r || s."""
    if len(der) < 8 or der[0] != 0x30:
        raise ValueError("DER SEQUENCE expected from openssl")
    offset = 2
    if der[1] & 0x80:
        offset = 2 + (der[1] & 0x7F)
    r, offset = read_der_integer(der, offset)
    s, _ = read_der_integer(der, offset)
    return r.to_bytes(32, "big") + s.to_bytes(32, "big")


def check_key(key_path):
    text = subprocess.run(["openssl", "ec", "-in", key_path, "-noout", "-text"],
                          check=True, capture_output=True, text=True).stdout
    if "prime256v1" not in text and "P-256" not in text:
        raise ValueError("the key is not a P-256 key")


def main(argv):
    if len(argv) not in (3, 4):
        sys.stderr.write(__doc__)
        return 2
    key_path, manifest_path = argv[1], argv[2]
    out_path = argv[3] if len(argv) == 4 else manifest_path + ".sig"
    try:
        check_key(key_path)
        der = subprocess.run(["openssl", "dgst", "-sha256", "-sign", key_path, manifest_path],
                             check=True, capture_output=True).stdout
        raw = der_to_raw(der)
    except (subprocess.CalledProcessError, ValueError, OSError) as error:
        sys.stderr.write(f"sign-manifest: {error}\n")
        return 1
    temporary = out_path + ".tmp"
    with open(temporary, "wb") as out:
        out.write(base64.b64encode(raw) + b"\n")
    os.replace(temporary, out_path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
