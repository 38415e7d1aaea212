#!/usr/bin/env python3
"""Makes the release signing key of Cadrels, once, on the publisher's machine.

    scripts/make-release-key.py <private-key-out.pem> [--source <ManifestSignature.cpp>]

Generates a new ECDSA P-256 key pair with openssl, writes the private key to
the path given (readable by its owner only; refused inside the repository
and when the file exists) and, in the same step, puts the public point into
ReleasePublicKey() in src/online/ManifestSignature.cpp. Builds made from that
source then accept only manifests signed with this key
(scripts/sign-manifest.py <private-key-out.pem> update.json update.sig).
Keep the private key on the machine that will sign releases, and a backup of
it offline: without it no later update can be signed for those builds.
"""
import os
import re
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEFAULT_SOURCE = os.path.join(ROOT, "src", "online", "ManifestSignature.cpp")
KEY_BLOCK = re.compile(r"(static const EcdsaP256PublicKey key\{\{\n)(.*?)(\n\s*\}\};)", re.S)


def inside(path, folder):
    path, folder = os.path.realpath(path), os.path.realpath(folder)
    return os.path.commonpath([path, folder]) == folder


def public_point(key_path):
    der = subprocess.run(["openssl", "ec", "-in", key_path, "-pubout", "-outform", "DER"],
                         check=True, capture_output=True).stdout
    # SubjectPublicKeyInfo ends with the uncompressed point 04 || X || Y.
    if len(der) < 65 or der[-65] != 0x04:
        raise ValueError("not an uncompressed P-256 point")
    return der[-64:]


def key_lines(point, indent):
    return "\n".join(indent + " ".join(f"0x{b:02x}," for b in point[row:row + 16]) for row in range(0, 64, 16))


def write_source(source, point):
    with open(source, encoding="utf-8") as f:
        text = f.read()
    match = KEY_BLOCK.search(text)
    if not match:
        raise ValueError(f"no ReleasePublicKey() key block in {source}")
    indent = re.match(r"\s*", match.group(2)).group(0)
    updated = text[:match.start(2)] + key_lines(point, indent) + text[match.end(2):]
    folder = os.path.dirname(os.path.abspath(source))
    with tempfile.NamedTemporaryFile("w", encoding="utf-8", dir=folder, delete=False, newline="") as f:
        f.write(updated)
    os.replace(f.name, source)


def main(argv):
    args = argv[1:]
    source = DEFAULT_SOURCE
    if "--source" in args:
        at = args.index("--source")
        source = args[at + 1]
        del args[at:at + 2]
    if len(args) != 1:
        sys.stderr.write(__doc__)
        return 2
    key_path = os.path.abspath(args[0])
    if inside(key_path, ROOT):
        sys.stderr.write(f"refused: {key_path} is inside the repository; the private key never enters it\n")
        return 1
    if os.path.exists(key_path):
        sys.stderr.write(f"refused: {key_path} exists; a release key is made once\n")
        return 1
    os.makedirs(os.path.dirname(key_path), exist_ok=True)
    old_umask = os.umask(0o077)
    try:
        subprocess.run(["openssl", "ecparam", "-name", "prime256v1", "-genkey", "-noout", "-out", key_path],
                       check=True, capture_output=True)
    finally:
        os.umask(old_umask)
    try:
        point = public_point(key_path)
        write_source(source, point)
    except (subprocess.CalledProcessError, ValueError, OSError) as error:
        sys.stderr.write(f"the key is at {key_path} but the source was not changed: {error}\n")
        return 1
    print(f"private key: {key_path} (keep it here, back it up offline, never commit it)")
    print(f"public point written into {source}:")
    print(key_lines(point, "  "))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
