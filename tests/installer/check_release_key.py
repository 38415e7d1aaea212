#!/usr/bin/env python3
"""Checks scripts/make-release-key.py on a copy of the signature source: the
point it writes is the public half of the private key it wrote, nothing else
in the file changes, a manifest signed with that key by
scripts/sign-manifest.py verifies against the written point, and it refuses
a key path inside the repository or over an existing file.

    check_release_key.py <source dir>

It works in a temporary folder outside the repository (the script refuses
key paths inside it, build folders included)."""
import os
import re
import shutil
import subprocess
import sys
import tempfile

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def key_block_bytes(text):
    m = re.search(r"static const EcdsaP256PublicKey key\{\{\n(.*?)\n\s*\}\};", text, re.S)
    return bytes(int(v, 16) for v in re.findall(r"0x([0-9a-fA-F]{2})", m.group(1))) if m else b""


def without_key_block(text):
    return re.sub(r"(static const EcdsaP256PublicKey key\{\{\n).*?(\n\s*\}\};)", r"\1\2", text, flags=re.S)


def main(argv):
    source = argv[1]
    with tempfile.TemporaryDirectory(prefix="cadrels-release-key-") as scratch:
        return run(source, scratch)


def run(source, scratch):
    script = os.path.join(source, "scripts", "make-release-key.py")
    original_path = os.path.join(source, "src", "online", "ManifestSignature.cpp")
    copy = os.path.join(scratch, "ManifestSignature.cpp")
    shutil.copyfile(original_path, copy)
    with open(original_path, encoding="utf-8") as f:
        original = f.read()
    key = os.path.join(scratch, "keys", "release.pem")

    made = subprocess.run([sys.executable, script, key, "--source", copy], capture_output=True, text=True)
    check(made.returncode == 0, f"the script failed: {made.stderr}")
    check(os.path.exists(key) and (os.stat(key).st_mode & 0o077) == 0, "the private key is missing or readable by others")
    with open(copy, encoding="utf-8") as f:
        changed = f.read()
    point = key_block_bytes(changed)
    check(len(point) == 64, f"the written point has {len(point)} bytes")
    check(point != key_block_bytes(original), "the point was not replaced")
    check(without_key_block(changed) == without_key_block(original), "something besides the key changed")
    der = subprocess.run(["openssl", "ec", "-in", key, "-pubout", "-outform", "DER"], capture_output=True).stdout
    check(der[-64:] == point, "the written point is not the key's public half")

    # Signed as a release is signed, verified against the written point alone.
    manifest = os.path.join(scratch, "update.json")
    with open(manifest, "wb") as f:
        f.write(b'{"version":"9.9.9"}')
    signature = os.path.join(scratch, "update.sig")
    signed = subprocess.run([sys.executable, os.path.join(source, "scripts", "sign-manifest.py"), key, manifest,
                             signature], capture_output=True, text=True)
    check(signed.returncode == 0, f"sign-manifest.py failed: {signed.stderr}")
    if signed.returncode == 0 and len(point) == 64:
        import base64
        raw = base64.b64decode(open(signature, "rb").read())
        r, s = int.from_bytes(raw[:32], "big"), int.from_bytes(raw[32:], "big")

        def der_int(v):
            b = v.to_bytes(33, "big").lstrip(b"\0")
            b = b if b[0] < 0x80 else b"\0" + b
            return b"\x02" + bytes([len(b)]) + b

        body = der_int(r) + der_int(s)
        with open(os.path.join(scratch, "sig.der"), "wb") as f:
            f.write(b"\x30" + bytes([len(body)]) + body)
        # The SubjectPublicKeyInfo of a P-256 point: a fixed prefix, then 04 || X || Y.
        spki = bytes.fromhex("3059301306072a8648ce3d020106082a8648ce3d030107034200") + b"\x04" + point
        with open(os.path.join(scratch, "point.der"), "wb") as f:
            f.write(spki)
        verified = subprocess.run(["openssl", "dgst", "-sha256", "-verify", os.path.join(scratch, "point.der"),
                                   "-keyform", "DER", "-signature", os.path.join(scratch, "sig.der"), manifest],
                                  capture_output=True, text=True)
        check(verified.returncode == 0, f"the signature does not verify against the point: {verified.stdout}")

    again = subprocess.run([sys.executable, script, key, "--source", copy], capture_output=True, text=True)
    check(again.returncode != 0, "an existing key file was overwritten")
    inside = os.path.join(source, "release-key-check.pem")
    refused = subprocess.run([sys.executable, script, inside, "--source", copy], capture_output=True, text=True)
    check(refused.returncode != 0 and not os.path.exists(inside), "a key path inside the repository was accepted")
    if os.path.exists(inside):
        os.remove(inside)

    for failure in failures:
        print("FAILED:", failure)
    print(f"{len(failures)} failures in the release key script")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
