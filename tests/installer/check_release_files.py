#!/usr/bin/env python3
"""Checks the files a release publishes, as the packaging script makes them
for the built installer: the winget manifests (schema 1.9: the fields each
file type requires, their formats, the installer's digest, a product code
that is the installer's uninstall key) and the update manifest (the fields
the program reads, in the forms it accepts).

    check_release_files.py <source dir> <installer.exe> <version> <scratch dir>

winget does not run here; this reads the files the way its schema does."""
import hashlib
import json
import os
import re
import shutil
import subprocess
import sys

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def parse_yaml(text):
    """The block YAML the manifests use: mappings, lists of scalars and lists
    of mappings, plain or double-quoted scalars. Anything else is refused."""
    root = {}
    stack = [(-1, root)]
    last_key = {}
    for number, raw in enumerate(text.splitlines(), 1):
        if not raw.strip() or raw.lstrip().startswith("#"):
            continue
        indent = len(raw) - len(raw.lstrip(" "))
        if "\t" in raw[:indent]:
            raise ValueError(f"line {number}: tab in indentation")
        line = raw.strip()
        while stack[-1][0] >= indent and len(stack) > 1:
            stack.pop()
        parent = stack[-1][1]
        if line.startswith("- "):
            owner, key = last_key[id(parent)] if isinstance(parent, dict) else (None, None)
            if owner is None:
                raise ValueError(f"line {number}: list item without a key")
            if not isinstance(owner[key], list):
                owner[key] = []
            item = line[2:]
            m = re.fullmatch(r"([A-Za-z0-9]+):\s*(.*)", item)
            if m:
                mapping = {m.group(1): scalar(m.group(2), number)}
                owner[key].append(mapping)
                stack.append((indent + 1, mapping))
            else:
                owner[key].append(scalar(item, number))
            continue
        m = re.fullmatch(r"([A-Za-z0-9]+):(?:\s+(.*))?", line)
        if not m or not isinstance(parent, dict):
            raise ValueError(f"line {number}: not a mapping entry: {line}")
        key, value = m.group(1), m.group(2)
        if key in parent:
            raise ValueError(f"line {number}: {key} given twice")
        if value is None:
            parent[key] = {}
            last_key[id(parent)] = (parent, key)
            stack.append((indent, parent))
            stack.append((indent, parent[key]))
            last_key[id(parent[key])] = (parent, key)
        else:
            parent[key] = scalar(value, number)
    return root


def scalar(text, number):
    if text.startswith('"'):
        try:
            return json.loads(text)
        except json.JSONDecodeError as error:
            raise ValueError(f"line {number}: bad quoted scalar: {error}")
    if text.startswith(("'", "{", "[", "&", "*", "!", "|", ">")):
        raise ValueError(f"line {number}: unexpected scalar form: {text}")
    return text


def nsis_define(source, name):
    with open(os.path.join(source, "packaging", "installer", "Cadrels.nsi"), encoding="utf-8") as f:
        m = re.search(r'^!define ' + name + r' "([^"]*)"', f.read(), re.M)
    return m.group(1) if m else None


def update_service_switches(source):
    with open(os.path.join(source, "src", "online", "UpdateService.h"), encoding="utf-8") as f:
        m = re.search(r'installerParameters\s*=\s*L"([^"]*)"', f.read())
    return m.group(1).split() if m else []


def check_common(manifest, kind, version, name):
    for field in ("PackageIdentifier", "PackageVersion", "ManifestType", "ManifestVersion"):
        check(field in manifest, f"{name}: {field} missing")
    check(re.fullmatch(r"[^.\s\\/:*?\"<>|]{1,32}(\.[^.\s\\/:*?\"<>|]{1,32}){1,7}",
                       str(manifest.get("PackageIdentifier", ""))) is not None,
          f"{name}: PackageIdentifier not in Publisher.Package form")
    check(manifest.get("PackageVersion") == version, f"{name}: PackageVersion is not {version}")
    check(manifest.get("ManifestType") == kind, f"{name}: ManifestType is not {kind}")
    check(manifest.get("ManifestVersion") == "1.9.0", f"{name}: ManifestVersion is not 1.9.0")


