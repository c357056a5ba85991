#!/usr/bin/env bash
# Checks the shippable 32-bit plug-in without running it (these machines run no 32-bit programs):
# its file format, its one export, the DLLs it needs, and the resources a host reads from it.
#
#   .ci/check-win32.sh [WIN32_BUILD_DIR] [TESSELWRIGHT]
#
# WIN32_BUILD_DIR defaults to build/win32; TESSELWRIGHT is a Linux-built tesselwright (default
# build/linux/bin/tesselwright). Exits non-zero with a message at the first failed check.
set -euo pipefail

build_dir=${1:-build/win32}
tesselwright=${2:-build/linux/bin/tesselwright}
plugin="$build_dir/bin/Vrom_Tesselwright.aip"

fail() {
    echo "check-win32: FAILED: $*" >&2
    exit 1
}
ok() {
    echo "check-win32: ok: $*"
}

[[ -f "$plugin" ]] || fail "$plugin does not exist (build it with: cmake --preset win32 && cmake --build --preset win32)"
[[ -x "$tesselwright" ]] || fail "$tesselwright is not an executable tesselwright (build the linux preset first)"

objdump=$(command -v i686-w64-mingw32-objdump || true)
[[ -n "$objdump" ]] || fail "i686-w64-mingw32-objdump is not installed (package binutils-mingw-w64-i686)"

# Format: a 32-bit PE DLL for i386.
if command -v file >/dev/null; then
    description=$(file -b "$plugin")
    [[ "$description" == PE32\ executable*\(DLL\)* ]] || fail "$plugin is not a PE32 DLL: $description"
    [[ "$description" == *"Intel 80386"* ]] || fail "$plugin is not built for i386: $description"
fi
headers=$("$objdump" -p "$plugin") || fail "objdump cannot read $plugin"
grep -q "file format pei-i386" <<<"$headers" || fail "$plugin is not in the pei-i386 format"
grep -Eq "^Magic[[:space:]]+010b" <<<"$headers" || fail "$plugin has no PE32 optional header (magic 010b)"
grep -Eq "^Characteristics.*DLL|^[[:space:]]+DLL$" <<<"$headers" || fail "$plugin is not marked as a DLL"
ok "$plugin is a PE32 i386 DLL"

# Exports: PluginMain, undecorated.
exports=$(awk '/\[Ordinal\/Name Pointer\] Table/ {table = 1; next} table && /^\t\[/ {print $NF} table && /^$/ {table = 0}' <<<"$headers")
grep -qx "PluginMain" <<<"$exports" || fail "$plugin does not export PluginMain (exports: ${exports:-none})"
[[ "$exports" == "PluginMain" ]] || fail "$plugin exports more than PluginMain: $(tr '\n' ' ' <<<"$exports")"
ok "exports PluginMain and nothing else"

# Imports: Windows system DLLs only; no runtime DLLs of the compiler.
imports=$(awk '/DLL Name:/ {print $3}' <<<"$headers")
[[ -n "$imports" ]] || fail "$plugin imports no DLL at all, which a Windows DLL always does"
while read -r dll; do
    lower=${dll,,}
    case "$lower" in
        kernel32.dll | user32.dll | gdi32.dll | advapi32.dll | msvcrt.dll | ntdll.dll | shell32.dll | ole32.dll | \
            oleaut32.dll | comctl32.dll | comdlg32.dll | shlwapi.dll | version.dll | ws2_32.dll | bcrypt.dll | \
            ucrtbase.dll | api-ms-win-*.dll) ;;
        *) fail "$plugin needs $dll, which is not a Windows system DLL (link the runtime statically)" ;;
    esac
done <<<"$imports"
ok "imports only Windows system DLLs: $(tr '\n' ' ' <<<"$imports")"

# Resources, as a host reads them.
report=$(mktemp)
trap 'rm -f "$report"' EXIT
"$tesselwright" inspect --json "$plugin" >"$report" || fail "tesselwright inspect cannot read $plugin"
python3 - "$report" <<'PYTHON' || exit 1
import json
import sys

with open(sys.argv[1]) as f:
    report = json.load(f)


def fail(message):
    print("check-win32: FAILED: " + message, file=sys.stderr)
    sys.exit(1)


def ok(message):
    print("check-win32: ok: " + message)


plist = report.get("propertyList")
if not plist:
    fail("the plug-in has no property list (PIPL 16000)")
values = {(p["vendor"], p["key"]): p["value"] for p in plist["properties"]}
if plist.get("entryPoint") != "PluginMain" or values.get(("ADBE", "wx86")) != "PluginMain":
    fail("the property list does not name PluginMain as the entry point: %r" % plist)
if values.get(("ADBE", "kind")) != "SPEA" or values.get(("ADBE", "ivrs")) != 2:
    fail("the property list's kind or interface version is wrong: %r" % values)
ok("property list version %d: kind SPEA, ivrs 2, entry point PluginMain" % plist["version"])

lists = {l["id"]: {e["index"]: e["text"] for e in l["entries"]} for l in report["stringLists"]}
for list_id, index, text in [(16000, 1, "Yrk <Create>"), (16000, 2, "Tesselwright..."), (16050, 2,
        "The filter cannot complete because there isn't enough memory (RAM) available.")]:
    if lists.get(list_id, {}).get(index) != text:
        fail("string list %d entry %d is not %r" % (list_id, index, text))
ok("string lists 16000 (%d entries) and 16050 (%d entries)" % (len(lists.get(16000, {})), len(lists.get(16050, {}))))

dialogs = {d["id"]: d for d in report["dialogs"]}
for dialog_id in (16050, 16051, 16100):
    if dialog_id not in dialogs:
        fail("dialog %d is missing" % dialog_id)
ok("dialogs: " + ", ".join("%d %r (%d items)" % (i, d["title"], len(d["items"])) for i, d in sorted(dialogs.items())))

present = {(r["type"], r.get("id")) for r in report["resources"]}
types = {t for t, _ in present}
if ("GROUP_ICON", 16051) not in present or "ICON" not in types:
    fail("the icon group 16051 or its icons are missing")
if "GROUP_CURSOR" not in types or "CURSOR" not in types:
    fail("there is no cursor")
if "VERSION" not in types:
    fail("there is no version resource")
version = report.get("version", {})
ok("icon group 16051, a cursor, and version %s (%s)" % (version.get("fileVersion", "?"),
                                                         version.get("strings", {}).get("OriginalFilename", "?")))
PYTHON
echo "check-win32: all checks passed for $plugin"
