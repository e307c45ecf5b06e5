#!/usr/bin/env python3
"""Holds the layer rules of ARCHITECTURE.md; run by the test command.

1. A plain library includes no widget header (Qt Widgets or Print Support).
2. Only the command library (Host/protocol) frames an exchange or calls the
   comms object: nowhere else includes "Framing.h", calls the framing
   primitives or reaches through CommsLink().
3. No library links upward: every project target a CMake file links lies in
   the same layer or a lower one, and the programs without windows link no
   window layer.
4. Only the control panel and the composition root know the panel's class.

Prints one line per broken rule and exits 1 when there is any.
"""
import os
import re
import sys

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))

# Folders of plain code, without widgets (files directly in them).
PLAIN_FOLDERS = [
    "Host/settings", "Host/protocol", "Host/download", "Host/parameters",
    "Host/logging", "Host/clockcal", "Host/factory", "fetch", "report",
    "OrvGraph/reader", "OrvGraph/plot", "OrvGraph/indicators",
]

# Project targets by layer, lowest first. A target may link its own layer
# and the layers below.
LAYERS = [
    {"ComlaneInterface", "OrvGraphInterface", "ComlanePortOpenError"},
    {"HushmarkSettings", "OrvGraphReader"},
    {"HushmarkProtocol", "OrvGraphPlot", "OrvGraphIndicators"},
    {"HushmarkDownload", "HushmarkParameters", "HushmarkLogging", "HushmarkClockCal",
     "HushmarkFactory"},
    {"FetchCore", "qn7x-fetch", "ReportCore", "qn7x-report"},
    {"HushmarkWidgets", "OrvGraphWindows"},
    {"HushmarkPanel", "OrvGraph", "Comlane"},
    {"HushmarkParameterWindows", "HushmarkDownloadWindow", "HushmarkClockCalWindows",
     "HushmarkLoggingWindows", "HushmarkFactoryWindows"},
    {"HushmarkApp", "Hushmark"},
]
# The programs without windows, which must not reach Qt Widgets either.
NO_WINDOW_PROGRAMS = LAYERS[4]
PRODUCT_FOLDERS = ["Host", "fetch", "report", "OrvGraph", "Components"]
FRAMING_CALL = re.compile(
    r"\b(SendCommand|SendData|RequestReply|RequestReplyWithEvents)\s*\(|CommsLink\(\)\s*->")


def widget_headers():
    """The class headers of Qt Widgets and Print Support, as installed."""
    names = set()
    for base in ("/usr/include/x86_64-linux-gnu/qt6", "/usr/include/qt6", "/usr/include/aarch64-linux-gnu/qt6"):
        for module in ("QtWidgets", "QtPrintSupport"):
            folder = os.path.join(base, module)
            if os.path.isdir(folder):
                names.update(n for n in os.listdir(folder) if not n.endswith(".h"))
    if not names:
        # Without the list every widget header would pass unseen.
        sys.exit("check-layers: Qt's QtWidgets headers not found; install qt6-base-dev")
    return names | {"QtWidgets", "QtPrintSupport"}


def sources(folder, recurse=True):
    top = os.path.join(ROOT, folder)
    for directory, subfolders, files in os.walk(top):
        if not recurse and directory != top:
            break
        for name in sorted(files):
            if name.endswith((".cpp", ".h")):
                path = os.path.join(directory, name)
                yield os.path.relpath(path, ROOT), open(path, encoding="utf-8").read()


def includes(text, quote):
    pattern = r'^\s*#\s*include\s*' + ('"([^"]+)"' if quote else r"<([^>]+)>")
    return re.findall(pattern, text, re.M)


def check_plain(problems):
    widgets = widget_headers()
    for folder in PLAIN_FOLDERS:
        for path, text in sources(folder, recurse=False):
            for header in includes(text, quote=False):
                if header.split("/")[0] in widgets or header.split("/")[-1] in widgets:
                    problems.append(f"{path}: a plain library includes the widget header <{header}>")


def check_framing(problems):
    for folder in PRODUCT_FOLDERS:
        for path, text in sources(folder):
            if path.startswith("Host/protocol/") or path.startswith("Components/"):
                continue
            if "Framing.h" in includes(text, quote=True):
                problems.append(f'{path}: includes "Framing.h"; only the command library frames exchanges')
            code = re.sub(r"//[^\n]*", "", text)
            for match in FRAMING_CALL.finditer(code):
                problems.append(f"{path}: calls {match.group(0).strip()} outside the command library")


def check_panel_class(problems):
    for folder in PRODUCT_FOLDERS:
        for path, text in sources(folder):
            if path.startswith(("Host/panel/", "Host/app/")):
                continue
            if "frmMain.h" in includes(text, quote=True):
                problems.append(f'{path}: includes "frmMain.h"; windows see the panel as ControlPanel')


def check_links(problems):
    rank = {target: level for level, targets in enumerate(LAYERS) for target in targets}
    link = re.compile(r"target_link_libraries\(\s*([\w-]+)([^)]*)\)", re.S)
    for folder in PRODUCT_FOLDERS:
        for directory, _, files in os.walk(os.path.join(ROOT, folder)):
            if "CMakeLists.txt" not in files:
                continue
            path = os.path.join(directory, "CMakeLists.txt")
            text = re.sub(r"#[^\n]*", "", open(path, encoding="utf-8").read())
            for match in link.finditer(text):
                target, linked = match.group(1), match.group(2).split()
                if target not in rank:
                    problems.append(f"{os.path.relpath(path, ROOT)}: {target} has no layer; give it one in tools/check-layers.py")
                    continue
                for other in linked:
                    if other in ("PUBLIC", "PRIVATE", "INTERFACE") or "::" in other:
                        if other == "Qt6::Widgets" and target in NO_WINDOW_PROGRAMS:
                            problems.append(f"{os.path.relpath(path, ROOT)}: {target} links Qt6::Widgets")
                        continue
                    if other not in rank:
                        continue
                    if rank[other] > rank[target]:
                        problems.append(f"{os.path.relpath(path, ROOT)}: {target} links {other}, a higher layer")


def main():
    problems = []
    check_plain(problems)
    check_framing(problems)
    check_panel_class(problems)
    check_links(problems)
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} broken layer rule(s); see ARCHITECTURE.md")
        return 1
    print("layer rules hold")
    return 0


if __name__ == "__main__":
    sys.exit(main())