def main(argv):
    source, installer, version, scratch = argv[1:5]
    shutil.rmtree(scratch, ignore_errors=True)
    os.makedirs(scratch)
    url = f"https://downloads.example.invalid/cadrels/Cadrels-Setup-{version}.exe"
    update_path = os.path.join(scratch, "update.json")
    subprocess.run([sys.executable, os.path.join(source, "packaging", "release_files.py"),
                    "--installer", installer, "--version", version, "--url", url,
                    "--notes", "Corrections et améliorations.", "--update-manifest", update_path,
                    "--winget-dir", scratch], check=True, stdout=subprocess.DEVNULL)
    with open(installer, "rb") as f:
        digest = hashlib.sha256(f.read()).hexdigest()

    folder = os.path.join(scratch, version)
    files = sorted(os.listdir(folder))
    identifier = "Tarvel.Cadrels"
    expected = sorted([identifier + ".yaml", identifier + ".installer.yaml", identifier + ".locale.fr-FR.yaml"])
    check(files == expected, f"winget files {files}, expected {expected}")
    manifests = {}
    for name in files:
        with open(os.path.join(folder, name), encoding="utf-8") as f:
            text = f.read()
        kind = {".installer.yaml": "installer", ".yaml": "version"}.get(name[len(identifier):], "defaultLocale")
        check(text.startswith("# yaml-language-server: $schema=https://aka.ms/winget-manifest."
                              f"{kind}.1.9.0.schema.json\n"), f"{name}: schema header for {kind} 1.9.0 missing")
        try:
            manifests[kind] = parse_yaml(text)
        except ValueError as error:
            check(False, f"{name}: {error}")
            continue
        check_common(manifests[kind], kind, version, name)

    identifiers = {m.get("PackageIdentifier") for m in manifests.values()}
    check(len(identifiers) == 1, f"PackageIdentifier differs between files: {identifiers}")

    version_file = manifests.get("version", {})
    locale = manifests.get("defaultLocale", {})
    check(version_file.get("DefaultLocale") == locale.get("PackageLocale"),
          "DefaultLocale of the version file is not the locale file's PackageLocale")
    check(re.fullmatch(r"[a-z]{2,3}(-[A-Z][a-z]{3})?-[A-Z]{2}", str(locale.get("PackageLocale", ""))) is not None,
          "PackageLocale is not a BCP 47 tag")
    for field in ("Publisher", "PackageName", "License", "ShortDescription"):
        check(isinstance(locale.get(field), str) and 2 <= len(locale.get(field, "")) <= 256,
              f"defaultLocale: {field} missing or of a bad length")

    inst = manifests.get("installer", {})
    check(inst.get("InstallerType") == "nullsoft", "InstallerType is not nullsoft")
    check(inst.get("Scope") == "user", "Scope is not user")
    uninstall_key = nsis_define(source, "UNINSTALL_KEY") or ""
    check(inst.get("ProductCode") == uninstall_key.rsplit("\\", 1)[-1] and inst.get("ProductCode"),
          f"ProductCode {inst.get('ProductCode')!r} is not the uninstall key's name ({uninstall_key})")
    switches = inst.get("InstallerSwitches", {})
    check(isinstance(switches, dict), "InstallerSwitches is not a mapping")
    if isinstance(switches, dict):
        silent = str(switches.get("Silent", "")).split()
        check("/VERYSILENT" in silent or "/S" in silent, "Silent switches do not install without a window")
        check("/SILENT" in str(switches.get("SilentWithProgress", "")).split(), "SilentWithProgress lacks /SILENT")
        check("<INSTALLPATH>" in str(switches.get("InstallLocation", "")), "InstallLocation lacks <INSTALLPATH>")
        given = silent + str(switches.get("Upgrade", "")).split()
        missing = [s for s in update_service_switches(source) if s not in given]
        check(not missing, f"switches the update service passes are not declared: {missing}")
    installers = inst.get("Installers", [])
    check(isinstance(installers, list) and len(installers) == 1, "Installers is not a list of one")
    if installers and isinstance(installers[0], dict):
        entry = installers[0]
        check(entry.get("Architecture") == "x64", "Architecture is not x64")
        check(entry.get("InstallerUrl") == url, "InstallerUrl is not the address given")
        sha = str(entry.get("InstallerSha256", ""))
        check(re.fullmatch(r"[0-9A-F]{64}", sha) is not None, "InstallerSha256 is not 64 upper-case hex digits")
        check(sha.lower() == digest, "InstallerSha256 is not the installer's digest")

    # The update manifest: JSON the program reads, and what it requires.
    with open(update_path, "rb") as f:
        raw = f.read()
    check(not raw.startswith(b"\xef\xbb\xbf"), "update.json starts with a byte-order mark")
    update = json.loads(raw.decode("utf-8"))
    check(update.get("version") == version, "update.json: version")
    check(update.get("url") == url and url.startswith("https://"), "update.json: url")
    check(re.fullmatch(r"[0-9a-f]{64}", str(update.get("sha256", ""))) is not None and update["sha256"] == digest,
          "update.json: sha256 is not the installer's digest in lower-case hex")
    check(update.get("notes") == "Corrections et améliorations.", "update.json: notes")
    check(update.get("mandatory") is False, "update.json: mandatory")

    # What a bad address must do: refuse, and write nothing.
    refused = subprocess.run([sys.executable, os.path.join(source, "packaging", "release_files.py"),
                              "--installer", installer, "--version", version, "--url", "http://plain/setup.exe",
                              "--update-manifest", os.path.join(scratch, "refused.json"),
                              "--winget-dir", os.path.join(scratch, "refused")], capture_output=True)
    check(refused.returncode != 0 and not os.path.exists(os.path.join(scratch, "refused.json")),
          "an http:// address was accepted")

    for failure in failures:
        print("FAILED:", failure)
    print(f"{len(failures)} failures in the release files for {version}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
