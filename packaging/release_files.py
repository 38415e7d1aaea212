#!/usr/bin/env python3
"""Writes what a release publishes beside its installer.

    packaging/release_files.py --installer <Cadrels-Setup-X.Y.Z.exe> --version X.Y.Z
        --url https://<host>/<path>/Cadrels-Setup-X.Y.Z.exe [--notes TEXT]
        --update-manifest <update.json> --winget-dir <folder>

The update manifest is the JSON the update service publishes at GET /update,
ready for scripts/sign-manifest.py (sign it as written: the bytes are the
signed message). The winget manifests (schema 1.9: version, installer and
default-locale files) are written to <folder>/<version>/.
"""
import argparse
import hashlib
import json
import os
import re
import sys

PACKAGE_IDENTIFIER = "Tarvel.Cadrels"
PUBLISHER = "Tarvel"
# The uninstall entry's key name, which package managers match installs by.
PRODUCT_CODE = "Cadrels"
DEFAULT_LOCALE = "fr-FR"
MANIFEST_VERSION = "1.9.0"
SCHEMA = "https://aka.ms/winget-manifest.{kind}.1.9.0.schema.json"
# What the installer reads in its start-up, as package managers pass them.
SWITCHES = {
    "Silent": "/VERYSILENT /SUPPRESSMSGBOXES /NORESTART",
    "SilentWithProgress": "/SILENT /SUPPRESSMSGBOXES /NORESTART",
    "InstallLocation": "/D=<INSTALLPATH>",
    "Upgrade": "/CLOSEAPPLICATIONS /RESTARTAPPLICATIONS",
}


def sha256_of(path):
    digest = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 16), b""):
            digest.update(block)
    return digest.hexdigest()


def quoted(text):
    # YAML double-quoted scalars accept JSON string syntax.
    return json.dumps(text, ensure_ascii=False)


def header(kind):
    return "# yaml-language-server: $schema=" + SCHEMA.format(kind=kind) + "\n\n"


def version_manifest(version):
    return header("version") + (
        f"PackageIdentifier: {PACKAGE_IDENTIFIER}\n"
        f"PackageVersion: {version}\n"
        f"DefaultLocale: {DEFAULT_LOCALE}\n"
        "ManifestType: version\n"
        f"ManifestVersion: {MANIFEST_VERSION}\n")


def installer_manifest(version, url, sha256):
    switches = "".join(f"  {name}: {quoted(value)}\n" for name, value in SWITCHES.items())
    return header("installer") + (
        f"PackageIdentifier: {PACKAGE_IDENTIFIER}\n"
        f"PackageVersion: {version}\n"
        "InstallerType: nullsoft\n"
        "Scope: user\n"
        "InstallModes:\n"
        "  - interactive\n"
        "  - silent\n"
        "  - silentWithProgress\n"
        "InstallerSwitches:\n" + switches +
        "UpgradeBehavior: install\n"
        f"ProductCode: {quoted(PRODUCT_CODE)}\n"
        "MinimumOSVersion: 10.0.17763.0\n"
        "Installers:\n"
        "  - Architecture: x64\n"
        f"    InstallerUrl: {quoted(url)}\n"
        f"    InstallerSha256: {sha256.upper()}\n"
        "ManifestType: installer\n"
        f"ManifestVersion: {MANIFEST_VERSION}\n")


def locale_manifest(version):
    return header("defaultLocale") + (
        f"PackageIdentifier: {PACKAGE_IDENTIFIER}\n"
        f"PackageVersion: {version}\n"
        f"PackageLocale: {DEFAULT_LOCALE}\n"
        f"Publisher: {PUBLISHER}\n"
        "PackageName: Cadrels\n"
        "License: Proprietary\n"
        f"Copyright: {quoted('Copyright (C) 2026 ' + PUBLISHER)}\n"
        f"ShortDescription: {quoted('Des cadrels translucides qui rangent le bureau, un dossier par onglet.')}\n"
        "Moniker: cadrels\n"
        "Tags:\n"
        "  - bureau\n"
        "  - desktop\n"
        "ManifestType: defaultLocale\n"
        f"ManifestVersion: {MANIFEST_VERSION}\n")


def update_manifest(version, url, sha256, notes):
    manifest = {"version": version, "url": url, "sha256": sha256, "notes": notes, "mandatory": False}
    return json.dumps(manifest, ensure_ascii=False, indent=2) + "\n"


def write(path, text):
    os.makedirs(os.path.dirname(path) or ".", exist_ok=True)
    with open(path + ".tmp", "w", encoding="utf-8", newline="\n") as f:
        f.write(text)
    os.replace(path + ".tmp", path)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--installer", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--url", required=True)
    parser.add_argument("--notes", default="")
    parser.add_argument("--update-manifest", required=True)
    parser.add_argument("--winget-dir", required=True)
    args = parser.parse_args(argv[1:])
    if not re.fullmatch(r"\d+\.\d+\.\d+", args.version):
        parser.error("the version is three numbers: " + args.version)
    # The program installs only from https addresses.
    if not args.url.lower().startswith("https://"):
        parser.error("the download address must start with https://")
    sha256 = sha256_of(args.installer)
    write(args.update_manifest, update_manifest(args.version, args.url, sha256, args.notes))
    folder = os.path.join(args.winget_dir, args.version)
    write(os.path.join(folder, PACKAGE_IDENTIFIER + ".yaml"), version_manifest(args.version))
    write(os.path.join(folder, PACKAGE_IDENTIFIER + ".installer.yaml"),
          installer_manifest(args.version, args.url, sha256))
    write(os.path.join(folder, PACKAGE_IDENTIFIER + ".locale." + DEFAULT_LOCALE + ".yaml"),
          locale_manifest(args.version))
    print(f"{args.installer}: sha256 {sha256}")
    print(f"wrote {args.update_manifest} and {folder}/")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
