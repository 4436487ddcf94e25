#!/usr/bin/env python3
"""Checks that every repository path the design document and the READMEs name exists.

    scripts/check-doc-paths.py [ROOT]

Reads docs/architecture.md and every README.md outside build/ and third_party/, and collects the
paths they name: link targets, backticked text that looks like a path, words in prose that start with
a top-level folder ("Tests/Fuzz"), and the folder tree of the design document's layout section. Each
must exist, relative to the repository's root or to the document's own folder; a bare file name
("HostServices.hpp") must exist somewhere in the repository. A "*" or "..." in a path stands for any
text. Prints each missing path with the document and line that names it; exit code 1 if there is one.
"""
import fnmatch
import os
import re
import sys

# What a build, a run or the release makes, never kept in the repository: folders (their contents
# too), and names the documents give without a folder.
GENERATED = ("build/", "demo/", "HostSimHome/", "dist/")
GENERATED_NAMES = {"bin/", "symbols/", "ProjectVersion.h"}
# Words that stand for a value the reader chooses (DIR/Registry, VELDEngineerConnection-VERSION.msi).
PLACEHOLDERS = {"DIR", "FILE", "NAME", "OUT", "PATH", "TARGET", "PRESET", "DATA", "MODULE", "PACKAGE",
                "KIND", "VERSION"}
# Extensions of the files the repository keeps; a backticked name with another extension (a workbook,
# a module, a log) names something a program makes.
KEPT_EXTENSIONS = {
    "c", "cpp", "h", "hpp", "py", "sh", "cmake", "json", "md", "txt", "wxs", "rc", "map", "script",
    "png", "svg", "ico", "in", "def", "xsd", "rtf",
}
ELLIPSIS = "\u2026"


def repository_files(root):
    """Every file and folder under root, as paths relative to it with "/" separators."""
    files, folders = set(), set()
    for folder, subfolders, names in os.walk(root):
        relative = os.path.relpath(folder, root).replace(os.sep, "/")
        if relative == ".":
            relative = ""
        subfolders[:] = [s for s in subfolders if not (relative == "" and s in ("build", ".git"))]
        for sub in subfolders:
            folders.add(relative + sub if relative == "" else relative + "/" + sub)
        for name in names:
            files.add(name if relative == "" else relative + "/" + name)
    return files, folders


def documents(root):
    found = [os.path.join(root, "docs", "architecture.md")]
    for folder, subfolders, names in os.walk(root):
        relative = os.path.relpath(folder, root)
        if relative == ".":
            subfolders[:] = [s for s in subfolders if s not in ("build", "third_party", ".git", "demo")]
        if "README.md" in names:
            found.append(os.path.join(folder, "README.md"))
    return sorted(set(found))


def looks_like_path(text, top_folders):
    if not text or any(c in text for c in " <>$=\\|'\"%{}@,;") or "://" in text or text.startswith("-"):
        return False
    if text.startswith("./"):
        text = text[2:]
    if text.startswith(GENERATED) or text in GENERATED_NAMES or text.startswith(("#", "/", "~")):
        return False
    if PLACEHOLDERS.intersection(re.split(r"[^A-Za-z]+", text)):
        return False
    first = text.split("/")[0]
    if "/" in text:
        return first in top_folders or first.startswith(".") or "." in text.split("/")[-1] or text.endswith("/")
    name, dot, extension = text.rpartition(".")
    return bool(dot) and bool(name) and extension in KEPT_EXTENSIONS and not name.isupper()


def exists(path, document_folder, files, folders, basenames):
    path = path.rstrip("/").replace(ELLIPSIS, "*").replace("...", "*")
    path = re.sub(r"\*+", "*", path).rstrip("/")
    if path.endswith("/*"):
        path = path[:-2]
    candidates = [path]
    if document_folder:
        candidates.append(os.path.normpath(document_folder + "/" + path).replace(os.sep, "/"))
    for candidate in candidates:
        if "*" in candidate:
            if fnmatch.filter(files, candidate) or fnmatch.filter(folders, candidate):
                return True
        elif candidate in files or candidate in folders:
            return True
    if "/" not in path:
        # A bare name: a file or folder of that name anywhere, or a program named for its source.
        return bool(fnmatch.filter(basenames, path) or fnmatch.filter(basenames, path + ".*"))
    # A program named for its source file (Bench/ModuleFloorProbe).
    return any(fnmatch.filter(files, candidate + ".*") for candidate in candidates)


def layout_paths(lines, top_folders):
    """The paths of the folder tree in the design document's layout section: (line number, path)."""
    found = []
    in_layout = in_block = False
    stack = []  # (indent, folder path)
    for number, line in enumerate(lines, 1):
        if line.startswith("## "):
            in_layout = line.strip().endswith("Layout")
        if not in_layout:
            continue
        if line.startswith("```"):
            in_block = not in_block
            stack = []
            continue
        if not in_block:
            continue
        indent = len(line) - len(line.lstrip(" "))
        tokens = []
        for token in line.split():
            if not (token.endswith("/") or "." in token or "*" in token) or token.endswith((".", ",", ":")):
                break
            tokens.append(token)
        if not tokens:
            continue
        while stack and stack[-1][0] >= indent:
            stack.pop()
        parent = stack[-1][1] if stack else ""
        for token in tokens:
            found.append((number, parent + token))
        if len(tokens) == 1 and tokens[0].endswith("/"):
            stack.append((indent, parent + tokens[0]))
    return found


def named_paths(text, top_folders):
    """(line number, path) for each path a document names outside the layout tree."""
    found = []
    prose = re.compile(r"(?<![\w./-])((?:%s)/[\w./*\u2026-]*)" % "|".join(map(re.escape, sorted(top_folders))))
    for number, line in enumerate(text.splitlines(), 1):
        for target in re.findall(r"\]\(([^)\s#]+)(?:#[^)]*)?\)", line):
            if "://" not in target and not target.startswith("mailto:"):
                found.append((number, target.removeprefix("./")))
        for span in re.findall(r"`([^`]+)`", line):
            span = span.strip().removeprefix("./")
            if looks_like_path(span, top_folders):
                found.append((number, span))
        unquoted = re.sub(r"`[^`]*`", " ", line)
        unquoted = re.sub(r"\]\([^)]*\)", " ", unquoted)
        for word in prose.findall(unquoted):
            word = word.rstrip(".,:;")
            if word:
                found.append((number, word))
    return found


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
    files, folders = repository_files(root)
    basenames = {path.rsplit("/", 1)[-1] for path in files | folders}
    top_folders = {path for path in folders if "/" not in path and not path.startswith(".")}
    missing = []
    checked = 0
    for document in documents(root):
        relative = os.path.relpath(document, root).replace(os.sep, "/")
        folder = os.path.dirname(relative)
        with open(document, encoding="utf-8") as handle:
            text = handle.read()
        named = named_paths(text, top_folders)
        if relative == "docs/architecture.md":
            named += layout_paths(text.splitlines(), top_folders)
        for number, path in named:
            checked += 1
            if not exists(path, folder, files, folders, basenames):
                missing.append(f"{relative}:{number}: {path}")
    for line in sorted(set(missing)):
        print(f"missing: {line}")
    print(f"check-doc-paths: {checked} paths named, {len(set(missing))} missing")
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
